// The core without a toolkit: windows and controls are model-only, and the
// rules that the widgets obey (the default button, a text area's limit and
// mask) hold in the model, without a display.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Controls.h"
#include "framework/Peers.h"
#include "framework/TestSeams.h"
#include "framework/Timer.h"
#include "framework/Window.h"
#include "info/AboutWnd.h"
#include "tests/support/Calculation.h"
#include "tests/support/TestWindows.h"

namespace {

using fw::detail::KeyResult;
using fw::detail::TextEdit;

TEST(ModelOnly, TheCalculatorRunsWithoutAToolkitAndReturnPressesCalculate) {
  ASSERT_EQ(fw::detail::InstalledToolkit(), nullptr);
  auto window = ControlWnd();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Peer(), nullptr);
  EXPECT_TRUE(window->IsShown());
  EXPECT_EQ(window->Controls().size(), 16u);
  EXPECT_EQ(fw::RuntimeGetImplicitWindow(ControlWnd::kClassName), window);

  window->FeetFld()->Value("5");
  window->InchFld()->Value("10");
  window->WeightFld()->Value("160");
  EXPECT_TRUE(fw::detail::WindowKeyDown(*window, "\r"));
  EXPECT_EQ(window->BMIFld()->Value(), "BMI = 23.0.  WHO/CDC category: Healthy weight.");

  window->Close();
  EXPECT_FALSE(window->IsShown());
  EXPECT_FALSE(fw::RuntimeGetImplicitWindow(ControlWnd::kClassName));
}

// Without a display a message box is written to the error stream, one
// line each; this keeps those lines while it lives.
class MessageBoxes {
 public:
  MessageBoxes() : old_(std::cerr.rdbuf(text_.rdbuf())) {}
  ~MessageBoxes() { std::cerr.rdbuf(old_); }
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    std::istringstream lines(text_.str());
    for (std::string line; std::getline(lines, line);) texts.push_back(line);
    return texts;
  }

 private:
  std::ostringstream text_;
  std::streambuf* old_;
};

using testsupport::Calculation;

// A new calculator shows `c` after Calculate.
void ExpectCalculation(const Calculation& c) {
  SCOPED_TRACE(std::string("\"") + c.feet + "\" ft \"" + c.inches + "\" in \"" + c.weight + "\" lb");
  fw::test::ResetRuntime();  // a new window, that shows nothing of the last row
  auto window = ControlWnd();
  window->FeetFld()->Value(c.feet);
  window->InchFld()->Value(c.inches);
  window->WeightFld()->Value(c.weight);
  MessageBoxes boxes;
  window->CalculateBtn()->Push();
  if (c.box) {
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.box});
    EXPECT_EQ(window->BMIFld()->Value(), "");
    EXPECT_FALSE(window->BMIFld()->Visible());
  } else {
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(window->BMIFld()->Value(), c.line);
    EXPECT_TRUE(window->BMIFld()->Visible());
    // Again with the same fields: the same line, still shown.
    window->CalculateBtn()->Push();
    EXPECT_EQ(window->BMIFld()->Value(), c.line);
    EXPECT_TRUE(window->BMIFld()->Visible());
  }
  // A calculation changes no field.
  EXPECT_EQ(window->FeetFld()->Value(), c.feet);
  EXPECT_EQ(window->InchFld()->Value(), c.inches);
  EXPECT_EQ(window->WeightFld()->Value(), c.weight);
}

TEST(ModelCalculator, ShowsTheBmiWithItsCategory) {
  const Calculation cases[] = {
      {"5", "10", "160", "BMI = 23.0.  WHO/CDC category: Healthy weight."},
      {"5", "4", "150", "BMI = 25.7.  WHO/CDC category: Overweight."},
      {"6", "11", "100", "BMI = 10.2.  WHO/CDC category: Underweight."},
      {"4", "0", "300", "BMI = 91.5.  WHO/CDC category: Obesity."},
      // The category follows the value as computed, not as shown.
      {"6", "4", "152", "BMI = 18.5.  WHO/CDC category: Healthy weight."},  // exactly 18.5
      {"6", "2", "144", "BMI = 18.5.  WHO/CDC category: Underweight."},     // 18.486...
      {"5", "0", "128", "BMI = 25.0.  WHO/CDC category: Healthy weight."},  // 24.995...
      {"5", "2", "164", "BMI = 30.0.  WHO/CDC category: Overweight."},      // 29.992...
      // Exactly halfway between two tenths: away from zero.
      {"6", "2", "111", "BMI = 14.3.  WHO/CDC category: Underweight."},
      {"6", "2", "185", "BMI = 23.8.  WHO/CDC category: Healthy weight."},
      {"6", "4", "228", "BMI = 27.8.  WHO/CDC category: Overweight."},
      {"6", "2", "259", "BMI = 33.3.  WHO/CDC category: Obesity."},
  };
  for (const auto& c : cases) ExpectCalculation(c);
}

