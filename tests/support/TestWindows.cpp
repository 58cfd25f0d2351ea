#include "tests/support/TestWindows.h"

#include <cstdint>

#include "framework/Properties.h"

namespace testsupport {

using I = std::int64_t;

void OneAreaWnd::Layout() { fw::RuntimeMassPropertySetter(*this, windowList_); }

void OneAreaWnd::CreateControls() {
  auto area = __New<fw::TextArea>();
  area->Constructor();
  _AddControl("Area", area);
  fw::RuntimeMassPropertySetter(area, areaList_);
}

fw::Ref<fw::TextArea> OneAreaWnd::Area() const { return fw::Cast<fw::TextArea>(_ControlByName("Area")); }

fw::Ref<OneAreaWnd> MakeOneAreaWnd(fw::PropertyList windowList, fw::PropertyList areaList) {
  auto window = fw::New<OneAreaWnd>(std::move(windowList), std::move(areaList));
  window->Constructor();
  return window;
}

fw::PropertyList PrintPageWindowList() { return {{"Width", I{427}}, {"Height", I{491}}, {"MenuBarVisible", false}}; }

fw::PropertyList PrintPageAreaList() {
  return {{"Left", I{10}},
          {"Top", I{10}},
          {"Width", I{400}},
          {"Height", I{470}},
          {"Multiline", true},
          {"ReadOnly", true},
          {"FontName", fw::String("Times")},
          {"FontSize", 12.0f}};
}

int OpenWindowsOf(const std::string& className) {
  int n = 0;
  for (const auto& window : fw::RuntimeOpenWindows()) n += window->ClassName() == className;
  return n;
}

}  // namespace testsupport
