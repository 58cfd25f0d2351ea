// The calculator window: three digit-only fields for feet, inches and
// pounds, Calculate, Clear and Information, and the result line.
//
// Its layout (the window's and the 16 controls' property lists, the order
// they are made in and the event bindings) is in ControlWndLayout.cpp; the
// handlers are in ControlWnd.cpp. The window keeps no state of its own:
// everything lives in its controls.
#pragma once

#include <cstdint>

#include "framework/Controls.h"
#include "framework/Window.h"

class ControlWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "ControlWnd.ControlWnd";

  void Layout() override;
  void CreateControls() override;
  void _CreateControls0();

  // The controls, looked up by name on every call, in creation order.
  fw::Ref<fw::RoundRectangle> RoundRectangle1();
  fw::Ref<fw::Label> StaticText5();
  fw::Ref<fw::Label> StaticText6();
  fw::Ref<fw::TextArea> FeetFld();
  fw::Ref<fw::Label> StaticText4();
  fw::Ref<fw::Label> StaticText2();
  fw::Ref<fw::TextArea> InchFld();
  fw::Ref<fw::TextArea> WeightFld();
  fw::Ref<fw::Label> StaticText1();
  fw::Ref<fw::PushButton> ClearBtn();
  fw::Ref<fw::PushButton> CalculateBtn();
  fw::Ref<fw::Label> StaticText7();
  fw::Ref<fw::Canvas> Canvas3();
  fw::Ref<fw::Label> StaticText8();
  fw::Ref<fw::PushButton> InfoBtn();
  fw::Ref<fw::Label> BMIFld();

  // The key filter of the three fields: True refuses the key.
  bool FeetFld_KeyDown(fw::Ref<fw::TextArea> field, fw::String key);
  bool InchFld_KeyDown(fw::Ref<fw::TextArea> field, fw::String key);
  bool WeightFld_KeyDown(fw::Ref<fw::TextArea> field, fw::String key);
  void ClearBtn_Action(fw::Ref<fw::PushButton> button);
  void CalculateBtn_Action(fw::Ref<fw::PushButton> button);
  bool InfoBtn_MouseDown(fw::Ref<fw::PushButton> button, std::int64_t x, std::int64_t y);

  void AddMenuHandlers(fw::Ref<fw::Window> window) override;
  void Event_Close() override;
  void Event_Activate() override;
  void Event_EnableMenuItems() override;
  bool _DescriptionMenuItem_Action();
  bool _AboutTavik_Action();

  std::string ClassName() const override { return kClassName; }

 private:
  bool FilterKey(const fw::String& key);
};

// The calculator window: the open one, or a new one (visible once made).
fw::Ref<class ControlWnd> ControlWnd();

// The messages of the three range checks, in the order Calculate makes them.
namespace calculator {
inline constexpr const char* kWeightMessage = "Weight must range from 100 to 300 pounds";
inline constexpr const char* kFeetMessage = "Feet must range from 4 to 6";
inline constexpr const char* kInchesMessage = "Inches must range from 0 to 11";
}  // namespace calculator
