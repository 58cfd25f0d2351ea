#include "shell/StandardLists.h"

#include "framework/Protocol.h"

namespace shell {

using fw::PropertyList;
using I = std::int64_t;

PropertyList ControlHead(const std::string& name, Place place, Locks locks, I tabIndex) {
  return {{"Name", fw::String(name)}, {"Index", fw::kNoIndex},      {"Left", place.left},     {"Top", place.top},
          {"Width", place.width},     {"Height", place.height},     {"LockLeft", locks.left}, {"LockTop", locks.top},
          {"LockRight", locks.right}, {"LockBottom", locks.bottom}, {"TabIndex", tabIndex},   {"TabPanelIndex", I{0}}};
}

namespace {
// The sixteen keys that label and canvas lists begin with.
PropertyList Leading(const std::string& name, Place place, bool locked, I tabIndex, bool tabStop, bool enabled) {
  PropertyList list = ControlHead(name, place, {locked, locked, locked, locked}, tabIndex);
  list.insert(list.end(),
              {{"TabStop", tabStop}, {"AllowAutoDeactivate", true}, {"Enabled", enabled}, {"Tooltip", fw::String()}});
  return list;
}
}  // namespace

PropertyList WindowList(const WindowData& d) {
  return {
      {"Width", d.width},
      {"Height", d.height},
      {"MinimumWidth", I{64}},
      {"MinimumHeight", I{64}},
      {"MaximumWidth", d.maximumWidth},
      {"MaximumHeight", d.maximumHeight},
      {"Type", d.type},
      {"Title", fw::String(d.title)},
      {"HasCloseButton", d.hasCloseButton},
      {"HasMaximizeButton", false},
      {"HasMinimizeButton", true},
      {"HasFullScreenButton", false},
      {"Resizeable", false},
      {"Composite", false},
      {"MacProcID", I{0}},
      {"FullScreen", false},
      {"DefaultLocation", fw::kCentredOnScreen},
      {"Visible", d.visible},
      {"HasBackgroundColor", d.hasBackgroundColor},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", d.menuBarVisible},
      {"Left", I{0}},
      {"Top", I{0}},
      {"_mInitialControlsCreated", I{0}},
      {"LiveResize", false},
  };
}

PropertyList LabelList::operator()(const std::string& name) const {
  PropertyList list = Leading(name, place, locked, tabIndex, tabStop, enabled);
  list.insert(list.end(), {{"Multiline", false},
                           {"Selectable", false},
                           {"TextAlignment", alignment},
                           {"TextColor", color},
                           {"Transparent", true},
                           {"Value", fw::String(value)},
                           {"Visible", visible},
                           {"Bold", bold},
                           {"Italic", false},
                           {"FontName", fw::String("System")},
                           {"Underline", false},
                           {"FontSize", size},
                           {"FontUnit", fw::kFontUnitDefault},
                           {"DataSource", fw::String()},
                           {"DataField", fw::String()},
                           {"InitialParent", fw::String(parent)}});
  return list;
}

PropertyList CanvasList::operator()(const std::string& name) const {
  PropertyList list = Leading(name, place, locked, tabIndex, true, enabled);
  // The list names Transparent twice, True both times.
  list.insert(list.end(), {{"AllowFocusRing", focusRing},
                           {"Visible", true},
                           {"AllowFocus", false},
                           {"AllowTabs", false},
                           {"Transparent", true},
                           {"DoubleBuffer", false},
                           {"Transparent", true},
                           {"InitialParent", fw::String()}});
  return list;
}

}  // namespace shell
