// The windows on a real X server, where the window system has a say that
// the offscreen platform cannot give it: close requests sent as a window
// manager sends them (WM_DELETE_WINDOW), activation that follows the
// server's focus, the hidden menu bar under real key and pointer events
// with their grabs, and minimised windows under a window manager. The
// program starts a private Xvfb of its own before its QApplication, on a
// display that Xvfb chooses (-displayfd).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Run.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWnd.h"
#include "shell/Menu.h"
#include "shell/Startup.h"
#include "tests/support/CloseRequest.h"
#include "tests/support/GuiTest.h"
#include "tests/support/ResetEachTest.h"
#include "tests/support/TestWindows.h"
#include "tests/support/X11Session.h"

namespace {

using fw::test::WidgetOf;

void SendCloseRequest(QWidget* window) {
  EXPECT_TRUE(testsupport::SendCloseRequest(static_cast<std::uint32_t>(window->winId())))
      << "the close request was not sent";
}

fw::Ref<class AboutWnd> OpenAbout() { return testsupport::OpenWindow<class AboutWnd>(); }
fw::Ref<class ControlWnd> OpenCalculator() { return testsupport::OpenWindow<class ControlWnd>(); }

// The second of the Window menu's two About items: the application's own.
constexpr int kApplicationsAbout = 1;

class X11Test : public GuiTest {
 protected:
  void TearDown() override {
    GuiTest::TearDown();
    EXPECT_FALSE(x11test::AnyKeyDown()) << "a key was left down";
  }
};

TEST_F(X11Test, AWindowWithoutACloseButtonRefusesTheWindowSystemsCloseRequest) {
  _MakeDefaultView();
  auto about = OpenAbout();
  ASSERT_TRUE(about);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(about)));

  // Before the hand-over: the window stays, and its timer still brings the
  // calculator up.
  SendCloseRequest(WidgetOf(about));
  Wait(300);
  EXPECT_TRUE(about->IsOpen());
  EXPECT_TRUE(about->IsShown());
  ASSERT_TRUE(QTest::qWaitFor([] { return bool(OpenCalculator()); }, 9000)) << "nothing showed the calculator";
  auto calc = OpenCalculator();
  EXPECT_TRUE(QTest::qWaitFor([&] { return calc->IsShown() && !about->IsShown(); }, 5000));

  // A window with a close button closes; the calculator's close quits with 0.
  auto description = DescriptionWnd();
  description->Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(description)));
  SendCloseRequest(WidgetOf(description));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !description->IsOpen(); }, 5000));
  EXPECT_FALSE(fw::RuntimeQuitRequested());
  SendCloseRequest(WidgetOf(calc));
  EXPECT_TRUE(QTest::qWaitFor([] { return fw::RuntimeQuitRequested(); }, 5000));
  EXPECT_FALSE(calc->IsOpen());
}

// The About window closed, then chosen again from the calculator's Window
// menu as a user does, with the mouse on the real menu: the new window is
// built and shown, and stays shown.
TEST_F(X11Test, AnAboutWindowBuiltAgainFromTheMenuStaysShown) {
  auto calc = ControlWnd();
  ASSERT_TRUE(testsupport::ShowActive(calc));
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    if (auto old = OpenAbout()) old->Close();
    ASSERT_FALSE(OpenAbout());
    Wait(200);

    x11test::ChooseFromBar(WidgetOf(calc)->menuBar(), "Window", kAboutCaption, kApplicationsAbout);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(QTest::qWaitFor([] { return bool(OpenAbout()) && OpenAbout()->IsShown(); }, 5000))
        << "no About window shown";
    Wait(500);  // the menu's focus comes back to the calculator meanwhile
    EXPECT_TRUE(bool(OpenAbout()) && OpenAbout()->IsShown()) << "the About window was hidden again";
    EXPECT_TRUE(calc->IsShown());
  }
}

// ---- The description window's hidden menu bar, by real keys and clicks ----

QMenu* OpenPopup() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

