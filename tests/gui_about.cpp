// The About window through its real widgets: what it looks like when start-up
// opens it, its single-shot timer, the hand-over to the calculator window on
// the timer, a key or a press, and its return from the Window menu.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "calculator/ControlWnd.h"
#include "framework/Menu.h"
#include "info/AboutWnd.h"
#include "shell/Menu.h"
#include "shell/Startup.h"
#include "tests/support/GuiTest.h"

namespace {

using Wrapper = AboutWnd::_wrapper_Timer1;

// Runs the event loop until `ms` milliseconds have gone by on `clock`.
void WaitUntil(const QElapsedTimer& clock, qint64 ms) {
  const qint64 left = ms - clock.elapsed();
  if (left > 0) QTest::qWait(static_cast<int>(left));
}

// Runs the event loop until `happened` holds and returns the time on `clock`
// when it was seen, or -1 when it did not within 30 s. The time seen is never
// before the event, so a lower bound on it holds however busy the machine is;
// the 30 s are there only so that a timer that never fires fails the test.
template <class F>
qint64 TimeWhen(const QElapsedTimer& clock, F happened) {
  return QTest::qWaitFor(happened, 30000) ? clock.elapsed() : -1;
}

// Qt's coarse timers may fire up to 5 % early: the About window's 4000 ms
// timer never before 3800 ms.
constexpr qint64 kEarliestHandOver = 3800;

// When the About window's armed 4000 ms timer is due, on `clock`; -1 when
// none is armed.
qint64 TimerDue(const QElapsedTimer& clock, const fw::Ref<class AboutWnd>& about) {
  for (QTimer* t : fw::test::WidgetOf(about)->findChildren<QTimer*>()) {
    if (t->isActive() && t->interval() == 4000) return clock.elapsed() + t->remainingTime();
  }
  return -1;
}

int CalculatorCount() {
  auto windows = fw::RuntimeOpenWindows();
  return static_cast<int>(std::count_if(windows.begin(), windows.end(), [](const fw::Ref<fw::Window>& w) {
    return w->ClassName() == ControlWnd::kClassName;
  }));
}

// The calculator window if one is open, without making one.
fw::Ref<fw::Window> OpenCalculator() { return fw::RuntimeGetImplicitWindow(ControlWnd::kClassName); }

bool CalculatorShown() {
  auto calc = OpenCalculator();
  return calc && calc->IsShown();
}

QWidget* Content(const fw::Ref<fw::Window>& window) { return fw::test::WidgetOf(window)->centralWidget(); }

// Chooses an About item in the calculator window's menu bar as a user does:
// the Window menu opens (refreshing the enabled states), then its
// `which`-th "About Quorvel" action is triggered.
void ChooseAboutInMenuBar(const fw::Ref<fw::Window>& calc, int which) {
  QMenuBar* bar = fw::test::WidgetOf(calc)->menuBar();
  ASSERT_NE(bar, nullptr);
  int seen = 0;
  for (QAction* top : bar->actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
      if (action->text() != QString(kAboutCaption)) continue;
      if (seen++ != which) continue;
      ASSERT_TRUE(action->isEnabled()) << "the About item is disabled in the calculator window's menu";
      action->trigger();
      return;
    }
  }
  FAIL() << "no About item number " << which << " in the calculator window's menu bar";
}

// Start-up's default view; the About window it opened.
fw::Ref<class AboutWnd> OpenAtStartup() {
  _MakeDefaultView();
  auto open = fw::RuntimeGetImplicitWindow(AboutWnd::kClassName);
  return open ? fw::Cast<class AboutWnd>(open) : fw::Ref<class AboutWnd>();
}

class AboutTest : public GuiTest {};

// Runs first in the file: the logo cache lives for the whole process.
TEST_F(AboutTest, WithoutTheLogoFileTheWindowOpensWithItsLabelsAndAnEmptyLogoArea) {
  QTemporaryDir empty;
  ASSERT_TRUE(empty.isValid());
  fw::test::SetResourceDirs({empty.path().toStdString()});

  auto about = OpenAtStartup();
  fw::test::SetResourceDirs({});
  ASSERT_TRUE(about);
  EXPECT_TRUE(about->IsShown());
  EXPECT_TRUE(about->Canvas1()->Backdrop().IsNone());
  EXPECT_TRUE(fw::test::WidgetOf(about->Canvas1())->isVisible());
  auto* heading = qobject_cast<QLabel*>(fw::test::WidgetOf(about->StaticText1()));
  ASSERT_NE(heading, nullptr);
  EXPECT_TRUE(heading->isVisible());
  EXPECT_EQ(heading->text(), "Quorvel");
  EXPECT_TRUE(fw::test::WidgetOf(about->StaticText5())->isVisible());
  EXPECT_TRUE(about->Timer1()->IsArmed());
}

