// The main of the GUI test programs: a real QApplication on the offscreen
// platform, then every test from a fresh runtime.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/ResetEachTest.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  ResetRuntimeBeforeEachTest();
  return RUN_ALL_TESTS();
}
