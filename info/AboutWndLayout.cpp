// The About window's layout table: its own list, then its four controls in
// the order they are made, StaticText5, Canvas1, StaticText1, Timer1.
#include "info/AboutWndLayout.h"

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Protocol.h"
#include "info/AboutWnd.h"
#include "shell/Logos.h"
#include "shell/StandardLists.h"

namespace AboutWndLayout {
namespace {

using fw::PropertyList;
using shell::LabelList;
using I = std::int64_t;

constexpr fw::Color kText{0x02, 0x00, 0x80, 0x00};

// A timer's list sets no name or index: the timer is known by the name it
// is registered under. Applying it arms the timer.
struct TimerList {
  I runMode;
  I period;  // milliseconds
  PropertyList operator()(const std::string&) const { return {{"RunMode", runMode}, {"Period", period}}; }
};

using Row = fw::ControlRow<class AboutWnd>;

// The controls, in creation order.
std::vector<Row> Controls() {
  return {
      {.name = "StaticText5",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {1, 183, 298, 15},
                         .locked = true,
                         .tabIndex = 0,
                         .alignment = fw::kAlignCentre,
                         .color = kText,
                         .value = kNotice,
                         .size = 10}},
      {.name = "Canvas1",
       .make = fw::Make<fw::Canvas>,
       .beforeList = fw::Backdrop(&BMImedium),
       .list =
           shell::CanvasList{
               .place = {47, 61, 207, 78}, .locked = true, .tabIndex = 1, .enabled = false, .focusRing = false}},
      {.name = "StaticText1",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {1, 6, 298, 36},
                         .locked = true,
                         .tabIndex = 3,
                         .alignment = fw::kAlignCentre,
                         .color = kText,
                         .value = "Quorvel",
                         .bold = true,
                         .size = 22}},
      {.name = "Timer1",
       .make = fw::Make<AboutWnd::_wrapper_Timer1>,
       .list = TimerList{.runMode = fw::kTimerOnce, .period = 4000},
       .bind = fw::Bind(fw::kTimerActionEvent, &AboutWnd::Timer1_Action)},
  };
}

// The window's own list: a dialog frame without title or close box.
constexpr shell::WindowData kWindow{.width = 300,
                                    .height = 200,
                                    .maximumWidth = 32000,
                                    .maximumHeight = 32000,
                                    .type = fw::kDialogWindow,
                                    .hasCloseButton = false};

const fw::LayoutTable<class AboutWnd>& Table() {
  static const fw::LayoutTable<class AboutWnd> table({.list = shell::WindowList(kWindow), .controls = Controls()});
  return table;
}

}  // namespace

const fw::LayoutLists& Lists() { return Table(); }

}  // namespace AboutWndLayout

void AboutWnd::Layout() { AboutWndLayout::Table().ApplyWindowList(*this); }

void AboutWnd::CreateControls() { fw::SharedCreateControls(*this); }

void AboutWnd::_CreateControls0() { AboutWndLayout::Table().MakeControls(*this); }