// From start-up with no input: how the window looks, the timer's hand-over
// at 4000 ms, and the window's return from the menu after the timer fired,
// which lasts until a key or a press.
TEST_F(AboutTest, AtStartUpTheTimerHandsOverOnceAndAWindowShownLaterStaysUntilInput) {
  const auto logos = std::filesystem::path(__FILE__).parent_path().parent_path() / "resources";
  fw::test::SetResourceDirs({logos.string()});
  QElapsedTimer clock;  // started before the timer is armed
  clock.start();
  auto about = OpenAtStartup();
  const qint64 opened = clock.elapsed();
  ASSERT_TRUE(about);

  // The only window, on screen; no calculator window yet.
  auto windows = fw::RuntimeOpenWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_TRUE(windows[0] == about);
  EXPECT_EQ(OpenCalculator(), nullptr);
  QMainWindow* frame = fw::test::WidgetOf(about);
  EXPECT_TRUE(about->IsShown());
  EXPECT_EQ(Content(about)->size(), QSize(300, 200));
  EXPECT_TRUE(frame->windowTitle().isEmpty());

  // A dialog frame with a minimise button only, and a fixed size.
  const Qt::WindowFlags flags = frame->windowFlags();
  EXPECT_EQ(frame->windowType(), Qt::Dialog);
  EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
  const QSize before = frame->size();
  frame->resize(before + QSize(120, 80));
  QTest::qWait(20);
  EXPECT_EQ(frame->size(), before);
  EXPECT_EQ(Content(about)->size(), QSize(300, 200));

  // The controls where the user sees them, and the armed timer.
  struct Placed {
    fw::Ref<fw::RectControl> control;
    QRect where;
  };
  for (const auto& [control, where] :
       {Placed{about->StaticText5(), {1, 183, 298, 15}}, Placed{about->Canvas1(), {47, 61, 207, 78}},
        Placed{about->StaticText1(), {1, 6, 298, 36}}}) {
    QWidget* w = fw::test::WidgetOf(control);
    EXPECT_TRUE(w->isVisible()) << control->Name();
    EXPECT_EQ(w->parentWidget(), Content(about)) << control->Name();
    EXPECT_EQ(w->geometry(), where) << control->Name();
  }
  EXPECT_TRUE(about->Canvas1()->Backdrop());
  auto timer = about->Timer1();
  EXPECT_EQ(timer->ClassName(), "AboutWnd._wrapper_Timer1");
  EXPECT_TRUE(timer->IsArmed());
  EXPECT_EQ(timer->RunMode(), 1);
  EXPECT_EQ(timer->Period(), 4000);

  // Nothing changes before the timer; then the hand-over, all at once.
  const qint64 changed = TimeWhen(clock, [&] { return !about->IsShown() || OpenCalculator(); });
  ASSERT_GE(changed, 0) << "the timer never handed over";
  EXPECT_GE(changed, kEarliestHandOver) << "handed over before the 4000 ms timer";
  EXPECT_FALSE(about->IsShown());
  ASSERT_EQ(CalculatorCount(), 1);
  auto calc = OpenCalculator();
  EXPECT_TRUE(calc->IsShown());
  EXPECT_FALSE(timer->IsArmed());
  EXPECT_TRUE(fw::RuntimeGetImplicitWindow(AboutWnd::kClassName) == about) << "hidden is not closed";

  // Shown again from the menu: the same window, the timer not re-armed, and
  // it stays well past another 4000 ms, also past the 8000 ms mark.
  ChooseAboutInMenuBar(calc, 0);
  EXPECT_TRUE(about->IsShown());
  EXPECT_TRUE(fw::RuntimeGetImplicitWindow(AboutWnd::kClassName) == about);
  EXPECT_FALSE(about->Timer1()->IsArmed());
  ChooseAboutInMenuBar(calc, 1);  // already visible: nothing changes
  EXPECT_TRUE(about->IsShown());
  const qint64 reshown = clock.elapsed();
  WaitUntil(clock, std::max<qint64>(reshown + 4500, opened + 8600));
  EXPECT_TRUE(about->IsShown());
  EXPECT_FALSE(about->Timer1()->IsArmed());
  EXPECT_EQ(CalculatorCount(), 1);
  EXPECT_TRUE(OpenCalculator() == calc);

  // A key hands over, whatever it is.
  QTest::keyClick(frame, Qt::Key_Escape);
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());

  // A press on a label passes through to the window and hands over.
  ChooseAboutInMenuBar(calc, 1);
  ASSERT_TRUE(about->IsShown());
  QTest::mouseClick(fw::test::WidgetOf(about->StaticText1()), Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());
  EXPECT_EQ(CalculatorCount(), 1);
  fw::test::SetResourceDirs({});
}

