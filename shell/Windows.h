// What the program's three windows share when they build themselves: the
// CreateControls body, the making of one control from its property list,
// and the binding of a control event to one of the window's handlers.
#pragma once

#include <string>

#include "framework/Controls.h"
#include "framework/Window.h"

namespace shell {

// The CreateControls body of every window: the window's own _CreateControls0.
template <class W>
void SharedCreateControls(W& window) {
  window._CreateControls0();
}

// Makes one control of class T in `window`: new, constructed, registered
// under `name`, looked up again, `beforeList` (a backdrop, say), then its
// property list. Returns it as looked up by name.
template <class T, class Before>
fw::Ref<T> MakeControl(fw::Window& window, const std::string& name, const fw::PropertyList& list, Before beforeList) {
  {
    auto control = window.__New<T>();
    control->Constructor();
    window._AddControl(name, control);
  }
  auto control = fw::Cast<T>(window._ControlByName(name));
  if (beforeList(control)) control = fw::Cast<T>(window._ControlByName(name));
  fw::RuntimeMassPropertySetter(control, list);
  return control;
}

template <class T>
fw::Ref<T> MakeControl(fw::Window& window, const std::string& name, const fw::PropertyList& list) {
  return MakeControl<T>(window, name, list, [](const fw::Ref<T>&) { return false; });
}

// The control registered under `name`, as its class; a missing one raises
// NilObjectException naming it.
template <class T>
fw::Ref<T> ControlNamed(const fw::Window& window, const std::string& name) {
  auto control = window._ControlByName(name);
  if (!control) throw fw::NilObjectException(window.ClassName() + " has no control named " + name);
  return fw::Cast<T>(control);
}

// Binds event `eventNumber` of the control `name` to `handler`, an
// operation of the window W, under the event's signature text.
template <class W, class R, class... A>
void BindEvent(W& window, const std::string& name, int eventNumber, const char* signature, R (W::*handler)(A...)) {
  auto control = ControlNamed<fw::Control>(window, name);
  auto delegate = fw::RuntimeCreateDelegate(signature, fw::Self(&window), handler);
  fw::RuntimeAddEventHandler(control, eventNumber, delegate);
}

}  // namespace shell
