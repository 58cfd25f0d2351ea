// The description window's layout: the program's menu bar installed as the
// window's own, the window's list, and its two text areas, made in the
// order DescribeFld, DescribeFld2. Both areas sit at (-1, -1), so that their
// borders outside the window are clipped away.
#include "info/DescriptionWndLayout.h"

#include <stdexcept>

#include "info/DescriptionWnd.h"
#include "shell/Menu.h"
#include "shell/StandardLists.h"
#include "shell/Windows.h"

namespace DescriptionWndLayout {
namespace {

using fw::Color;
using fw::EnumByte;
using fw::PropertyList;
using I = std::int64_t;

using shell::kNoIndex;
using shell::kWhite;
constexpr Color kBlack{0x00, 0x00, 0x00, 0x00};

// What differs between the two text areas.
struct AreaData {
  const char* name;
  shell::Place place;
  I tabIndex;
  bool styled;
  const char* fontName;
  float fontSize;
  fw::String value;
  I alignment;  // 0 the default, 1 left
};

PropertyList AreaList(const AreaData& d) {
  return {{"Name", fw::String(d.name)},
          {"Index", kNoIndex},
          {"Left", d.place.left},
          {"Top", d.place.top},
          {"Width", d.place.width},
          {"Height", d.place.height},
          {"LockLeft", true},
          {"LockTop", true},
          {"LockRight", true},
          {"LockBottom", true},
          {"TabIndex", d.tabIndex},
          {"TabPanelIndex", I{0}},
          {"TabStop", true},
          {"Enabled", true},
          {"Format", fw::String()},
          {"HideSelection", true},
          {"LineHeight", 0.0},
          {"LineSpacing", 1.0},
          {"Multiline", true},
          {"TextColor", kBlack},
          {"Transparent", true},
          {"Visible", true},
          {"Bold", false},
          {"Italic", false},
          {"Underline", false},
          {"ReadOnly", true},
          {"DataSource", fw::String()},
          {"DataField", fw::String()},
          {"InitialParent", fw::String()},
          {"AllowAutoDeactivate", true},
          {"BackgroundColor", kWhite},
          {"HasBorder", true},
          {"Tooltip", fw::String()},
          {"HasHorizontalScrollbar", false},
          {"HasVerticalScrollbar", true},
          {"AllowStyledText", d.styled},
          {"AllowFocusRing", false},
          {"FontName", fw::String(d.fontName)},
          {"FontSize", d.fontSize},
          {"FontUnit", EnumByte{0}},
          {"Value", d.value},
          {"AllowTabs", false},
          {"TextAlignment", d.alignment},
          {"AllowSpellChecking", true},
          {"MaximumCharactersAllowed", I{0}},
          {"ValidationMask", fw::String()}};
}

}  // namespace

const PropertyList& WindowList() {
  static const PropertyList list = {
      {"Width", I{427}},
      {"Height", I{491}},
      {"MinimumWidth", I{64}},
      {"MinimumHeight", I{64}},
      {"MaximumWidth", I{32000}},
      {"MaximumHeight", I{32000}},
      {"Type", I{0}},
      {"Title", fw::String("Description")},
      {"HasCloseButton", true},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", true},
      {"HasFullScreenButton", false},
      {"Resizeable", false},
      {"Composite", false},
      {"MacProcID", I{0}},
      {"FullScreen", false},
      {"DefaultLocation", I{0}},
      {"Visible", false},  // made hidden: the caller shows it
      {"HasBackgroundColor", false},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", false},  // carried, not displayed: Alt reveals it
      {"Left", I{0}},
      {"Top", I{0}},
      {"_mInitialControlsCreated", I{0}},
      {"LiveResize", false},
  };
  return list;
}

const std::vector<std::pair<std::string, PropertyList>>& ControlLists() {
  static const std::vector<std::pair<std::string, PropertyList>> lists = {
      {"DescribeFld", AreaList({"DescribeFld", {-1, -1, 427, 478}, 0, false, "Courier", 10.0f, "\r\n", 0})},
      {"DescribeFld2", AreaList({"DescribeFld2", {-1, -1, 429, 476}, 1, true, "Times", 12.0f, DescriptionText(), 1})},
  };
  return lists;
}

const PropertyList& ControlList(const std::string& name) {
  for (const auto& [controlName, list] : ControlLists()) {
    if (controlName == name) return list;
  }
  throw std::out_of_range("the description window has no layout for a control named " + name);
}

}  // namespace DescriptionWndLayout

void DescriptionWnd::Layout() {
  MenuBar(::Menu());
  fw::RuntimeMassPropertySetter(*this, DescriptionWndLayout::WindowList());
}

void DescriptionWnd::CreateControls() { shell::SharedCreateControls(*this); }

void DescriptionWnd::_CreateControls0() {
  using DescriptionWndLayout::ControlList;
  shell::MakeControl<fw::TextArea>(*this, "DescribeFld", ControlList("DescribeFld"));
  shell::MakeControl<fw::TextArea>(*this, "DescribeFld2", ControlList("DescribeFld2"));
}
