// The calculator window through its real widgets: typing into the three
// fields, pressing Calculate and Clear, the key filter, the length limits,
// paste, the result line and the range messages, and the window itself.
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTextEdit>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "tests/support/Calculation.h"
#include "tests/support/GuiTest.h"
#include "tests/support/TestWindows.h"

namespace {

using fw::test::WidgetOf;

// The texts themselves, and the whole table of results and range checks,
// are tested on the model-only window (test_model).
constexpr const char* kWeight = calculator::kWeightMessage;
constexpr const char* kFeet = calculator::kFeetMessage;
constexpr const char* kInches = calculator::kInchesMessage;

enum Field { kFeetField, kInchField, kWeightField };
const char* const kFieldNames[] = {"FeetFld", "InchFld", "WeightFld"};

class CalculatorTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    Open();
  }

  void Open() {
    window = ControlWnd();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(window)));
  }

  // A new calculator window, so that a case sees nothing of the last one.
  void Reopen() {
    window.Reset();
    fw::test::CloseAllWindows();
    Open();
  }

  QTextEdit* FieldWidget(Field f) {
    const fw::Ref<fw::TextArea> area =
        f == kFeetField ? window->FeetFld() : (f == kInchField ? window->InchFld() : window->WeightFld());
    return qobject_cast<QTextEdit*>(WidgetOf(area));
  }
  QTextEdit* Feet() { return FieldWidget(kFeetField); }
  QTextEdit* Inches() { return FieldWidget(kInchField); }
  QTextEdit* Weight() { return FieldWidget(kWeightField); }
  QLabel* Result() { return qobject_cast<QLabel*>(WidgetOf(window->BMIFld())); }
  QPushButton* CalculateButton() { return qobject_cast<QPushButton*>(WidgetOf(window->CalculateBtn())); }
  QPushButton* ClearButton() { return qobject_cast<QPushButton*>(WidgetOf(window->ClearBtn())); }
  QWidget* Focused() { return WidgetOf(window)->focusWidget(); }

  void Enter(const char* feet, const char* inches, const char* weight) {
    QTest::keyClicks(Feet(), QString::fromUtf8(feet));
    QTest::keyClicks(Inches(), QString::fromUtf8(inches));
    QTest::keyClicks(Weight(), QString::fromUtf8(weight));
  }
  void Calculate() { QTest::mouseClick(CalculateButton(), Qt::LeftButton); }
  void Clear() { QTest::mouseClick(ClearButton(), Qt::LeftButton); }

  // A key press and release that carries `text`, as a keyboard layout or an
  // input method delivers a character that has no key code of its own.
  static void SendText(QWidget* widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
  }

  std::string Text(QTextEdit* field) { return field->toPlainText().toStdString(); }
  std::string ResultText() { return Result()->text().toStdString(); }
  bool ResultShown() {
    const bool model = window->BMIFld()->Visible();
    EXPECT_EQ(model, Result()->isVisible()) << "the result line's widget and control disagree";
    return model && Result()->isVisible();
  }

  fw::Ref<class ControlWnd> window;
};

using Case = testsupport::Calculation;

// Typed into the real fields and calculated with a click: a result line,
// and each range message in a box.
TEST_F(CalculatorTest, ShowsTheBmiOrTheFirstRangeMessage) {
  const Case cases[] = {
      {"5", "10", "160", "BMI = 23.0.  WHO/CDC category: Healthy weight."},
      {"5", "0", "99", nullptr, kWeight},
      {"3", "0", "150", nullptr, kFeet},
      {"5", "12", "150", nullptr, kInches},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.feet + "\" ft \"" + c.inches + "\" in \"" + c.weight + "\" lb");
    Reopen();
    const auto boxesBefore = Boxes().size();
    Enter(c.feet, c.inches, c.weight);
    Calculate();
    if (c.box) {
      ASSERT_EQ(Boxes().size(), boxesBefore + 1);
      EXPECT_EQ(Boxes().back(), c.box);
      EXPECT_EQ(ResultText(), "");
      EXPECT_FALSE(ResultShown());
    } else {
      EXPECT_EQ(Boxes().size(), boxesBefore);
      EXPECT_EQ(ResultText(), c.line);
      EXPECT_TRUE(ResultShown());
      // Again with the same fields: the same line, still shown.
      Calculate();
      EXPECT_EQ(ResultText(), c.line);
      EXPECT_TRUE(ResultShown());
    }
    // A check changes no field.
    EXPECT_EQ(Text(Feet()), c.feet);
    EXPECT_EQ(Text(Inches()), c.inches);
    EXPECT_EQ(Text(Weight()), c.weight);
  }
}