// A key and a press before the timer hand over at once; the About window
// shown again from the menu before 4000 ms goes at the 4000 ms mark, and the
// timer then shows the calculator window once more.
TEST_F(AboutTest, KeyAndPressHandOverAtOnceAndTheTimerStillFiresAt4000Ms) {
  QElapsedTimer clock;  // started before the timer is armed
  clock.start();
  auto about = OpenAtStartup();
  const qint64 opened = clock.elapsed();
  ASSERT_TRUE(about);
  QMainWindow* frame = fw::test::WidgetOf(about);

  WaitUntil(clock, opened + 300);
  QTest::keyClick(frame, Qt::Key_A);
  EXPECT_FALSE(about->IsShown());
  ASSERT_EQ(CalculatorCount(), 1);
  auto calc = OpenCalculator();
  EXPECT_TRUE(calc->IsShown());
  EXPECT_TRUE(about->Timer1()->IsArmed()) << "a key must not stop the timer";

  // Back from the menu; a press on the background hands over at once.
  ChooseAboutInMenuBar(calc, 0);
  ASSERT_TRUE(about->IsShown());
  QTest::mouseClick(Content(about), Qt::LeftButton, {}, QPoint(150, 160));
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());
  EXPECT_EQ(CalculatorCount(), 1);
  EXPECT_TRUE(about->Timer1()->IsArmed()) << "a press must not stop the timer";

  // The calculator window hidden by hand, the About window shown from the
  // menu (as chosen in the About window itself, which has no handler, so
  // the application's runs): neither the calculator nor a re-armed timer
  // brings anything back before the 4000 ms mark.
  calc->Hide();
  ASSERT_FALSE(calc->IsShown());
  WaitUntil(clock, opened + 1500);
  // Only a machine too busy to come back within 2300 ms misses this point.
  if (!about->Timer1()->IsArmed()) GTEST_SKIP() << "the timer fired before the window could be shown again";
  fw::RuntimeChooseMenuItem(AboutMenuItem(), about);
  ASSERT_TRUE(about->IsShown());
  // Still due 4000 ms after the window was made, not after it was shown again.
  const qint64 due = TimerDue(clock, about);
  ASSERT_GE(due, 0) << "no armed timer";
  EXPECT_LE(due, opened + 4200) << "showing the window again re-armed its timer";
  const qint64 changed = TimeWhen(clock, [&] { return !about->IsShown() || calc->IsShown(); });
  ASSERT_GE(changed, 0) << "the timer never handed over";
  EXPECT_GE(changed, kEarliestHandOver) << "something changed before the 4000 ms timer";

  // The timer: About hidden, the same calculator window shown again.
  EXPECT_FALSE(about->IsShown());
  EXPECT_TRUE(calc->IsShown());
  EXPECT_EQ(CalculatorCount(), 1);
  EXPECT_TRUE(OpenCalculator() == calc);
  EXPECT_FALSE(about->Timer1()->IsArmed());
}

// Keys that type nothing hand over too.
TEST_F(AboutTest, KeysWithoutTextHandOver) {
  auto about = OpenAtStartup();
  ASSERT_TRUE(about);
  QTest::keyClick(fw::test::WidgetOf(about), Qt::Key_Escape);
  auto calc = OpenCalculator();
  ASSERT_TRUE(calc);
  for (Qt::Key key : {Qt::Key_F1, Qt::Key_F5, Qt::Key_F12, Qt::Key_Insert, Qt::Key_Menu}) {
    SCOPED_TRACE(QKeySequence(key).toString().toStdString());
    ChooseAboutInMenuBar(calc, 0);
    ASSERT_TRUE(about->IsShown());
    QTest::keyClick(fw::test::WidgetOf(about), key);
    EXPECT_FALSE(about->IsShown());
    EXPECT_TRUE(calc->IsShown());
  }
}

// The timer holds its window weakly; a closed About window is gone, its
// timer with it, and the next request builds a new window with a new timer.
TEST_F(AboutTest, TheTimerHoldsItsWindowWeaklyAndAClosedWindowIsBuiltAnew) {
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
  QElapsedTimer clock;
  auto again = ::AboutWnd();
  clock.start();
  EXPECT_TRUE(again->IsShown());
  auto newTimer = fw::Cast<Wrapper>(again->Timer1());
  EXPECT_FALSE(newTimer == timer);
  EXPECT_TRUE(newTimer->IsArmed());
  EXPECT_TRUE(newTimer->Window() == again);
  EXPECT_GE(TimeWhen(clock, [&] { return !again->IsShown(); }), 0) << "the new timer never handed over";
  EXPECT_TRUE(CalculatorShown());
  EXPECT_EQ(CalculatorCount(), 1);
}

}  // namespace