TEST(ModelCalculator, ChecksWeightThenFeetThenInchesAgainstTheirRanges) {
  constexpr const char* kWeight = "Weight must range from 100 to 300 pounds";
  constexpr const char* kFeet = "Feet must range from 4 to 6";
  constexpr const char* kInches = "Inches must range from 0 to 11";
  const Calculation cases[] = {
      {"5", "0", "99", nullptr, kWeight},
      {"5", "0", "099", nullptr, kWeight},
      {"5", "0", "301", nullptr, kWeight},
      {"5", "0", "100", "BMI = 19.5.  WHO/CDC category: Healthy weight."},
      {"6", "11", "300", "BMI = 30.6.  WHO/CDC category: Obesity."},
      {"3", "0", "150", nullptr, kFeet},
      {"7", "0", "150", nullptr, kFeet},
      {"0", "0", "150", nullptr, kFeet},
      {"4", "0", "100", "BMI = 30.5.  WHO/CDC category: Obesity."},
      {"6", "0", "150", "BMI = 20.3.  WHO/CDC category: Healthy weight."},
      {"5", "12", "150", nullptr, kInches},
      {"5", "99", "150", nullptr, kInches},
      {"5", "11", "150", "BMI = 20.9.  WHO/CDC category: Healthy weight."},
      {"5", "00", "150", "BMI = 29.3.  WHO/CDC category: Overweight."},
      // Empty fields: no number reads as 0.
      {"", "", "", nullptr, kWeight},
      {"", "", "150", nullptr, kFeet},
      {"5", "", "150", "BMI = 29.3.  WHO/CDC category: Overweight."},
      // Several bad fields: only the first of weight, feet, inches.
      {"3", "12", "99", nullptr, kWeight},
      {"", "", "99", nullptr, kWeight},
      {"5", "12", "", nullptr, kWeight},
      {"7", "12", "150", nullptr, kFeet},
      {"", "99", "300", nullptr, kFeet},
  };
  for (const auto& c : cases) ExpectCalculation(c);
}

// A window with one text area of that limit and mask.
struct AreaFixture {
  AreaFixture(std::int64_t limit, const char* mask, bool multiline = false)
      : window(testsupport::MakeOneAreaWnd(
            {}, {{"MaximumCharactersAllowed", limit}, {"ValidationMask", fw::String(mask)}, {"Multiline", multiline}})),
        area(window->Area()) {}
  fw::Ref<testsupport::OneAreaWnd> window;
  fw::Ref<fw::TextArea> area;
};

TEST(TextAreaRules, LimitAndMaskCountCharactersNotBytes) {
  struct Case {
    std::int64_t limit;
    const char* mask;
    const char* text;
    bool accepted;
  };
  const Case cases[] = {
      {0, "", "anything at all", true},
      {2, "", "\xc3\xa9\xc3\xa9", true},  // two characters, four bytes
      {2, "", "abc", false},
      {0, "##", "12", true},
      {0, "##", "1a", false},
      {0, "##", "123", false},
      {0, "#-#", "1-2", true},
      {0, "#", "\xd9\xa3", false},  // an Arabic-Indic three is no digit here
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    AreaFixture f(c.limit, c.mask);
    EXPECT_EQ(f.area->Accepts(c.text), c.accepted);
  }
}

TEST(TextAreaRules, PasteKeepsWhatFitsTheRoomAroundTheSelection) {
  struct Case {
    std::int64_t limit;
    const char* mask;
    TextEdit edit;
    const char* pasted;
    const char* kept;
  };
  const Case cases[] = {
      {3, "", {"", "", ""}, "12345", "123"},
      {3, "", {"1", "2", ""}, "\xc3\xa9\xc3\xa9\xc3\xa9", "\xc3\xa9\xc3\xa9"},  // the selection makes room
      {3, "###", {"", "", ""}, "1a3", ""},                                      // off the mask: nothing goes in
      {2, "", {"12", "", ""}, "3", ""},
      {0, "", {"", "", ""}, "a\nb\r\nc", "abc"},  // one line: no line breaks
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pasted);
    AreaFixture f(c.limit, c.mask);
    EXPECT_EQ(fw::detail::TextAreaInsertion(*f.area, c.pasted, c.edit), c.kept);
  }
  AreaFixture readOnly(0, "");
  readOnly.area->ReadOnly(true);
  EXPECT_EQ(fw::detail::TextAreaInsertion(*readOnly.area, "x", {}), "");
}