TEST_F(CalculatorTest, AFailedCheckLeavesTheResultLineAsItWas) {
  const std::string line = "BMI = 23.0.  WHO/CDC category: Healthy weight.";
  Enter("5", "10", "160");
  Calculate();
  ASSERT_EQ(ResultText(), line);
  ASSERT_TRUE(ResultShown());

  // Shown: the weight changes without a key (as a paste from the field's
  // context menu would change it); the failed check keeps the line shown.
  window->WeightFld()->Value("99");
  Calculate();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes().back(), kWeight);
  EXPECT_EQ(ResultText(), line);
  EXPECT_TRUE(ResultShown());

  // Hidden by a key: the failed check neither shows it nor clears it.
  QTest::keyClick(Weight(), Qt::Key_Backspace);
  EXPECT_FALSE(ResultShown());
  EXPECT_EQ(Text(Weight()), "9");
  Calculate();
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes().back(), kWeight);
  EXPECT_EQ(ResultText(), line);
  EXPECT_FALSE(ResultShown());
}

TEST_F(CalculatorTest, ReturnInAnyFieldPressesCalculate) {
  const struct {
    Field field;
    Qt::Key key;
    Case input;
  } cases[] = {
      {kFeetField, Qt::Key_Return, {"5", "10", "160", "BMI = 23.0.  WHO/CDC category: Healthy weight."}},
      // The inches field is the multi-line one; it takes no line break.
      {kInchField, Qt::Key_Return, {"5", "1", "160", "BMI = 30.2.  WHO/CDC category: Obesity."}},
      {kInchField, Qt::Key_Return, {"5", "10", "160", "BMI = 23.0.  WHO/CDC category: Healthy weight."}},
      {kWeightField, Qt::Key_Return, {"5", "10", "160", "BMI = 23.0.  WHO/CDC category: Healthy weight."}},
      {kWeightField, Qt::Key_Enter, {"5", "10", "160", "BMI = 23.0.  WHO/CDC category: Healthy weight."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(kFieldNames[c.field]) + (c.key == Qt::Key_Enter ? " Enter" : " Return"));
    Reopen();
    Enter(c.input.feet, c.input.inches, c.input.weight);
    QTest::keyClick(FieldWidget(c.field), c.key);
    // Calculate, the first default button in reading order; Clear would
    // have emptied the fields.
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(ResultText(), c.input.line);
    EXPECT_TRUE(ResultShown());
    EXPECT_EQ(Text(Feet()), c.input.feet);
    EXPECT_EQ(Text(Inches()), c.input.inches);
    EXPECT_EQ(Text(Weight()), c.input.weight);
  }
  EXPECT_EQ(BeepsSinceStart(), 0);
  // With the fields empty, Return shows the weight message.
  Reopen();
  QTest::keyClick(Feet(), Qt::Key_Return);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes().back(), kWeight);
}

