// The About window's layout: its own list and its four controls, made in
// the order StaticText5, Canvas1, StaticText1, Timer1.
#include "info/AboutWndLayout.h"

#include <cstdint>
#include <stdexcept>

#include "info/AboutWnd.h"
#include "shell/Logos.h"
#include "shell/Windows.h"

namespace AboutWndLayout {
namespace {

using fw::Color;
using fw::PropertyList;
using I = std::int64_t;

constexpr I kNoIndex = -2147483648LL;
constexpr Color kWhite{0xff, 0xff, 0xff, 0x00};
constexpr Color kText{0x02, 0x00, 0x80, 0x00};

// The sixteen keys the three visible controls' lists begin with.
PropertyList Common(const char* name, I left, I top, I width, I height, I tabIndex, bool tabStop, bool enabled) {
  return {{"Name", fw::String(name)}, {"Index", kNoIndex},  {"Left", left},         {"Top", top},
          {"Width", width},           {"Height", height},   {"LockLeft", true},     {"LockTop", true},
          {"LockRight", true},        {"LockBottom", true}, {"TabIndex", tabIndex}, {"TabPanelIndex", I{0}},
          {"TabStop", tabStop},       {"AllowAutoDeactivate", true}, {"Enabled", enabled}, {"Tooltip", fw::String()}};
}

PropertyList LabelList(PropertyList list, const char* value, bool bold, float size) {
  const PropertyList rest = {{"Multiline", false},
                             {"Selectable", false},
                             {"TextAlignment", I{2}},
                             {"TextColor", kText},
                             {"Transparent", true},
                             {"Value", fw::String(value)},
                             {"Visible", true},
                             {"Bold", bold},
                             {"Italic", false},
                             {"FontName", fw::String("System")},
                             {"Underline", false},
                             {"FontSize", size},
                             {"FontUnit", fw::EnumByte{0}},
                             {"DataSource", fw::String()},
                             {"DataField", fw::String()},
                             {"InitialParent", fw::String()}};
  list.insert(list.end(), rest.begin(), rest.end());
  return list;
}

PropertyList CanvasList(PropertyList list) {
  const PropertyList rest = {{"AllowFocusRing", false}, {"Visible", true},      {"AllowFocus", false},
                             {"AllowTabs", false},      {"Transparent", true},  {"DoubleBuffer", false},
                             {"Transparent", true},     {"InitialParent", fw::String()}};
  list.insert(list.end(), rest.begin(), rest.end());
  return list;
}

}  // namespace

const PropertyList& WindowList() {
  static const PropertyList list = {
      {"Width", I{300}},
      {"Height", I{200}},
      {"MinimumWidth", I{64}},
      {"MinimumHeight", I{64}},
      {"MaximumWidth", I{32000}},
      {"MaximumHeight", I{32000}},
      {"Type", I{2}},
      {"Title", fw::String()},
      {"HasCloseButton", false},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", true},
      {"HasFullScreenButton", false},
      {"Resizeable", false},
      {"Composite", false},
      {"MacProcID", I{0}},
      {"FullScreen", false},
      {"DefaultLocation", I{0}},
      {"Visible", true},
      {"HasBackgroundColor", true},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", true},
      {"Left", I{0}},
      {"Top", I{0}},
      {"_mInitialControlsCreated", I{0}},
      {"LiveResize", false},
  };
  return list;
}

const std::vector<std::pair<std::string, PropertyList>>& ControlLists() {
  static const std::vector<std::pair<std::string, PropertyList>> lists = {
      {"StaticText5", LabelList(Common("StaticText5", 1, 183, 298, 15, 0, false, true), kNotice, false, 10.0f)},
      {"Canvas1", CanvasList(Common("Canvas1", 47, 61, 207, 78, 1, true, false))},
      {"StaticText1", LabelList(Common("StaticText1", 1, 6, 298, 36, 3, false, true), "Quorvel", true, 22.0f)},
      {"Timer1", {{"RunMode", I{1}}, {"Period", I{4000}}}},
  };
  return lists;
}

const PropertyList& ControlList(const std::string& name) {
  for (const auto& [controlName, list] : ControlLists()) {
    if (controlName == name) return list;
  }
  throw std::out_of_range("the About window has no layout for a control named " + name);
}

}  // namespace AboutWndLayout

void AboutWnd::Layout() { fw::RuntimeMassPropertySetter(*this, AboutWndLayout::WindowList()); }

void AboutWnd::CreateControls() { shell::SharedCreateControls(*this); }

void AboutWnd::_CreateControls0() {
  using AboutWndLayout::ControlList;
  shell::MakeControl<fw::Label>(*this, "StaticText5", ControlList("StaticText5"));
  shell::MakeControl<fw::Canvas>(*this, "Canvas1", ControlList("Canvas1"), [](const fw::Ref<fw::Canvas>& canvas) {
    canvas->Backdrop(BMImedium());
    return true;  // look the canvas up again before its list
  });
  shell::MakeControl<fw::Label>(*this, "StaticText1", ControlList("StaticText1"));
  // The timer is armed by its list.
  shell::MakeControl<_wrapper_Timer1>(*this, "Timer1", ControlList("Timer1"));
  shell::BindEvent(*this, "Timer1", fw::kTimerAction, "( Timer )", &AboutWnd::Timer1_Action);
}