// A test on a server without a window manager or (the parameter) with one.
class MaybeWindowManager : public X11Test, public testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    if (GetParam()) {
      wm_ = std::make_unique<x11test::WindowManager>();
      ASSERT_TRUE(wm_->Running()) << "openbox did not start";
    }
  }
  void TearDown() override {
    X11Test::TearDown();
    wm_.reset();
  }
  // Lets what the last event set going (posted events, zero timers) run.
  static void Settle() { QTest::qWait(100); }

  std::unique_ptr<x11test::WindowManager> wm_;
  x11test::InputLog log_;
};

std::string WindowManagerName(const testing::TestParamInfo<bool>& info) {
  return info.param ? "UnderOpenbox" : "NoWindowManager";
}

// The description window, shown and active with the focus in its text.
class HiddenMenuBar : public MaybeWindowManager {
 protected:
  void SetUp() override {
    MaybeWindowManager::SetUp();
    if (HasFatalFailure()) return;
    description_ = DescriptionWnd();
    ASSERT_TRUE(testsupport::ShowActive(description_));
    description_->DescribeFld2()->SetFocus();
    bar_ = WidgetOf(description_)->findChild<QMenuBar*>();
    ASSERT_NE(bar_, nullptr);
  }
  void TearDown() override {
    description_ = {};
    MaybeWindowManager::TearDown();
  }

  // Alt pressed and released with nothing between; each reaches the
  // program before the next goes out, so the loop runs between them.
  void AltAlone() {
    const int presses = log_.KeyPresses(Qt::Key_Alt), releases = log_.KeyReleases(Qt::Key_Alt);
    auto alt = x11test::Held::Key("Alt_L");
    ASSERT_TRUE(alt.Pressed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return log_.KeyPresses(Qt::Key_Alt) > presses; }));
    ASSERT_TRUE(alt.Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return log_.KeyReleases(Qt::Key_Alt) > releases; }));
  }
  QPoint Title(const QString& title) const { return x11test::TitleCentre(bar_, title); }
  // A click on the title `title` of the bar, once the program has had it.
  void ClickTitle(const QString& title) {
    const int releases = log_.ButtonReleases();
    ASSERT_TRUE(x11test::ClickAt(Title(title)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log_.ButtonReleases() > releases; }));
  }
  // The bar shown with the menu `title` open.
  bool Revealed(const QString& title) const {
    return bar_->isVisible() && OpenPopup() && OpenPopup()->title() == title;
  }
  bool Hidden() const { return !bar_->isVisible() && !OpenPopup(); }

  fw::Ref<class DescriptionWnd> description_;
  QMenuBar* bar_ = nullptr;
};

TEST_P(HiddenMenuBar, AltRevealsASecondAltHidesAThirdRevealsAgainAndEscapeHides) {
  AltAlone();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Revealed("File"); })) << "Alt did not reveal the bar with File open";
  AltAlone();
  Settle();
  EXPECT_TRUE(Hidden()) << "a second Alt left the bar showing";
  EXPECT_TRUE(QTest::qWaitFor([&] { return description_->DescribeFld2()->HasFocus(); }))
      << "the focus did not come back";
  AltAlone();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Revealed("File"); })) << "a third Alt did not reveal the bar";
  ASSERT_TRUE(x11test::Tap("Escape"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hidden(); })) << "Escape did not hide the bar";
  Settle();
  EXPECT_TRUE(Hidden());

  // Shortcuts work while the bar is hidden.
  ASSERT_TRUE(x11test::Tap("q", "Control_L"));
  EXPECT_TRUE(QTest::qWaitFor([] { return fw::RuntimeQuitRequested(); })) << "Ctrl+Q did nothing";
  EXPECT_TRUE(Hidden());
}

TEST_P(HiddenMenuBar, AClickOnAnotherTitleOpensThatMenu) {
  AltAlone();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Revealed("File"); }));
  for (const char* title : {"Edit", "Window"}) {
    SCOPED_TRACE(title);
    ClickTitle(title);
    Settle();
    EXPECT_TRUE(Revealed(title)) << "the click did not leave its menu open on the bar";
  }
  // Back over Edit and again on Window: the pointer opened each on its way.
  ASSERT_TRUE(x11test::MoveTo(Title("Edit")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Revealed("Edit"); }));
  ClickTitle("Window");
  Settle();
  EXPECT_TRUE(Revealed("Window"));
  // A second click on the title whose menu a click opened closes it.
  ClickTitle("Window");
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hidden(); }));

  // And an item chosen with the mouse after a click on another title runs.
  AltAlone();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Revealed("File"); }));
  x11test::ChooseFromBar(bar_, "Window", kAboutCaption, kApplicationsAbout);
  EXPECT_TRUE(QTest::qWaitFor([] { return bool(OpenAbout()) && OpenAbout()->IsShown(); })) << "About did not run";
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hidden(); }));
}

