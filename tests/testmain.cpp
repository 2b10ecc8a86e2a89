#include <gtest/gtest.h>
#include <QApplication>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
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
#if defined(__SANITIZE_ADDRESS__)
  // Qt's offscreen platform never frees the screen it sets up here; that
  // leak is Qt's, so the leak checker skips what start-up allocates.
  __lsan_disable();
  QApplication app(argc, argv);
  __lsan_enable();
#else
  QApplication app(argc, argv);
#endif
  return RUN_ALL_TESTS();
}
