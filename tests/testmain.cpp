#include <QApplication>
#include <gtest/gtest.h>

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
