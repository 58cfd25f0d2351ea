// The About window through its real widgets: what it looks like when start-up
// opens it, the hand-over to the calculator window on a key or a press, its
// return from the Window menu, and its single-shot timer. The tests of the
// timer firing run on the clock; the others hold the timer, so that only
// their input hands over, however slow the machine.
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "calculator/ControlWnd.h"
#include "framework/Menu.h"
#include "info/AboutWnd.h"
#include "shell/Menu.h"
#include "shell/Startup.h"
#include "tests/support/GuiTest.h"
#include "tests/support/Menus.h"
#include "tests/support/TestWindows.h"

namespace {

using Wrapper = AboutWnd::_wrapper_Timer1;
using fw::test::WidgetOf;
using testsupport::OpenWindow;
using testsupport::OpenWindowsOf;

constexpr int kPeriodMs = 4000;

QWidget* Content(const fw::Ref<fw::Window>& window) { return WidgetOf(window)->centralWidget(); }

int Calculators() { return OpenWindowsOf(ControlWnd::kClassName); }

// Chooses the `nth` About item (0 for the first) of the calculator window's
// Window menu, after the refresh that opening the menu makes.
void ChooseAbout(const fw::Ref<fw::Window>& calc, int nth) {
  ASSERT_TRUE(testsupport::ChooseRefreshed(WidgetOf(calc)->menuBar(), "Window", kAboutCaption, nth))
      << "no enabled About item number " << nth << " in the calculator window's Window menu";
}

// Start-up's default view; the About window it opened.
fw::Ref<class AboutWnd> OpenAtStartup() {
  _MakeDefaultView();
  return OpenWindow<class AboutWnd>();
}

// ---- Without the clock: the About timer is held --------------------------

class AboutTest : public GuiTest {
 protected:
  // Start-up's About window, its timer held (still armed) so that it never
  // fires during the test.
  fw::Ref<class AboutWnd> OpenHeld() {
    auto about = OpenAtStartup();
    QTimer* timer = testsupport::RunningTimerOf(about, kPeriodMs);
    EXPECT_TRUE(timer) << "start-up armed no 4000 ms timer";
    if (timer) timer->start(kHeldMs);
    return about;
  }
  static bool StillHeld(const fw::Ref<fw::Window>& about) {
    return testsupport::RunningTimerOf(about, kHeldMs) != nullptr;
  }

  static constexpr int kHeldMs = 24 * 60 * 60 * 1000;
};

TEST_F(AboutTest, WithoutTheLogoFileTheWindowOpensWithItsLabelsAndAnEmptyLogoArea) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  fw::test::SetResourceDirs({empty.path().toStdString()});

  auto about = OpenHeld();
  ASSERT_TRUE(about);
  EXPECT_TRUE(about->IsShown());
  EXPECT_TRUE(about->Canvas1()->Backdrop().IsNone());
  EXPECT_TRUE(WidgetOf(about->Canvas1())->isVisible());
  auto* heading = qobject_cast<QLabel*>(WidgetOf(about->StaticText1()));
  ASSERT_NE(heading, nullptr);
  EXPECT_TRUE(heading->isVisible());
  EXPECT_EQ(heading->text(), "Quorvel");
  EXPECT_TRUE(WidgetOf(about->StaticText5())->isVisible());
  EXPECT_TRUE(about->Timer1()->IsArmed());
}

// The only window at start-up: a fixed-size dialog with a minimise button
// only, its controls where the user sees them, and its timer armed.
TEST_F(AboutTest, AtStartUpItIsTheOnlyWindowAFixedDialogWithItsControlsAndItsTimer) {
  testsupport::UseProgramPictures();
  auto about = OpenHeld();
  ASSERT_TRUE(about);

  auto windows = fw::RuntimeOpenWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_TRUE(windows[0] == about);
  EXPECT_EQ(Calculators(), 0);
  QMainWindow* frame = WidgetOf(about);
  EXPECT_TRUE(about->IsShown());
  EXPECT_EQ(Content(about)->size(), QSize(300, 200));
  EXPECT_TRUE(frame->windowTitle().isEmpty());

  const Qt::WindowFlags flags = frame->windowFlags();
  EXPECT_EQ(frame->windowType(), Qt::Dialog);
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
  const QSize before = frame->size();
  frame->resize(before + QSize(120, 80));
  QCoreApplication::processEvents();
  EXPECT_EQ(frame->size(), before);
  EXPECT_EQ(Content(about)->size(), QSize(300, 200));

  // Each control where its list places it (the lists' values are checked
  // in test_layout).
  for (const fw::Ref<fw::RectControl>& control :
       {fw::Ref<fw::RectControl>(about->StaticText5()), fw::Ref<fw::RectControl>(about->Canvas1()),
        fw::Ref<fw::RectControl>(about->StaticText1())}) {
    QWidget* w = WidgetOf(control);
    EXPECT_TRUE(w->isVisible()) << control->Name();
    EXPECT_EQ(w->parentWidget(), Content(about)) << control->Name();
    const QRect listed(static_cast<int>(control->Left()), static_cast<int>(control->Top()),
                       static_cast<int>(control->Width()), static_cast<int>(control->Height()));
    EXPECT_EQ(w->geometry(), listed) << control->Name();
  }
  EXPECT_TRUE(about->Canvas1()->Backdrop());
  auto timer = about->Timer1();
  EXPECT_EQ(timer->ClassName(), "AboutWnd._wrapper_Timer1");
  EXPECT_TRUE(timer->IsArmed());
  EXPECT_EQ(timer->RunMode(), fw::kTimerOnce);
  EXPECT_EQ(timer->Period(), kPeriodMs);
}

