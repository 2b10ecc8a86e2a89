#include <QApplication>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// Qt's offscreen platform never frees the screen it sets up when the
// application starts. Qt is built without frame pointers, so only full
// unwinding reaches the frame the suppression names.
extern "C" const char *__asan_default_options()
{
  return "fast_unwind_on_malloc=0";
}
extern "C" const char *__lsan_default_suppressions()
{
  return "leak:QGuiApplicationPrivate::createPlatformIntegration\n";
}
#endif

// Widget tests run headless; set the platform before Qt starts so the
// test programs also run when CTest lists their cases.
int main(int argc, char **argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Death tests re-run the program instead of forking a process that
  // shares the toolkit's state.
  ::testing::GTEST_FLAG(death_test_style) = "threadsafe";
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
