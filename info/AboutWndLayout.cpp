// The About window's layout: its own list and its four controls, made in
// the order StaticText5, Canvas1, StaticText1, Timer1.
#include "info/AboutWndLayout.h"

#include <cstdint>
#include <stdexcept>

#include "info/AboutWnd.h"
#include "shell/Logos.h"
#include "shell/StandardLists.h"
#include "shell/Windows.h"

namespace AboutWndLayout {
namespace {

using fw::Color;
using fw::PropertyList;
using I = std::int64_t;

constexpr Color kText{0x02, 0x00, 0x80, 0x00};

}  // namespace

const PropertyList& WindowList() {
  static const PropertyList list = shell::WindowList({300, 200, 32000, 32000, 2, "", false, true});
  return list;
}

const std::vector<std::pair<std::string, PropertyList>>& ControlLists() {
  static const std::vector<std::pair<std::string, PropertyList>> lists = {
      {"StaticText5",
       shell::LabelList(
           {"StaticText5", {1, 183, 298, 15}, true, 0, false, true, 2, kText, kNotice, true, false, 10.0f, ""})},
      {"Canvas1", shell::CanvasList({"Canvas1", {47, 61, 207, 78}, true, 1, false, false})},
      {"StaticText1",
       shell::LabelList(
           {"StaticText1", {1, 6, 298, 36}, true, 3, false, true, 2, kText, "Quorvel", true, true, 22.0f, ""})},
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