// Input hands over at once, whatever it is, and leaves the timer armed; the
// Window menu brings back the same window without arming its timer again.
TEST_F(AboutTest, AKeyOrAPressHandsOverAtOnceAndTheMenuBringsTheSameWindowBack) {
  auto about = OpenHeld();
  ASSERT_TRUE(about);

  // A key that types.
  QTest::keyClick(WidgetOf(about), Qt::Key_A);
  EXPECT_FALSE(about->IsShown());
  ASSERT_EQ(Calculators(), 1);
  auto calc = OpenWindow<class ControlWnd>();
  EXPECT_TRUE(calc->IsShown());
  EXPECT_TRUE(about->Timer1()->IsArmed()) << "a key must not stop the timer";

  // Back from the menu: the same window; choosing it again while it is
  // shown changes nothing.
  ChooseAbout(calc, 0);
  ASSERT_TRUE(about->IsShown());
  EXPECT_TRUE(OpenWindow<class AboutWnd>() == about);
  ChooseAbout(calc, 1);
  EXPECT_TRUE(about->IsShown());
  EXPECT_EQ(OpenWindowsOf(AboutWnd::kClassName), 1);

  // A press on the background, and one on a label, which passes through to
  // the window.
  for (QWidget* pressed : {Content(about), WidgetOf(about->StaticText1())}) {
    SCOPED_TRACE(pressed == Content(about) ? "the background" : "a label");
    ChooseAbout(calc, 0);
    ASSERT_TRUE(about->IsShown());
    QTest::mouseClick(pressed, Qt::LeftButton, {}, pressed == Content(about) ? QPoint(150, 160) : QPoint(20, 10));
    EXPECT_FALSE(about->IsShown());
    EXPECT_TRUE(calc->IsShown());
    EXPECT_EQ(Calculators(), 1);
    EXPECT_TRUE(about->Timer1()->IsArmed()) << "a press must not stop the timer";
  }

  // A key that types nothing.
  ChooseAbout(calc, 1);
  ASSERT_TRUE(about->IsShown());
  QTest::keyClick(WidgetOf(about), Qt::Key_F5);
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());

  // Chosen in the About window itself, which has no handler, so the
  // application's runs: shown again, and its timer not armed anew.
  calc->Hide();
  fw::RuntimeChooseMenuItem(AboutMenuItem(), about);
  EXPECT_TRUE(about->IsShown());
  EXPECT_FALSE(calc->IsShown());
  EXPECT_TRUE(StillHeld(about)) << "showing the window again armed its timer anew";
}

// ---- On the clock: the About timer fires -----------------------------------

class AboutTimerTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    clock_.start();  // before any timer is armed
  }

  // Start-up's About window, and when it opened on the clock.
  fw::Ref<class AboutWnd> OpenOnTheClock() {
    auto about = OpenAtStartup();
    opened_ = clock_.elapsed();
    return about;
  }

  // Runs the event loop until `ms` milliseconds have gone by on the clock.
  void WaitUntil(qint64 ms) const {
    const qint64 left = ms - clock_.elapsed();
    if (left > 0) QTest::qWait(static_cast<int>(left));
  }

  // Runs the event loop until `happened` holds and returns the time on the
  // clock when it was seen, or -1 when it did not within 30 s. The time
  // seen is never before the event, so a lower bound on it holds however
  // busy the machine is; the 30 s are there only so that a timer that never
  // fires fails the test.
  template <class F>
  qint64 TimeWhen(F happened) const {
    return QTest::qWaitFor(happened, 30000) ? clock_.elapsed() : -1;
  }

  // Qt's coarse timers may fire up to 5 % early: the About window's 4000 ms
  // timer never before 3800 ms.
  static constexpr qint64 kEarliestHandOver = 3800;

  QElapsedTimer clock_;
  qint64 opened_ = 0;
};

