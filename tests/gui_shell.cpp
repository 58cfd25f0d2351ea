// The menu bar as the user meets it on the calculator window: the Qt menus
// and actions it shows, the enabled states a refresh gives them, and the
// About items reached through real clicks.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "info/AboutWnd.h"
#include "shell/App.h"
#include "shell/Menu.h"
#include "tests/support/GuiTest.h"
#include "tests/support/Menus.h"

namespace {

using testsupport::ActionCaptioned;
using testsupport::MenuTitled;
using testsupport::OpenByClick;

class ShellGui : public GuiTest {
 protected:
  // The calculator window, made, shown and active, and its Qt menu bar.
  // The About window comes first, as at start-up.
  QMenuBar* CalculatorMenuBar() {
    about_ = AboutWnd();
    calculator_ = ControlWnd();
    EXPECT_TRUE(testsupport::ShowActive(calculator_));
    return fw::test::WidgetOf(calculator_)->menuBar();
  }

  fw::Ref<class AboutWnd> about_;
  fw::Ref<class ControlWnd> calculator_;
};

TEST_F(ShellGui, OpeningAMenuRefreshesTheEnabledStatesWithTheCalculatorInFront) {
  QMenuBar* qbar = CalculatorMenuBar();
  ASSERT_TRUE(qbar);
  auto bar = App()->MenuBar();

  struct Expected {
    const char* name;
    bool enabled;
  };
  const Expected expected[] = {
      {"AboutTavik", true},        // the application object
      {"ControlMenuItem", false},  // the calculator window, for itself
      {"DescriptionMenuItem", true},
      {"AboutMenuItem", true},
      {"FileQuit", true},  // quits by itself
      {"Print", false},    // nobody handles it here
      {"EditUndo", false},
      {"EditCut", false},
      {"EditCopy", false},
      {"EditPaste", false},
  };
  // Every state the wrong way round first, so that only the refresh can
  // put it right.
  for (const auto& e : expected) bar->_Lookup(e.name)->Enabled(!e.enabled);

  QMenu* window = OpenByClick(qbar, "Window");
  ASSERT_TRUE(window);
  for (const auto& e : expected) {
    SCOPED_TRACE(e.name);
    auto item = bar->_Lookup(e.name);
    EXPECT_EQ(item->Enabled(), e.enabled);
  }
  // The Qt side shows the same states, in every menu.
  const struct {
    const char* menu;
    const char* caption;
    int nth;
    bool enabled;
  } actions[] = {
      {"Window", "Control", 0, false},      {"Window", "Description", 0, true}, {"Window", "About Quorvel", 0, true},
      {"Window", "About Quorvel", 1, true}, {"File", "Print", 0, false},        {"File", "Quit", 0, true},
      {"Edit", "Undo", 0, false},           {"Edit", "Copy", 0, false},
  };
  for (const auto& a : actions) {
    SCOPED_TRACE(std::string(a.menu) + " > " + a.caption);
    QAction* action = ActionCaptioned(MenuTitled(qbar, a.menu), a.caption, a.nth);
    ASSERT_TRUE(action);
    EXPECT_EQ(action->isEnabled(), a.enabled);
  }
  window->close();

  // The refresh on its own gives the same again.
  for (const auto& e : expected) bar->_Lookup(e.name)->Enabled(!e.enabled);
  fw::RuntimeRefreshMenuItems(bar, calculator_);
  for (const auto& e : expected) EXPECT_EQ(bar->_Lookup(e.name)->Enabled(), e.enabled) << e.name;
}

TEST_F(ShellGui, ChoosingEitherAboutItemShowsTheHiddenAboutWindowAgain) {
  QMenuBar* qbar = CalculatorMenuBar();
  auto about = about_;
  ASSERT_TRUE(qbar);
  const auto windowsBefore = fw::RuntimeOpenWindows().size();

  // The two items captioned alike: AboutMenuItem, then AboutTavik.
  for (int nth : {0, 1}) {
    SCOPED_TRACE(nth == 0 ? "AboutMenuItem" : "AboutTavik");
    about->Hide();
    ASSERT_TRUE(testsupport::ShowActive(calculator_));
    ASSERT_FALSE(about->IsShown());

    QMenu* window = OpenByClick(qbar, "Window");
    ASSERT_TRUE(window);
    QAction* item = ActionCaptioned(window, "About Quorvel", nth);
    ASSERT_TRUE(item);
    ASSERT_TRUE(item->isEnabled());
    QTest::mouseClick(window, Qt::LeftButton, {}, window->actionGeometry(item).center());

    QTRY_VERIFY(about->IsShown());
    EXPECT_EQ(AboutWnd(), about);  // the same window, not a new one
    EXPECT_EQ(fw::RuntimeOpenWindows().size(), windowsBefore);
    ExpectNoPendingException();
  }
}

// The bar shows the program's menu tree (its captions are checked in
// test_shell) as a user sees it: menus and items without a caption, or not
// visible, are left out, "-" is a separator, and each item keeps its
// shortcut.
TEST_F(ShellGui, TheBarShowsTheCaptionedItemsSeparatorAndShortcuts) {
  QMenuBar* qbar = CalculatorMenuBar();
  ASSERT_TRUE(qbar);
  const auto shown = [](const fw::Ref<fw::MenuItem>& item) { return !item->Value().empty() && item->Visible(); };

  auto tree = ::Menu();
  QStringList expectedTitles;
  for (int m = 0; m < tree->Count(); ++m) {
    auto menu = tree->Item(m);
    if (!shown(menu)) continue;
    expectedTitles << QString::fromStdString(menu->Value());
    SCOPED_TRACE(menu->Value());
    QMenu* qmenu = MenuTitled(qbar, expectedTitles.back());
    ASSERT_TRUE(qmenu);
    const auto actions = qmenu->actions();
    qsizetype next = 0;
    for (int i = 0; i < menu->Count(); ++i) {
      auto item = menu->Item(i);
      if (!shown(item)) continue;
      SCOPED_TRACE(item->Value());
      ASSERT_LT(next, actions.size());
      QAction* action = actions[next++];
      EXPECT_EQ(action->isSeparator(), item->Value() == "-");
      if (!action->isSeparator()) {
        EXPECT_EQ(action->text(), QString::fromStdString(item->Value()));
      }
      EXPECT_EQ(action->shortcut().toString(QKeySequence::PortableText), QString::fromStdString(item->Shortcut()));
    }
    EXPECT_EQ(next, actions.size());
  }
  QStringList titles;
  for (QAction* action : qbar->actions()) titles << action->text();
  EXPECT_EQ(titles, expectedTitles);
  // The tree has untitled menus: not every one of them is on the bar.
  EXPECT_LT(titles.size(), tree->Count());
}

// The calculator's own window events: activation hides a shown About window
// and puts the focus in the feet field; closing the window quits with 0.
TEST_F(ShellGui, ActivatingTheCalculatorHidesAboutAndClosingItQuits) {
  CalculatorMenuBar();
  QMainWindow* calculator = fw::test::WidgetOf(calculator_);
  QTest::keyClicks(fw::test::WidgetOf(calculator_->WeightFld()), "150");
  about_->Show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(fw::test::WidgetOf(about_)));

  calculator->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(calculator));
  EXPECT_FALSE(about_->IsShown());
  EXPECT_TRUE(about_->IsOpen());
  EXPECT_TRUE(calculator_->FeetFld()->HasFocus());

  EXPECT_FALSE(fw::RuntimeQuitRequested());
  calculator->close();
  EXPECT_TRUE(fw::RuntimeQuitRequested());
  EXPECT_EQ(fw::RuntimeExit(), 0);
  EXPECT_FALSE(calculator_->IsOpen());
  EXPECT_TRUE(fw::RuntimeGetImplicitWindow(ControlWnd::kClassName).IsNone());
}

}  // namespace