// Alt held for something else, then released: the bar stays hidden. Under a
// window manager, Alt with the mouse moves the window: the program sees the
// Alt but not the pointer.
TEST_P(HiddenMenuBar, AltHeldForSomethingElseRevealsNothing) {
  QMainWindow* frame = WidgetOf(description_);
  struct Case {
    const char* what;
    std::function<bool()> act;
    bool moves;  // the window, under a window manager
  };
  const std::vector<Case> cases = {
      {"a drag with the mouse",
       [] {
         auto button = x11test::Held::Button(1);
         return button.Pressed() && x11test::Xdotool({"mousemove_relative", "--sync", "40", "30"}) &&
                x11test::Xdotool({"mousemove_relative", "--sync", "40", "30"}) && button.Release();
       },
       true},
      {"a click", [] { return x11test::ClickAt(QCursor::pos()); }, false},
      {"another key", [] { return x11test::Tap("x"); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QPoint inside = frame->mapToGlobal(frame->rect().center());
    ASSERT_TRUE(x11test::MoveTo(inside));
    const QPoint placed = frame->pos();
    const int releases = log_.KeyReleases(Qt::Key_Alt);
    {
      auto alt = x11test::Held::Key("Alt_L");
      ASSERT_TRUE(alt.Pressed());
      ASSERT_TRUE(c.act());
      // A window manager's move ends once it lets the keyboard go.
      ASSERT_TRUE(x11test::WaitUntilUngrabbed());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return log_.KeyReleases(Qt::Key_Alt) > releases; }));
    if (wm_ && c.moves) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return frame->pos() != placed; })) << "the window manager did not move it";
    }
    Settle();
    EXPECT_TRUE(Hidden()) << "the bar came up";
    // Alt alone still reveals it.
    AltAlone();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Revealed("File"); }));
    ASSERT_TRUE(x11test::Tap("Escape"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Hidden(); }));
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, HiddenMenuBar, testing::Bool(), WindowManagerName);

// ---- The calculator's fields under real keys and drags ---------------------

class CalculatorFields : public MaybeWindowManager {
 protected:
  using Field = fw::Ref<fw::TextArea> (ControlWnd::*)();

  void SetUp() override {
    MaybeWindowManager::SetUp();
    if (HasFatalFailure()) return;
    // Shown after the About window, as at start-up, so that a window
    // manager is done with the About window before the calculator hides it
    // (else the hidden window may take the focus); its timer's hand-over is
    // left out.
    auto about = AboutWnd();
    about->Timer1()->RunMode(0);
    ASSERT_TRUE(testsupport::ShowActive(about));
    calc_ = ControlWnd();
    ASSERT_TRUE(testsupport::ShowActive(calc_));
    ASSERT_TRUE(QTest::qWaitFor([] { return !OpenAbout()->IsShown(); }));
  }
  void TearDown() override {
    calc_ = {};
    MaybeWindowManager::TearDown();
  }

  QTextEdit* Editor(Field field) { return qobject_cast<QTextEdit*>(WidgetOf(((*calc_).*field)())); }
  std::string Text(Field field) { return ((*calc_).*field)()->Value(); }
  // `field` holding `text`, with the focus and the caret at the end.
  void Fill(Field field, const char* text) {
    ((*calc_).*field)()->Value(text);
    ((*calc_).*field)()->SetFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Editor(field)->hasFocus(); }));
  }
  // The key `keysym` (a digit or a letter) with `modifier` held, once the
  // program has had it.
  void Type(const QString& keysym, const QString& modifier = {}) {
    const int key = keysym.toUpper().at(0).unicode();
    const int releases = log_.KeyReleases(key);
    ASSERT_TRUE(x11test::Tap(keysym, modifier));
    ASSERT_TRUE(QTest::qWaitFor([&] { return log_.KeyReleases(key) > releases; }));
    Settle();
  }

  fw::Ref<class ControlWnd> calc_;
};