// With no input the timer hands over once; the window shown again from the
// menu after that stays, until a key.
TEST_F(AboutTimerTest, TheTimerHandsOverOnceAndAWindowShownAfterItStaysUntilAKey) {
  auto about = OpenOnTheClock();
  ASSERT_TRUE(about);
  auto timer = about->Timer1();

  // Nothing changes before the timer; then the hand-over, all at once.
  const qint64 changed = TimeWhen([&] { return !about->IsShown() || OpenWindow<class ControlWnd>(); });
  ASSERT_GE(changed, 0) << "the timer never handed over";
  EXPECT_GE(changed, kEarliestHandOver) << "handed over before the 4000 ms timer";
  EXPECT_FALSE(about->IsShown());
  ASSERT_EQ(Calculators(), 1);
  auto calc = OpenWindow<class ControlWnd>();
  EXPECT_TRUE(calc->IsShown());
  EXPECT_FALSE(timer->IsArmed());
  EXPECT_TRUE(OpenWindow<class AboutWnd>() == about) << "hidden is not closed";

  // Shown again from the menu: the same window, the timer not re-armed, and
  // it stays well past another 4000 ms, also past the 8000 ms mark.
  ChooseAbout(calc, 0);
  EXPECT_TRUE(about->IsShown());
  EXPECT_TRUE(OpenWindow<class AboutWnd>() == about);
  EXPECT_FALSE(about->Timer1()->IsArmed());
  const qint64 reshown = clock_.elapsed();
  WaitUntil(std::max<qint64>(reshown + 4500, opened_ + 8600));
  EXPECT_TRUE(about->IsShown());
  EXPECT_FALSE(about->Timer1()->IsArmed());
  EXPECT_EQ(Calculators(), 1);
  EXPECT_TRUE(OpenWindow<class ControlWnd>() == calc);

  QTest::keyClick(WidgetOf(about), Qt::Key_Escape);
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());
}

// After an early hand-over by a key, the calculator window hidden by hand
// and the About window shown again: the timer still fires at the 4000 ms
// mark, and shows the same calculator window once more.
TEST_F(AboutTimerTest, AfterAnEarlyHandOverTheTimerStillFiresAndShowsTheCalculatorAgain) {
  auto about = OpenOnTheClock();
  ASSERT_TRUE(about);
  QTest::keyClick(WidgetOf(about), Qt::Key_A);
  ASSERT_EQ(Calculators(), 1);
  auto calc = OpenWindow<class ControlWnd>();
  // Its activation, which would hide the About window again, over first.
  ASSERT_TRUE(QTest::qWaitForWindowActive(WidgetOf(calc)));
  calc->Hide();
  // Only a machine too busy to come this far within 3800 ms misses this point.
  if (!about->Timer1()->IsArmed()) GTEST_SKIP() << "the timer fired before the window could be shown again";
  fw::RuntimeChooseMenuItem(AboutMenuItem(), about);
  ASSERT_TRUE(about->IsShown());
  ASSERT_FALSE(calc->IsShown());

  const qint64 changed = TimeWhen([&] { return !about->IsShown() || calc->IsShown(); });
  ASSERT_GE(changed, 0) << "the timer never handed over";
  EXPECT_GE(changed, kEarliestHandOver) << "something changed before the 4000 ms timer";
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());
  EXPECT_EQ(Calculators(), 1);
  EXPECT_TRUE(OpenWindow<class ControlWnd>() == calc);
  EXPECT_FALSE(about->Timer1()->IsArmed());
}

// The timer holds its window weakly; a closed About window is gone, its
// timer with it, and the next request builds a new window with a new timer.
TEST_F(AboutTimerTest, TheTimerHoldsItsWindowWeaklyAndAClosedWindowIsBuiltAnew) {
  auto about = OpenAtStartup();
  ASSERT_TRUE(about);
  auto timer = fw::Cast<Wrapper>(about->Timer1());
  ASSERT_TRUE(timer);
  ASSERT_TRUE(timer->ownerWindow);
  EXPECT_TRUE(timer->ownerWindow->Value() == about);
  EXPECT_TRUE(timer->Window() == about);

  std::weak_ptr<fw::Window> watch = about.shared();
  about->Close();
  about.Reset();
  fw::test::FlushDeletes();
  EXPECT_TRUE(watch.expired()) << "something still holds the closed About window";
  ASSERT_TRUE(timer->ownerWindow);
  EXPECT_TRUE(timer->ownerWindow->Value().IsNone());
  EXPECT_TRUE(timer->Window().IsNone());
  EXPECT_FALSE(timer->IsArmed());

  // A new window with its own timer; the old timer never fires into the
  // gone window (that would leave an exception for the fixture to report).
  auto again = ::AboutWnd();
  EXPECT_TRUE(again->IsShown());
  auto newTimer = fw::Cast<Wrapper>(again->Timer1());
  EXPECT_FALSE(newTimer == timer);
  EXPECT_TRUE(newTimer->IsArmed());
  EXPECT_TRUE(newTimer->Window() == again);
  EXPECT_GE(TimeWhen([&] { return !again->IsShown(); }), 0) << "the new timer never handed over";
  EXPECT_TRUE(OpenWindow<class ControlWnd>()->IsShown());
  EXPECT_EQ(Calculators(), 1);
}

}  // namespace
