// The calculator window's layout: its own list, the 16 controls in the order
// they are made, each with its class's keys in its class's order, and the
// six event bindings.
#include "calculator/ControlWndLayout.h"

#include <cstdint>
#include <stdexcept>

#include "calculator/ControlWnd.h"
#include "framework/Controls.h"
#include "shell/Logos.h"
#include "shell/StandardLists.h"
#include "shell/Windows.h"

namespace ControlWndLayout {
namespace {

using fw::Color;
using fw::EnumByte;
using fw::PropertyList;
using I = std::int64_t;

using shell::kNoIndex;
using shell::kWhite;
constexpr Color kBlack{0x00, 0x00, 0x00, 0x00};
constexpr Color kCaption{0x00, 0x00, 0x80, 0x00};
constexpr Color kGrey{0x7f, 0x7f, 0x7f, 0x00};
constexpr Color kBoxFill{0xe6, 0xe6, 0xe6, 0x00};

using Box = shell::Place;

PropertyList RoundRectangleList(const char* name, Box b) {
  return {{"Name", fw::String(name)},
          {"Index", kNoIndex},
          {"Left", b.left},
          {"Top", b.top},
          {"Width", b.width},
          {"Height", b.height},
          {"LockLeft", false},
          {"LockTop", false},
          {"LockRight", false},
          {"LockBottom", false},
          {"TabIndex", I{0}},
          {"TabPanelIndex", I{0}},
          {"AllowAutoDeactivate", true},
          {"BorderColor", kBlack},
          {"BorderThickness", 1.0},
          {"Enabled", true},
          {"FillColor", kBoxFill},
          {"Tooltip", fw::String()},
          {"CornerHeight", 16.0},
          {"CornerWidth", 16.0},
          {"Transparent", true},
          {"Visible", true},
          {"InitialParent", fw::String()}};
}

struct FieldData {
  const char* name;
  Box box;
  I tabIndex;
  const char* tooltip;
  bool multiline;
  bool styled;
  I maxChars;
  const char* mask;
};

PropertyList TextAreaList(const FieldData& d) {
  return {{"Name", fw::String(d.name)},
          {"Index", kNoIndex},
          {"Left", d.box.left},
          {"Top", d.box.top},
          {"Width", d.box.width},
          {"Height", d.box.height},
          {"LockLeft", true},
          {"LockTop", true},
          {"LockRight", true},
          {"LockBottom", false},
          {"TabIndex", d.tabIndex},
          {"TabPanelIndex", I{0}},
          {"TabStop", true},
          {"AllowAutoDeactivate", true},
          {"BackgroundColor", kWhite},
          {"HasBorder", true},
          {"Enabled", true},
          {"Format", fw::String()},
          {"Tooltip", fw::String(d.tooltip)},
          {"HideSelection", true},
          {"LineHeight", 0.0},
          {"LineSpacing", 1.0},
          {"Multiline", d.multiline},
          {"HasHorizontalScrollbar", false},
          {"HasVerticalScrollbar", false},
          {"AllowStyledText", d.styled},
          {"TextColor", kBlack},
          {"Transparent", true},
          {"AllowFocusRing", true},
          {"Visible", true},
          {"Bold", false},
          {"Italic", false},
          {"FontName", fw::String("Courier")},
          {"FontSize", 14.0f},
          {"FontUnit", EnumByte{0}},
          {"Underline", false},
          {"Value", fw::String()},
          {"AllowTabs", false},
          {"TextAlignment", I{2}},
          {"AllowSpellChecking", true},
          {"MaximumCharactersAllowed", d.maxChars},
          {"ValidationMask", fw::String(d.mask)},
          {"ReadOnly", false},
          {"DataSource", fw::String()},
          {"DataField", fw::String()},
          {"InitialParent", fw::String("RoundRectangle1")}};
}

PropertyList PushButtonList(const char* name, Box b, I tabIndex, const char* caption) {
  return {{"Name", fw::String(name)},
          {"Index", kNoIndex},
          {"Left", b.left},
          {"Top", b.top},
          {"Width", b.width},
          {"Height", b.height},
          {"LockLeft", true},
          {"LockTop", false},
          {"LockRight", true},
          {"LockBottom", false},
          {"TabIndex", tabIndex},
          {"TabPanelIndex", I{0}},
          {"TabStop", false},
          {"AllowAutoDeactivate", true},
          {"MacButtonStyle", I{0}},
          {"Cancel", false},
          {"Caption", fw::String(caption)},
          {"Default", true},
          {"Enabled", true},
          {"Tooltip", fw::String()},
          {"Transparent", true},
          {"Visible", true},
          {"FontName", fw::String("System")},
          {"FontSize", 12.0f},
          {"FontUnit", EnumByte{0}},
          {"Bold", false},
          {"Italic", false},
          {"Underline", false},
          {"InitialParent", fw::String()}};
}

}  // namespace

const PropertyList& WindowList() {
  static const PropertyList list = shell::WindowList({680, 300, 700, 600, 0, "Quorvel", true, true});
  return list;
}

const std::vector<std::pair<std::string, PropertyList>>& ControlLists() {
  constexpr const char* box = "RoundRectangle1";
  static const std::vector<std::pair<std::string, PropertyList>> lists = {
      {"RoundRectangle1", RoundRectangleList("RoundRectangle1", {50, 86, 600, 52})},
      {"StaticText5",
       shell::LabelList(
           {"StaticText5", {249, 100, 47, 20}, false, 0, false, true, 3, kCaption, "inches", true, true, 12.0f, box})},
      {"StaticText6",
       shell::LabelList(
           {"StaticText6", {197, 100, 54, 20}, false, 1, false, true, 0, kCaption, "and", true, false, 12.0f, box})},
      {"FeetFld", TextAreaList({"FeetFld", {151, 100, 40, 20}, 1, "Height in feet of 4 to 6", false, true, 1, "#"})},
      {"StaticText4",
       shell::LabelList(
           {"StaticText4", {112, 100, 35, 20}, false, 3, true, true, 3, kCaption, "feet", true, true, 12.0f, box})},
      {"StaticText2",
       shell::LabelList(
           {"StaticText2", {61, 100, 54, 20}, false, 4, false, true, 0, kCaption, "Height:", true, true, 14.0f, box})},
      {"InchFld", TextAreaList({"InchFld", {301, 101, 40, 20}, 2, "Height in inches of 0-11", true, false, 2, "##"})},
      {"WeightFld", TextAreaList({"WeightFld", {590, 101, 40, 20}, 3, "", false, true, 3, "###"})},
      {"StaticText1", shell::LabelList({"StaticText1",
                                        {458, 100, 130, 20},
                                        false,
                                        7,
                                        false,
                                        true,
                                        3,
                                        kCaption,
                                        "Weight in pounds:",
                                        true,
                                        true,
                                        14.0f,
                                        box})},
      {"ClearBtn", PushButtonList("ClearBtn", {310, 250, 100, 36}, 2, "Clear")},
      {"CalculateBtn", PushButtonList("CalculateBtn", {50, 250, 100, 36}, 3, "Calculate")},
      {"StaticText7",
       shell::LabelList(
           {"StaticText7", {127, -6, 533, 54}, false, 21, false, true, 2, kCaption, "Quorvel", true, true, 36.0f, ""})},
      {"Canvas3", shell::CanvasList({"Canvas3", {20, 5, 106, 45}, false, 22, true, true})},
      {"StaticText8",
       shell::LabelList(
           {"StaticText8", {50, 138, 600, 16}, false, 23, false, false, 2, kGrey, kNotice, true, false, 9.0f, ""})},
      {"InfoBtn", PushButtonList("InfoBtn", {560, 250, 100, 36}, 24, "Information")},
      {"BMIFld", shell::LabelList(
                     {"BMIFld", {50, 190, 600, 20}, false, 26, false, true, 2, kBlack, "", false, false, 14.0f, ""})},
  };
  return lists;
}

const PropertyList& ControlList(const std::string& name) {
  for (const auto& [controlName, list] : ControlLists()) {
    if (controlName == name) return list;
  }
  throw std::out_of_range("the calculator window has no layout for a control named " + name);
}

}  // namespace ControlWndLayout

