#include "calculator/ControlWnd.h"

#include "framework/LayoutTable.h"
#include "framework/Protocol.h"
#include "framework/Run.h"
#include "framework/Services.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWnd.h"
#include "shell/Menu.h"

fw::Ref<class ControlWnd> ControlWnd() { return fw::RuntimeImplicitWindow<class ControlWnd>(); }

fw::Ref<fw::RoundRectangle> ControlWnd::RoundRectangle1() {
  return fw::ControlNamed<fw::RoundRectangle>(*this, "RoundRectangle1");
}
fw::Ref<fw::Label> ControlWnd::StaticText5() { return fw::ControlNamed<fw::Label>(*this, "StaticText5"); }
fw::Ref<fw::Label> ControlWnd::StaticText6() { return fw::ControlNamed<fw::Label>(*this, "StaticText6"); }
fw::Ref<fw::TextArea> ControlWnd::FeetFld() { return fw::ControlNamed<fw::TextArea>(*this, "FeetFld"); }
fw::Ref<fw::Label> ControlWnd::StaticText4() { return fw::ControlNamed<fw::Label>(*this, "StaticText4"); }
fw::Ref<fw::Label> ControlWnd::StaticText2() { return fw::ControlNamed<fw::Label>(*this, "StaticText2"); }
fw::Ref<fw::TextArea> ControlWnd::InchFld() { return fw::ControlNamed<fw::TextArea>(*this, "InchFld"); }
fw::Ref<fw::TextArea> ControlWnd::WeightFld() { return fw::ControlNamed<fw::TextArea>(*this, "WeightFld"); }
fw::Ref<fw::Label> ControlWnd::StaticText1() { return fw::ControlNamed<fw::Label>(*this, "StaticText1"); }
fw::Ref<fw::PushButton> ControlWnd::ClearBtn() { return fw::ControlNamed<fw::PushButton>(*this, "ClearBtn"); }
fw::Ref<fw::PushButton> ControlWnd::CalculateBtn() { return fw::ControlNamed<fw::PushButton>(*this, "CalculateBtn"); }
fw::Ref<fw::Label> ControlWnd::StaticText7() { return fw::ControlNamed<fw::Label>(*this, "StaticText7"); }
fw::Ref<fw::Canvas> ControlWnd::Canvas3() { return fw::ControlNamed<fw::Canvas>(*this, "Canvas3"); }
fw::Ref<fw::Label> ControlWnd::StaticText8() { return fw::ControlNamed<fw::Label>(*this, "StaticText8"); }
fw::Ref<fw::PushButton> ControlWnd::InfoBtn() { return fw::ControlNamed<fw::PushButton>(*this, "InfoBtn"); }
fw::Ref<fw::Label> ControlWnd::BMIFld() { return fw::ControlNamed<fw::Label>(*this, "BMIFld"); }

// Every key hides the last result, whether it is then taken or not. Digits
// and control characters pass; anything else beeps and is refused.
bool ControlWnd::FilterKey(const fw::String& key) {
  const auto code = fw::Asc(key);
  BMIFld()->Visible(false);
  if (fw::RuntimeStringCompare(key, "0") >= 0 && fw::RuntimeStringCompare(key, "9") <= 0) return false;
  if (code < 32) return false;
  if (code == 127) return false;
  fw::Beep();
  return true;
}

bool ControlWnd::FeetFld_KeyDown(fw::Ref<fw::TextArea>, fw::String key) { return FilterKey(key); }
bool ControlWnd::InchFld_KeyDown(fw::Ref<fw::TextArea>, fw::String key) { return FilterKey(key); }
bool ControlWnd::WeightFld_KeyDown(fw::Ref<fw::TextArea>, fw::String key) { return FilterKey(key); }

void ControlWnd::ClearBtn_Action(fw::Ref<fw::PushButton>) {
  WeightFld()->Value("");
  FeetFld()->Value("");
  InchFld()->Value("");
  BMIFld()->Value("");
  FeetFld()->SetFocus();
  BMIFld()->Visible(false);
}

namespace {
// A field's text as a whole number: Val, then truncated toward zero; a
// text that reads as no number or beyond 64 bits fails every range.
std::int64_t WholeNumber(const fw::String& text) { return fw::RuntimeDoubleToInt64(fw::Val(text)); }

const char* Category(double bmi) {
  if (bmi < 18.5) return "Underweight.";
  if (bmi < 25.0) return "Healthy weight.";
  if (bmi < 30.0) return "Overweight.";
  return "Obesity.";
}
}  // namespace

void ControlWnd::CalculateBtn_Action(fw::Ref<fw::PushButton>) {
  const std::int64_t weight = WholeNumber(WeightFld()->Value());
  if (weight < 100 || weight > 300) return fw::MsgBox(calculator::kWeightMessage);
  const std::int64_t feet = WholeNumber(FeetFld()->Value());
  if (feet < 4 || feet > 6) return fw::MsgBox(calculator::kFeetMessage);
  const std::int64_t inches = WholeNumber(InchFld()->Value());
  if (inches < 0 || inches > 11) return fw::MsgBox(calculator::kInchesMessage);

  const std::int64_t height = feet * 12 + inches;
  const double bmi = (static_cast<double>(weight) / fw::RuntimePow(static_cast<double>(height), 2.0)) * 703.0;
  // The category follows the value as computed, not as shown.
  const fw::String line = fw::RuntimeAddString(
      fw::RuntimeAddString(fw::RuntimeAddString("BMI = ", fw::Format(bmi, "##.0")), ".  WHO/CDC category: "),
      Category(bmi));
  BMIFld()->Value(line);
  BMIFld()->Visible(true);
}

// On the press, not the release: the button's own click does nothing else.
bool ControlWnd::InfoBtn_MouseDown(fw::Ref<fw::PushButton>, std::int64_t, std::int64_t) {
  auto description = ::DescriptionWnd();
  description->Show();
  return false;
}

void ControlWnd::AddMenuHandlers(fw::Ref<fw::Window> window) {
  auto self = fw::Cast<class ControlWnd>(window);
  window->_AddMenuHandler("DescriptionMenuItem", fw::RuntimeCreateDelegate(fw::kMenuHandlerSignature, self,
                                                                           &ControlWnd::_DescriptionMenuItem_Action));
  window->_AddMenuHandler("AboutTavik",
                          fw::RuntimeCreateDelegate(fw::kMenuHandlerSignature, self, &ControlWnd::_AboutTavik_Action));
}

void ControlWnd::Event_Close() { fw::Quit(0); }

void ControlWnd::Event_Activate() {
  ::AboutWnd()->Hide();
  FeetFld()->SetFocus();
}

void ControlWnd::Event_EnableMenuItems() {
  ControlMenuItem()->Enabled(false);
  DescriptionMenuItem()->Enabled(true);
  AboutMenuItem()->Enabled(true);
}

bool ControlWnd::_DescriptionMenuItem_Action() {
  auto description = ::DescriptionWnd();
  description->Show();
  return false;
}

bool ControlWnd::_AboutTavik_Action() {
  ShowAboutWindow();
  return false;
}
