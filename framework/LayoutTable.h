// A window's layout as a table, and the loops that build the window from it.
//
// A table holds the window's own property list (with a step that runs
// before it, such as installing the window's own menu bar) and one row per
// control in creation order: its name, the step that makes it (Make, which
// names its class), a step that runs before its list (a canvas's backdrop),
// its list and the step that binds its event (Bind). A row writes the
// control's name once; the row's list builder receives it.
//
// MakeControls builds each control completely before the next one: new,
// Constructor, _AddControl, looked up by name, the before-list step (and a
// second lookup), its property list, then its binding (after a third). The
// lists are built once, when the table is made, and found by control name;
// a missing one fails loudly, naming the control. An exception in any step stops the
// building there and passes on; the controls made so far stay.
//
// The table knows no keys and no values: which keys a class's list holds,
// in which order, is the program's layout data.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/Controls.h"
#include "framework/Delegate.h"
#include "framework/Properties.h"
#include "framework/Protocol.h"
#include "framework/Window.h"

namespace fw {

// The CreateControls body of every window: the window's own _CreateControls0.
template <class W>
void SharedCreateControls(W& window) {
  window._CreateControls0();
}

// A window's control accessor: the control registered under `name`, as its
// class, or none when the window has no such control (the caller's first
// use of it then raises NilObjectException). Nothing is kept.
template <class T>
Ref<T> ControlNamed(const Window& window, const std::string& name) {
  return Cast<T>(window._ControlByName(name));
}

// The same for the building steps, where a missing control is a fault of
// the layout: it raises NilObjectException naming the control.
template <class T>
Ref<T> RequireControl(const Window& window, const std::string& name) {
  auto control = window._ControlByName(name);
  if (!control) throw NilObjectException(window.ClassName() + " has no control named " + name);
  return Cast<T>(control);
}

// A control event as a binding names it: the event's number and the
// signature text its delegate must carry.
struct ControlEvent {
  int number = -1;
  const char* signature = "";
};
inline constexpr ControlEvent kTextAreaKeyDownEvent{kKeyDown, kTextAreaKeyDownSignature};
inline constexpr ControlEvent kPushButtonActionEvent{kAction, kPushButtonActionSignature};
inline constexpr ControlEvent kPushButtonMouseDownEvent{kMouseDown, kPushButtonMouseDownSignature};
inline constexpr ControlEvent kTimerActionEvent{kTimerAction, kTimerActionSignature};

// A row's make step: new, Constructor and _AddControl for a control of
// class T, which is then looked up by name, as the window now holds it.
template <class T>
Ref<Control> Make(Window& window, const std::string& name) {
  {
    auto control = window.__New<T>();
    control->Constructor();
    window._AddControl(name, control);
  }
  return RequireControl<T>(window, name);
}
using MakeStep = Ref<Control> (*)(Window& window, const std::string& name);

// A row's bind step: binds `event` of the control to `operation` of the
// window W, an operation of any signature.
template <class W>
using BindStep = std::function<void(W& window, const Ref<Control>& control)>;
template <class W, class R, class... A>
BindStep<W> Bind(ControlEvent event, R (W::*operation)(A...)) {
  return [event, operation](W& window, const Ref<Control>& control) {
    RuntimeAddEventHandler(control, event.number, RuntimeCreateDelegate(event.signature, Self(&window), operation));
  };
}

// The step before a canvas's list: its backdrop, the picture that
// `picture` yields (none when it cannot be loaded).
inline std::function<void(const Ref<Control>&)> Backdrop(Ref<Picture> (*picture)()) {
  return [picture](const Ref<Control>& control) { Cast<Canvas>(control)->Backdrop(picture()); };
}

// A list builder: the control's property list from its name.
using ListBuilder = std::function<PropertyList(const std::string& name)>;

// One control of a table, in the order of its creation steps.
template <class W>
struct ControlRow {
  const char* name;
  MakeStep make;
  std::function<void(const Ref<Control>&)> beforeList{};
  ListBuilder list;
  BindStep<W> bind{};
};

// A window's layout, as its layout file writes it.
template <class W>
struct WindowLayout {
  std::function<void(W&)> beforeList{};
  PropertyList list;
  std::vector<ControlRow<W>> controls;
};

// The lists of a window's layout as data: its own list and its controls',
// in creation order, found by control name.
class LayoutLists {
 public:
  using NamedLists = std::vector<std::pair<std::string, PropertyList>>;

  LayoutLists(std::string windowClass, PropertyList windowList, NamedLists controlLists)
      : windowClass_(std::move(windowClass)),
        windowList_(std::move(windowList)),
        controlLists_(std::move(controlLists)) {}

  const PropertyList& WindowList() const { return windowList_; }
  const NamedLists& ControlLists() const { return controlLists_; }
  // The list of the control `name`; std::out_of_range naming it when the
  // layout has none.
  const PropertyList& ControlList(const std::string& name) const {
    for (const auto& [controlName, list] : controlLists_) {
      if (controlName == name) return list;
    }
    throw std::out_of_range(windowClass_ + " has no layout for a control named " + name);
  }

 private:
  std::string windowClass_;
  PropertyList windowList_;
  NamedLists controlLists_;
};

// A window's layout with the steps that build the window of class W from it.
template <class W>
class LayoutTable : public LayoutLists {
 public:
  explicit LayoutTable(WindowLayout<W> layout)
      : LayoutLists(W::kClassName, std::move(layout.list), ListsOf(layout.controls)),
        beforeList_(std::move(layout.beforeList)),
        rows_(std::move(layout.controls)) {}

  // The body of W::Layout.
  void ApplyWindowList(W& window) const {
    if (beforeList_) beforeList_(window);
    RuntimeMassPropertySetter(window, WindowList());
  }

  // The body of W::_CreateControls0: every row, in order.
  void MakeControls(W& window) const {
    for (const auto& row : rows_) MakeControl(window, row);
  }

 private:
  static NamedLists ListsOf(const std::vector<ControlRow<W>>& rows) {
    NamedLists lists;
    for (const auto& row : rows) lists.emplace_back(row.name, row.list(row.name));
    return lists;
  }

  void MakeControl(W& window, const ControlRow<W>& row) const {
    auto control = row.make(window, row.name);
    if (row.beforeList) {
      row.beforeList(control);
      // Taken from the window again, by name, as every later step and every
      // accessor takes it: the window owns its controls, and the list must
      // reach the one it holds once the step (a call into the framework) has
      // run. A control lost on the way fails here, by name, rather than an
      // orphan receiving the list.
      control = RequireControl<Control>(window, row.name);
    }
    RuntimeMassPropertySetter(control, ControlList(row.name));
    // Looked up again for the binding, for the same reason.
    if (row.bind) row.bind(window, RequireControl<Control>(window, row.name));
  }

  std::function<void(W&)> beforeList_;
  std::vector<ControlRow<W>> rows_;
};

}  // namespace fw