TEST_F(CalculatorTest, KeyFilterRefusesEverythingButDigitsAndControlKeysWithOneBeepEach) {
  const char* const refused[] = {
      "a",           "Z", "e", " ", "-", "+", ".", ",", "/", ":", "\xd9\xa3" /* ٣ */, "\xc2\xbd" /* ½ */,
      "\xef\xbc\x95" /* fullwidth 5 */};
  for (Field f : {kFeetField, kInchField, kWeightField}) {
    SCOPED_TRACE(kFieldNames[f]);
    QTextEdit* field = FieldWidget(f);
    for (const char* key : refused) {
      SCOPED_TRACE(std::string("key \"") + key + "\"");
      const int beeps = BeepsSinceStart();
      SendText(field, QString::fromUtf8(key));
      EXPECT_EQ(BeepsSinceStart(), beeps + 1);
      EXPECT_EQ(Text(field), "");
    }
    // The same through the keyboard's own key codes.
    const int beeps = BeepsSinceStart();
    QTest::keyClick(field, Qt::Key_X);
    QTest::keyClick(field, Qt::Key_Space);
    QTest::keyClick(field, Qt::Key_Minus);
    QTest::keyClick(field, Qt::Key_Period);
    QTest::keyClick(field, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(BeepsSinceStart(), beeps + 5);
    EXPECT_EQ(Text(field), "");
  }

  // Digits and control keys pass without a beep.
  const int beeps = BeepsSinceStart();
  for (Field f : {kFeetField, kInchField, kWeightField}) {
    QTextEdit* field = FieldWidget(f);
    QTest::keyClicks(field, "0123456789");
    for (Qt::Key key :
         {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
          Qt::Key_PageDown, Qt::Key_Escape, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Backtab}) {
      QTest::keyClick(field, key);
    }
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    // A modifier alone is no key at all.
    QTest::keyClick(field, Qt::Key_Shift);
    QTest::keyClick(field, Qt::Key_Control);
  }
  EXPECT_EQ(BeepsSinceStart(), beeps);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(CalculatorTest, EveryKeyInAFieldHidesTheResult) {
  Enter("5", "10", "160");
  const std::string line = "BMI = 23.0.  WHO/CDC category: Healthy weight.";
  const struct {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;  // sent as text when set
  } keys[] = {
      {"a refused letter", Qt::Key_X, Qt::NoModifier, nullptr},
      {"a refused blank", Qt::Key_Space, Qt::NoModifier, nullptr},
      {"a refused non-ASCII digit", Qt::Key_unknown, Qt::NoModifier, "\xd9\xa3"},
      {"a tab without the Tab key", Qt::Key_unknown, Qt::NoModifier, "\t"},
      {"a digit the full field does not take", Qt::Key_7, Qt::NoModifier, nullptr},
      {"Tab", Qt::Key_Tab, Qt::NoModifier, nullptr},
      {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, nullptr},
      {"Left", Qt::Key_Left, Qt::NoModifier, nullptr},
      {"End", Qt::Key_End, Qt::NoModifier, nullptr},
      {"Escape", Qt::Key_Escape, Qt::NoModifier, nullptr},
      {"Delete at the end", Qt::Key_Delete, Qt::NoModifier, nullptr},
      {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, nullptr},
      // A key without text (the other such keys raise KeyDown alike: gui_controls).
      {"F5", Qt::Key_F5, Qt::NoModifier, nullptr},
  };
  for (Field f : {kFeetField, kInchField, kWeightField}) {
    for (const auto& k : keys) {
      SCOPED_TRACE(std::string(kFieldNames[f]) + ": " + k.name);
      QTextEdit* field = FieldWidget(f);
      field->moveCursor(QTextCursor::End);
      Calculate();
      ASSERT_TRUE(ResultShown());
      if (k.text) {
        SendText(field, QString::fromUtf8(k.text));
      } else {
        QTest::keyClick(field, k.key, k.modifiers);
      }
      EXPECT_FALSE(ResultShown());
      EXPECT_EQ(ResultText(), line);  // hidden, not cleared
      EXPECT_EQ(Text(Feet()), "5");
      EXPECT_EQ(Text(Inches()), "10");
      EXPECT_EQ(Text(Weight()), "160");
    }
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(CalculatorTest, FieldsHoldOneTwoAndThreeCharactersWhenTyped) {
  const struct {
    Field field;
    const char* typed;
    const char* kept;
  } cases[] = {
      {kFeetField, "55", "5"},    {kFeetField, "123", "1"},      {kInchField, "123", "12"},
      {kInchField, "1111", "11"}, {kWeightField, "1234", "123"}, {kWeightField, "0999", "099"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(kFieldNames[c.field]) + " typed " + c.typed);
    Reopen();
    QTest::keyClicks(FieldWidget(c.field), c.typed);
    EXPECT_EQ(Text(FieldWidget(c.field)), c.kept);
  }
  // The limit is the field's: the extra digits pass the filter unheard.
  EXPECT_EQ(BeepsSinceStart(), 0);

  // A full field takes a digit in place of a selection, and after a
  // character is removed.
  Reopen();
  QTest::keyClicks(Feet(), "5");
  QTest::keyClick(Feet(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(Feet(), "6");
  EXPECT_EQ(Text(Feet()), "6");
  QTest::keyClicks(Weight(), "160");
  QTest::keyClick(Weight(), Qt::Key_Backspace);
  QTest::keyClicks(Weight(), "59");
  EXPECT_EQ(Text(Weight()), "165");
  QTest::keyClick(Weight(), Qt::Key_Home);
  QTest::keyClick(Weight(), Qt::Key_Delete);
  QTest::keyClicks(Weight(), "2");
  EXPECT_EQ(Text(Weight()), "265");
}

TEST_F(CalculatorTest, PasteKeepsTheLimitsAndStoresNoNonDigit) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("probe"));
  if (clipboard->text() != QStringLiteral("probe")) GTEST_SKIP() << "no clipboard on this platform";

  const struct {
    Field field;
    const char* before;
    const char* pasted;
    const char* after;
  } cases[] = {
      {kFeetField, "", "5", "5"},
      {kFeetField, "", "56", "5"},
      {kFeetField, "5", "6", "5"},
      {kInchField, "", "123", "12"},
      {kInchField, "1", "23", "12"},
      {kWeightField, "", "12345", "123"},
      {kWeightField, "1", "234", "123"},
      {kWeightField, "", "150", "150"},
      // Text with a character that is no digit is refused whole.
      {kWeightField, "", "abc", ""},
      {kWeightField, "", "1e2", ""},
      {kWeightField, "1", "2a", "1"},
      {kWeightField, "", " 12", ""},
      {kWeightField, "", "-12", ""},
      {kInchField, "", "1.5", ""},
      {kInchField, "", "\xd9\xa3", ""},
      {kFeetField, "", "\xef\xbc\x95", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(kFieldNames[c.field]) + " \"" + c.before + "\" + paste \"" + c.pasted + "\"");
    Reopen();
    QTextEdit* field = FieldWidget(c.field);
    QTest::keyClicks(field, c.before);
    clipboard->setText(QString::fromUtf8(c.pasted));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(field), c.after);
  }
  // Ctrl+V is a control key: the filter lets it through without a beep.
  EXPECT_EQ(BeepsSinceStart(), 0);
}

TEST_F(CalculatorTest, ClearEmptiesEverythingAndPutsTheFocusInTheFeetField) {
  Enter("5", "10", "160");
  Calculate();
  ASSERT_TRUE(ResultShown());
  QTest::mouseClick(Weight()->viewport(), Qt::LeftButton);
  ASSERT_EQ(Focused(), Weight());

  Clear();
  EXPECT_EQ(Text(Feet()), "");
  EXPECT_EQ(Text(Inches()), "");
  EXPECT_EQ(Text(Weight()), "");
  EXPECT_EQ(ResultText(), "");
  EXPECT_FALSE(ResultShown());
  EXPECT_EQ(Focused(), Feet());
  EXPECT_TRUE(Boxes().empty());

  // Typing goes on in the feet field; Calculate then wants a weight.
  QTest::keyClicks(Focused(), "6");
  EXPECT_EQ(Text(Feet()), "6");
  Clear();
  Calculate();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes().back(), kWeight);
}

TEST_F(CalculatorTest, WindowIsAFixed680By300QuorvelWindowWithSixteenControls) {
  QMainWindow* frame = WidgetOf(window);
  EXPECT_EQ(window->Width(), 680);
  EXPECT_EQ(window->Height(), 300);
  EXPECT_EQ(frame->centralWidget()->size(), QSize(680, 300));
  EXPECT_EQ(frame->windowTitle(), QStringLiteral("Quorvel"));
  EXPECT_TRUE(frame->isVisible());
  EXPECT_FALSE(window->Resizeable());

  // The user cannot resize it.
  const QSize size = frame->size();
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
  frame->resize(size + QSize(100, 80));
  QApplication::processEvents();
  EXPECT_EQ(frame->size(), size);
  EXPECT_EQ(frame->centralWidget()->size(), QSize(680, 300));

  const char* const names[] = {"RoundRectangle1", "StaticText5", "StaticText6",  "FeetFld",
                               "StaticText4",     "StaticText2", "InchFld",      "WeightFld",
                               "StaticText1",     "ClearBtn",    "CalculateBtn", "StaticText7",
                               "Canvas3",         "StaticText8", "InfoBtn",      "BMIFld"};
  const auto& controls = window->Controls();
  ASSERT_EQ(controls.size(), std::size(names));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_EQ(controls[i]->Name(), names[i]) << "control #" << i + 1;
    EXPECT_TRUE(window->_ControlByName(names[i]) == controls[i]) << names[i];
  }
  // The accessors find the registered objects, the same on every call.
  EXPECT_TRUE(window->FeetFld() == window->_ControlByName("FeetFld"));
  EXPECT_TRUE(window->FeetFld() == window->FeetFld());
  EXPECT_TRUE(window->BMIFld() == window->_ControlByName("BMIFld"));
  EXPECT_TRUE(window->Canvas3() == window->_ControlByName("Canvas3"));

  // At start the fields are empty and the result line is hidden and empty.
  for (Field f : {kFeetField, kInchField, kWeightField}) {
    EXPECT_EQ(Text(FieldWidget(f)), "") << kFieldNames[f];
    EXPECT_TRUE(FieldWidget(f)->isEnabled()) << kFieldNames[f];
    EXPECT_FALSE(FieldWidget(f)->isReadOnly()) << kFieldNames[f];
  }
  EXPECT_FALSE(ResultShown());
  EXPECT_EQ(ResultText(), "");
  EXPECT_EQ(window->BMIFld()->Value(), "");

  // A second call makes nothing new.
  auto again = ControlWnd();
  EXPECT_TRUE(again == window);
  EXPECT_EQ(window->Controls().size(), std::size(names));
  EXPECT_EQ(testsupport::OpenWindowsOf(ControlWnd::kClassName), 1);
}

TEST_F(CalculatorTest, TooltipsAndEnabledStatesOfTheControls) {
  for (const auto& control : window->Controls()) {
    auto rect = fw::Cast<fw::RectControl>(control);
    ASSERT_TRUE(rect);
    QWidget* widget = WidgetOf(rect);
    const std::string& name = control->Name();
    const char* tooltip = name == "FeetFld"   ? "Height in feet of 4 to 6"
                          : name == "InchFld" ? "Height in inches of 0-11"
                                              : "";
    EXPECT_EQ(widget->toolTip().toStdString(), tooltip) << name;
    EXPECT_EQ(widget->isEnabled(), name != "StaticText8") << name;
    EXPECT_EQ(widget->isVisible(), name != "BMIFld") << name;
  }
}

TEST_F(CalculatorTest, TabGoesFeetInchesWeightAndNeverReachesAButton) {
  QTest::mouseClick(Feet()->viewport(), Qt::LeftButton);
  ASSERT_EQ(Focused(), Feet());
  QWidget* const forward[] = {Inches(), Weight(), Feet(), Inches()};
  for (QWidget* next : forward) {
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), next);
    EXPECT_EQ(qobject_cast<QPushButton*>(Focused()), nullptr);
  }
  QWidget* const backward[] = {Feet(), Weight(), Inches(), Feet()};
  for (QWidget* next : backward) {
    QTest::keyClick(Focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), next);
  }
  // Tab is never taken as text, and passes the filter without a beep.
  EXPECT_EQ(Text(Feet()), "");
  EXPECT_EQ(Text(Inches()), "");
  EXPECT_EQ(Text(Weight()), "");
  EXPECT_EQ(BeepsSinceStart(), 0);
}

}  // namespace