void ControlWnd::Layout() { fw::RuntimeMassPropertySetter(*this, ControlWndLayout::WindowList()); }

void ControlWnd::CreateControls() { shell::SharedCreateControls(*this); }

void ControlWnd::_CreateControls0() {
  using ControlWndLayout::ControlList;
  constexpr const char* kKeyDown = "( TextArea, String ) as Boolean";
  constexpr const char* kAction = "( PushButton )";
  constexpr const char* kMouseDown = "( PushButton, Integer, Integer ) as Boolean";

  shell::MakeControl<fw::RoundRectangle>(*this, "RoundRectangle1", ControlList("RoundRectangle1"));
  shell::MakeControl<fw::Label>(*this, "StaticText5", ControlList("StaticText5"));
  shell::MakeControl<fw::Label>(*this, "StaticText6", ControlList("StaticText6"));
  shell::MakeControl<fw::TextArea>(*this, "FeetFld", ControlList("FeetFld"));
  shell::BindEvent(*this, "FeetFld", fw::kKeyDown, kKeyDown, &ControlWnd::FeetFld_KeyDown);
  shell::MakeControl<fw::Label>(*this, "StaticText4", ControlList("StaticText4"));
  shell::MakeControl<fw::Label>(*this, "StaticText2", ControlList("StaticText2"));
  shell::MakeControl<fw::TextArea>(*this, "InchFld", ControlList("InchFld"));
  shell::BindEvent(*this, "InchFld", fw::kKeyDown, kKeyDown, &ControlWnd::InchFld_KeyDown);
  shell::MakeControl<fw::TextArea>(*this, "WeightFld", ControlList("WeightFld"));
  shell::BindEvent(*this, "WeightFld", fw::kKeyDown, kKeyDown, &ControlWnd::WeightFld_KeyDown);
  shell::MakeControl<fw::Label>(*this, "StaticText1", ControlList("StaticText1"));
  shell::MakeControl<fw::PushButton>(*this, "ClearBtn", ControlList("ClearBtn"));
  shell::BindEvent(*this, "ClearBtn", fw::kAction, kAction, &ControlWnd::ClearBtn_Action);
  shell::MakeControl<fw::PushButton>(*this, "CalculateBtn", ControlList("CalculateBtn"));
  shell::BindEvent(*this, "CalculateBtn", fw::kAction, kAction, &ControlWnd::CalculateBtn_Action);
  shell::MakeControl<fw::Label>(*this, "StaticText7", ControlList("StaticText7"));
  shell::MakeControl<fw::Canvas>(*this, "Canvas3", ControlList("Canvas3"), [](const fw::Ref<fw::Canvas>& canvas) {
    canvas->Backdrop(BMIsmall());
    return true;  // look the canvas up again before its list
  });
  shell::MakeControl<fw::Label>(*this, "StaticText8", ControlList("StaticText8"));
  shell::MakeControl<fw::PushButton>(*this, "InfoBtn", ControlList("InfoBtn"));
  shell::BindEvent(*this, "InfoBtn", fw::kMouseDown, kMouseDown, &ControlWnd::InfoBtn_MouseDown);
  shell::MakeControl<fw::Label>(*this, "BMIFld", ControlList("BMIFld"));
}
