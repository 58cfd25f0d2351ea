#include "shell/StandardLists.h"

namespace shell {

using fw::PropertyList;
using I = std::int64_t;

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
  return {{"Name", fw::String(d.name)},
          {"Index", kNoIndex},
          {"Left", d.place.left},
          {"Top", d.place.top},
          {"Width", d.place.width},
          {"Height", d.place.height},
          {"LockLeft", d.locked},
          {"LockTop", d.locked},
          {"LockRight", d.locked},
          {"LockBottom", d.locked},
          {"TabIndex", d.tabIndex},
          {"TabPanelIndex", I{0}},
          {"TabStop", d.tabStop},
          {"AllowAutoDeactivate", true},
          {"Enabled", d.enabled},
          {"Tooltip", fw::String()},
          {"Multiline", false},
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
          {"InitialParent", fw::String(d.parent)}};
}

PropertyList CanvasList(const CanvasData& d) {
  // The list names Transparent twice, True both times.
  return {{"Name", fw::String(d.name)},
          {"Index", kNoIndex},
          {"Left", d.place.left},
          {"Top", d.place.top},
          {"Width", d.place.width},
          {"Height", d.place.height},
          {"LockLeft", d.locked},
          {"LockTop", d.locked},
          {"LockRight", d.locked},
          {"LockBottom", d.locked},
          {"TabIndex", d.tabIndex},
          {"TabPanelIndex", I{0}},
          {"TabStop", true},
          {"AllowAutoDeactivate", true},
          {"Enabled", d.enabled},
          {"Tooltip", fw::String()},
          {"AllowFocusRing", d.focusRing},
          {"Visible", true},
          {"AllowFocus", false},
          {"AllowTabs", false},
          {"Transparent", true},
          {"DoubleBuffer", false},
          {"Transparent", true},
          {"InitialParent", fw::String()}};
}

}  // namespace shell