// A key that puts text into a field passes the key filter, the limit and
// the mask, whatever modifier comes with it: a digit with Super held goes
// in where there is room and nowhere else.
TEST_P(CalculatorFields, ADigitWithSuperHeldKeepsTheLimit) {
  const struct {
    Field field;
    const char* before;
    std::vector<const char*> keys;
    const char* after;
    int beeps;
  } cases[] = {
      {&ControlWnd::FeetFld, "5", {"7"}, "5", 0},
      {&ControlWnd::WeightFld, "123", {"4", "5"}, "123", 0},
      {&ControlWnd::InchFld, "1", {"2"}, "12", 0},
      {&ControlWnd::WeightFld, "1", {"x"}, "1", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.before + "\" + " + std::to_string(c.keys.size()) + " keys");
    Fill(c.field, c.before);
    const int beeps = BeepsSinceStart();
    for (const char* key : c.keys) Type(key, "Super_L");
    EXPECT_EQ(Text(c.field), c.after);
    EXPECT_EQ(BeepsSinceStart(), beeps + c.beeps);
  }
}

// Notes whether the program sits in a nested event loop (a drag's) while
// the guard lives and no input is under way; it is then ended as only the
// user could end it, by a click on the field the drag came from.
class DragWatch {
 public:
  explicit DragWatch(QWidget* source) {
    timer_.callOnTimeout([this, source] {
      if (QThread::currentThread()->loopLevel() == 0) return;
      stuck_ = true;
      const QPoint at = source->mapToGlobal(source->rect().center());
      QProcess::startDetached("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    });
    timer_.start(1000);
  }
  bool Stuck() const { return stuck_; }

 private:
  QTimer timer_;
  bool stuck_ = false;
};

// The weight's whole text dragged onto the feet field, with the press held
// before the move and moved at once: no text moves or goes, and the next
// click and key reach a field at once. A click on the selection still
// places the caret.
TEST_P(CalculatorFields, ADragOntoAnotherFieldMovesNoTextAndLeavesTheWindowTakingInput) {
  QTextEdit* from = Editor(&ControlWnd::WeightFld);
  QTextEdit* onto = Editor(&ControlWnd::FeetFld);
  QTextEdit* inches = Editor(&ControlWnd::InchFld);
  // The weight "150", all selected; returns a point on its "5".
  auto selectWeight = [&] {
    Fill(&ControlWnd::WeightFld, "150");
    calc_->WeightFld()->SelectionStart(0);
    calc_->WeightFld()->SelectionLength(3);
    QTextCursor c(from->document());
    c.setPosition(1);
    const QRect left = from->cursorRect(c);
    c.setPosition(2);
    return from->viewport()->mapToGlobal((left.center() + from->cursorRect(c).center()) / 2);
  };
  const auto number = [](int n) { return QString::number(n); };
  for (const bool held : {true, false}) {
    SCOPED_TRACE(held ? "held before the move" : "moved at once");
    Fill(&ControlWnd::InchFld, "");
    Fill(&ControlWnd::FeetFld, "5");
    const QPoint grip = selectWeight();
    const QPoint drop = onto->mapToGlobal(onto->rect().center());

    // One xdotool for the whole drag, so that the input goes on while the
    // program is in a drag's loop.
    QStringList drag = {"mousemove", "--sync", number(grip.x()), number(grip.y()), "mousedown", "1"};
    if (held) drag << "sleep" << QString::number(2 * QApplication::startDragTime() / 1000.0);
    for (int step = 1; step <= 4; ++step) {
      const QPoint at = grip + (drop - grip) * step / 4;
      drag << "mousemove"
           << "--sync" << number(at.x()) << number(at.y()) << "sleep"
           << "0.1";
    }
    drag << "mouseup"
         << "1";
    DragWatch watch(from);
    ASSERT_TRUE(x11test::Xdotool(drag));
    Settle();
    EXPECT_EQ(Text(&ControlWnd::WeightFld), "150");
    EXPECT_EQ(Text(&ControlWnd::FeetFld), "5");

    const int releases = log_.ButtonReleases();
    ASSERT_TRUE(x11test::ClickOn(inches));
    EXPECT_TRUE(QTest::qWaitFor([&] { return log_.ButtonReleases() > releases && inches->hasFocus(); }))
        << "the click did not reach the field";
    Type("1");
    EXPECT_EQ(Text(&ControlWnd::InchFld), "1") << "the key did not reach the field";
    EXPECT_FALSE(watch.Stuck()) << "the program stayed in a drag";
  }

  const QPoint grip = selectWeight();
  const int releases = log_.ButtonReleases();
  ASSERT_TRUE(x11test::ClickAt(grip));
  ASSERT_TRUE(QTest::qWaitFor([&] { return log_.ButtonReleases() > releases; }));
  EXPECT_EQ(calc_->WeightFld()->SelectionLength(), 0);
  EXPECT_GE(calc_->WeightFld()->SelectionStart(), 1);
  EXPECT_LE(calc_->WeightFld()->SelectionStart(), 2);
  EXPECT_EQ(Text(&ControlWnd::WeightFld), "150");
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, CalculatorFields, testing::Bool(), WindowManagerName);

// ---- Minimised windows, under a window manager -----------------------------

class UnderWindowManager : public X11Test {
 protected:
  void SetUp() override {
    X11Test::SetUp();
    ASSERT_TRUE(wm_.Running()) << "openbox did not start";
  }
  // Minimised through the window manager, as a user does it.
  static void Minimise(const fw::Ref<fw::Window>& window) {
    ASSERT_TRUE(x11test::Minimise(WidgetOf(window)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return x11test::WmStateOf(WidgetOf(window)) == x11test::WmState::kIconic; }))
        << "the window manager did not minimise it";
  }
  static bool BroughtBack(const fw::Ref<fw::Window>& window) {
    return QTest::qWaitFor([&] {
      return x11test::WmStateOf(WidgetOf(window)) == x11test::WmState::kNormal && WidgetOf(window)->isActiveWindow();
    });
  }

  x11test::WindowManager wm_;
};

TEST_F(UnderWindowManager, InformationAndWindowDescriptionBringBackAMinimisedDescription) {
  auto calc = ControlWnd();
  ASSERT_TRUE(testsupport::ShowActive(calc));
  QWidget* info = WidgetOf(calc->InfoBtn());
  ASSERT_TRUE(x11test::ClickOn(info));
  ASSERT_TRUE(QTest::qWaitFor([] { return bool(testsupport::OpenWindow<class DescriptionWnd>()); }));
  fw::Ref<fw::Window> description = testsupport::OpenWindow<class DescriptionWnd>();
  ASSERT_TRUE(BroughtBack(description));

  Minimise(description);
  ASSERT_TRUE(x11test::ClickOn(info));
  EXPECT_TRUE(BroughtBack(description)) << "Information left it minimised";

  Minimise(description);
  x11test::ChooseFromBar(WidgetOf(calc)->menuBar(), "Window", "Description");
  EXPECT_TRUE(BroughtBack(description)) << "Window > Description left it minimised";
  EXPECT_TRUE(testsupport::OpenWindow<class DescriptionWnd>() == description);
}

TEST_F(UnderWindowManager, AnAboutWindowMinimisedAtStartUpComesBackFromTheMenu) {
  _MakeDefaultView();
  auto about = OpenAbout();
  ASSERT_TRUE(about);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(about)));
  Minimise(about);
  // The hand-over comes by the timer and hides it.
  ASSERT_TRUE(QTest::qWaitFor([] { return bool(OpenCalculator()); }, 9000));
  auto calc = OpenCalculator();
  ASSERT_TRUE(QTest::qWaitFor([&] { return WidgetOf(calc)->isActiveWindow() && !about->IsShown(); }));

  x11test::ChooseFromBar(WidgetOf(calc)->menuBar(), "Window", kAboutCaption, kApplicationsAbout);
  EXPECT_TRUE(BroughtBack(about)) << "Window > About left it minimised";
  EXPECT_TRUE(OpenAbout() == about);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();  // no display needed to list them
  if (!x11test::StartXvfb()) {
    std::fprintf(stderr, "gui_x11: Xvfb did not start\n");
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  ResetRuntimeBeforeEachTest();
  return RUN_ALL_TESTS();
}
