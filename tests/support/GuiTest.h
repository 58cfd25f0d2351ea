// A fixture for tests through the program's real windows: each test starts
// from a fresh runtime, the application object and menu bar exist, message boxes are recorded and dismissed,
// every window is closed after each test, and an exception that escaped
// into the framework fails the test.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/qt/TestSupport.h"

class GuiTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Message boxes shown since the test began, in order.
  const std::vector<std::string>& Boxes() const { return boxes_; }
  int BeepsSinceStart() const { return fw::test::BeepCount() - beepsAtStart_; }
  // Fails the test if an exception escaped into the framework.
  void ExpectNoPendingException();
  // Lets the event loop run for `ms` milliseconds (timers, paints).
  static void Wait(int ms) { QTest::qWait(ms); }

 private:
  std::vector<std::string> boxes_;
  int beepsAtStart_ = 0;
};
