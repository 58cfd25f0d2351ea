// A fixture for tests through the program's real windows: each test starts
// from a fresh runtime, the application object and menu bar exist, message
// boxes are recorded and dismissed, every window is closed after each test,
// and an exception that escaped into the framework fails the test.
//
// Beside it, the steps that such tests share: showing a window until it is
// active, the program's own pictures, and the Qt timer behind a window's
// timer. Menu walks are in Menus.h, window counts in TestWindows.h.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <string>
#include <vector>

#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/qt/TestSupport.h"

class QTimer;

class GuiTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The application object and its menu bar, as start-up makes them; for
  // a test that starts the program again after a reset.
  static void StartApplication();
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

namespace testsupport {

// Shows `window` and waits until it is the active window; false when it
// did not become active.
bool ShowActive(const fw::Ref<fw::Window>& window);

// Pictures are looked up in the source tree's resources, where the
// program's logos are, until the runtime is next reset.
void UseProgramPictures();

// The running Qt timer of `intervalMs` that a timer of `window` started, or
// none: for a test that decides when the timer fires (by starting it anew)
// or reads when it is due.
QTimer* RunningTimerOf(const fw::Ref<fw::Window>& window, int intervalMs);

}  // namespace testsupport
