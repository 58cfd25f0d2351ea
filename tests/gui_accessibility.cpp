// What a screen reader is told: each window's accessibility tree, walked
// from the window through Qt's interfaces, gives every control its role and
// name, and the result line is announced when it appears.
#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <map>

#include "calculator/ControlWnd.h"
#include "calculator/ControlWndLayout.h"
#include "framework/qt/Accessible.h"
#include "info/AboutWnd.h"
#include "info/AboutWndLayout.h"
#include "info/DescriptionWnd.h"
#include "tests/support/GuiTest.h"

namespace {

using fw::test::WidgetOf;

struct Expected {
  const char* control;
  QAccessible::Role role;
  std::string name;
};

// The widget of the control `name` of `window`.
QWidget* ControlWidget(const fw::Ref<fw::Window>& window, const char* name) {
  return WidgetOf(fw::Cast<fw::RectControl>(window->_ControlByName(name)));
}

// Every interface under `iface`, by the object it stands for.
void Walk(QAccessibleInterface* iface, std::map<const QObject*, QAccessibleInterface*>& seen, int depth = 0) {
  if (!iface || depth > 20) return;
  seen[iface->object()] = iface;
  for (int i = 0; i < iface->childCount(); ++i) Walk(iface->child(i), seen, depth + 1);
}

class AccessibilityTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    testsupport::UseProgramPictures();
    fw::detail::InstallAccessibility();  // as the framework's start-up does
  }

  void ExpectTree(const fw::Ref<fw::Window>& window, const std::vector<Expected>& controls) {
    QMainWindow* top = WidgetOf(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top));
    std::map<const QObject*, QAccessibleInterface*> seen;
    Walk(QAccessible::queryAccessibleInterface(top), seen);
    for (const Expected& e : controls) {
      SCOPED_TRACE(e.control);
      QWidget* widget = ControlWidget(window, e.control);
      auto it = seen.find(widget);
      ASSERT_NE(it, seen.end()) << "not reachable from the window's accessibility tree";
      EXPECT_EQ(it->second->role(), e.role);
      EXPECT_EQ(it->second->text(QAccessible::Name).toStdString(), e.name);
    }
  }
};

TEST_F(AccessibilityTest, CalculatorControlsHaveTheirRolesAndNames) {
  auto calc = ControlWnd();
  ExpectTree(calc, {
                       {"RoundRectangle1", QAccessible::Grouping, ""},
                       {"StaticText5", QAccessible::StaticText, "inches"},
                       {"StaticText6", QAccessible::StaticText, "and"},
                       {"FeetFld", QAccessible::EditableText, "Height in feet of 4 to 6"},
                       {"StaticText4", QAccessible::StaticText, "feet"},
                       {"StaticText2", QAccessible::StaticText, "Height:"},
                       {"InchFld", QAccessible::EditableText, "Height in inches of 0-11"},
                       // No tooltip: named by the caption beside it.
                       {"WeightFld", QAccessible::EditableText, "Weight in pounds:"},
                       {"StaticText1", QAccessible::StaticText, "Weight in pounds:"},
                       {"ClearBtn", QAccessible::Button, "Clear"},
                       {"CalculateBtn", QAccessible::Button, "Calculate"},
                       {"StaticText7", QAccessible::StaticText, "Quorvel"},
                       {"Canvas3", QAccessible::Graphic, "BMIsmall.png"},
                       {"StaticText8", QAccessible::StaticText, ControlWndLayout::kNotice},
                       {"InfoBtn", QAccessible::Button, "Information"},
                   });
  // The tooltips still describe the fields.
  auto* feet = ControlWidget(calc, "FeetFld");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(feet)->text(QAccessible::Description).toStdString(),
            "Height in feet of 4 to 6");
}

TEST_F(AccessibilityTest, AboutControlsHaveTheirRolesAndNames) {
  auto about = AboutWnd();
  about->Show();
  ExpectTree(about, {
                        {"StaticText5", QAccessible::StaticText, AboutWndLayout::kNotice},
                        {"Canvas1", QAccessible::Graphic, "BMImedium.png"},
                        {"StaticText1", QAccessible::StaticText, "Quorvel"},
                    });
}

// The description's two read-only areas stand alone: no tooltip, no caption
// beside them, so they carry the window's title.
TEST_F(AccessibilityTest, DescriptionAreasAreReadOnlyTextNamedByTheWindow) {
  auto description = DescriptionWnd();
  description->Show();
  ExpectTree(description, {
                              {"DescribeFld", QAccessible::EditableText, "Description"},
                              {"DescribeFld2", QAccessible::EditableText, "Description"},
                          });
  auto* text = ControlWidget(description, "DescribeFld2");
  EXPECT_TRUE(QAccessible::queryAccessibleInterface(text)->state().readOnly);
}

// Qt announces a label's new text (NameChanged) and its appearance
// (ObjectShow) itself; the offscreen platform has no accessibility bridge to
// deliver those events to, so this checks what a screen reader then reads.
TEST_F(AccessibilityTest, ResultLineBecomesAVisibleLabelWithTheResult) {
  auto calc = ControlWnd();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(calc)));
  auto field = [&](const char* name) { return ControlWidget(calc, name); };
  auto* result = QAccessible::queryAccessibleInterface(field("BMIFld"));
  ASSERT_NE(result, nullptr);
  EXPECT_TRUE(result->state().invisible) << "the empty result line is announced before any result";
  QTest::keyClicks(field("FeetFld"), "5");
  QTest::keyClicks(field("InchFld"), "10");
  QTest::keyClicks(field("WeightFld"), "160");
  QTest::mouseClick(static_cast<QPushButton*>(field("CalculateBtn")), Qt::LeftButton);
  EXPECT_FALSE(result->state().invisible);
  EXPECT_EQ(result->role(), QAccessible::StaticText);
  EXPECT_EQ(result->text(QAccessible::Name).toStdString(), "BMI = 23.0.  WHO/CDC category: Healthy weight.");
  QTest::keyClicks(field("WeightFld"), "1");  // any key hides the result again
  EXPECT_TRUE(result->state().invisible);
}

}  // namespace