TEST(TextAreaRules, KeysGoToTheHandlerFirstThenReturnThenTheLimit) {
  auto edit = [](const char* text) { return [text] { return TextEdit{text, "", ""}; }; };
  AreaFixture f(2, "");
  EXPECT_EQ(fw::detail::TextAreaKeyDown(*f.area, "1", "1", true, edit("1")), KeyResult::kEditor);
  EXPECT_EQ(fw::detail::TextAreaKeyDown(*f.area, "3", "3", true, edit("12")), KeyResult::kTaken);
  // Return in a one-line area, with no default button: the window may have it.
  EXPECT_EQ(fw::detail::TextAreaKeyDown(*f.area, "\r", "\r", false, edit("")), KeyResult::kWindow);
  AreaFixture lines(0, "", true);
  EXPECT_EQ(fw::detail::TextAreaKeyDown(*lines.area, "\r", "\r", false, edit("")), KeyResult::kEditor);

  int seen = 0;
  fw::RuntimeAddEventHandler(
      f.area, fw::kKeyDown,
      fw::RuntimeCreateDelegate(fw::kTextAreaKeyDownSignature,
                                std::function<bool(fw::Ref<fw::TextArea>, fw::String)>(
                                    [&seen](fw::Ref<fw::TextArea>, fw::String) { return ++seen > 0; })));
  EXPECT_EQ(fw::detail::TextAreaKeyDown(*f.area, "1", "1", true, edit("")), KeyResult::kTaken);
  EXPECT_EQ(seen, 1);
}

}  // namespace

namespace {

// A receiver that counts how often its source acted.
class CountingReceiver : public fw::Object, public fw::actionNotificationReceiver {
 public:
  void PerformAction() override { ++count; }
  int count = 0;
};

}  // namespace

TEST(ControlAccessors, AMissingControlIsNoneAndTheHandlerFailsAtItsFirstUse) {
  // A calculator whose controls were never made: the accessors give none
  // instead of raising, and a handler raises where it first uses one.
  auto window = fw::New<class ControlWnd>();
  EXPECT_FALSE(window->FeetFld());
  EXPECT_FALSE(window->BMIFld());
  EXPECT_FALSE(window->CalculateBtn());
  EXPECT_THROW(window->CalculateBtn_Action({}), fw::NilObjectException);
  EXPECT_THROW(window->ClearBtn_Action({}), fw::NilObjectException);

  auto about = fw::New<class AboutWnd>();
  EXPECT_FALSE(about->Timer1());
  EXPECT_FALSE(about->StaticText1());
}

TEST(AboutTimer, TheFrameworkReachesTheWrappersIndexThroughItsPaneChildOperations) {
  auto about = AboutWnd();
  ASSERT_TRUE(about);
  auto timer = about->Timer1();
  ASSERT_TRUE(timer);
  auto wrapper = fw::Cast<AboutWnd::_wrapper_Timer1>(timer);
  // Attached to the window with no index.
  EXPECT_EQ(wrapper->Index, fw::kNoIndex);
  EXPECT_EQ(fw::Ref<fw::Control>(timer)->Index(), fw::kNoIndex);
  // The Control key reaches the wrapper's own field, and back.
  fw::Ref<fw::Control>(timer)->Index(5);
  EXPECT_EQ(wrapper->Index, 5);
  wrapper->Index = 7;
  EXPECT_EQ(fw::Ref<fw::Control>(timer)->Index(), 7);
  EXPECT_EQ(wrapper->Window(), about);
  about->Close();
}

TEST(AboutTimer, IsAnActionSourceThatTellsItsLiveReceiversAfterItsHandler) {
  auto about = AboutWnd();
  ASSERT_TRUE(about);
  auto timer = about->Timer1();
  auto* source = dynamic_cast<fw::actionSource*>(timer.get());
  ASSERT_NE(source, nullptr);
  auto kept = fw::New<CountingReceiver>();
  auto removed = fw::New<CountingReceiver>();
  source->addActionNotificationReceiver(kept);
  source->addActionNotificationReceiver(removed);
  source->removeActionNotificationReceiver(removed);
  {
    auto gone = fw::New<CountingReceiver>();
    source->addActionNotificationReceiver(gone);
  }  // held weakly: dropping the last reference ends it
  EXPECT_THROW(source->addActionNotificationReceiver({}), fw::NilObjectException);

  timer->_CallAction();
  EXPECT_EQ(kept->count, 1);
  EXPECT_EQ(removed->count, 0);
  // The handler ran first: the About window hid itself.
  EXPECT_FALSE(about->IsShown());
}
