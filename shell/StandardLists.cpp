#include "shell/StandardLists.h"

namespace shell {

using fw::PropertyList;
using I = std::int64_t;

namespace {
// The sixteen keys that label and canvas lists begin with.
PropertyList Leading(const char* name, Place place, bool locked, I tabIndex, bool tabStop, bool enabled) {
  return {{"Name", fw::String(name)}, {"Index", kNoIndex},           {"Left", place.left},   {"Top", place.top},
          {"Width", place.width},     {"Height", place.height},      {"LockLeft", locked},   {"LockTop", locked},
          {"LockRight", locked},      {"LockBottom", locked},        {"TabIndex", tabIndex}, {"TabPanelIndex", I{0}},
          {"TabStop", tabStop},       {"AllowAutoDeactivate", true}, {"Enabled", enabled},   {"Tooltip", fw::String()}};
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
      {"DefaultLocation", I{0}},
      {"Visible", true},
      {"HasBackgroundColor", true},
      {"BackgroundColor", kWhite},
      {"MenuBarVisible", d.menuBarVisible},
      {"Left", I{0}},
      {"Top", I{0}},
      {"_mInitialControlsCreated", I{0}},
      {"LiveResize", false},
  };
}

PropertyList LabelList(const LabelData& d) {
  PropertyList list = Leading(d.name, d.place, d.locked, d.tabIndex, d.tabStop, d.enabled);
  list.insert(list.end(), {{"Multiline", false},
                           {"Selectable", false},
                           {"TextAlignment", d.alignment},
                           {"TextColor", d.color},
                           {"Transparent", true},
                           {"Value", fw::String(d.value)},
                           {"Visible", d.visible},
                           {"Bold", d.bold},
                           {"Italic", false},
                           {"FontName", fw::String("System")},
                           {"Underline", false},
                           {"FontSize", d.size},
                           {"FontUnit", fw::EnumByte{0}},
                           {"DataSource", fw::String()},
                           {"DataField", fw::String()},
                           {"InitialParent", fw::String(d.parent)}});
  return list;
}

PropertyList CanvasList(const CanvasData& d) {
  PropertyList list = Leading(d.name, d.place, d.locked, d.tabIndex, true, d.enabled);
  // The list names Transparent twice, True both times.
  list.insert(list.end(), {{"AllowFocusRing", d.focusRing},
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
