// A top-level window built from layout data. The runtime keeps every open
// window, shown or hidden, by its class name until it is closed.
//
// Window::Constructor raises the set-up events Layout, CreateControls and
// AddMenuHandlers, then Open, and shows the window if its list said
// Visible. Later events (Activate, Close, EnableMenuItems, KeyDown,
// MouseDown) come from the toolkit's peer (framework/Peers.h) through
// RuntimeCallProgram; without a toolkit the window is model-only. A window
// does not lay its controls out: each control keeps the place its list
// gives it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "framework/Delegate.h"
#include "framework/Menu.h"
#include "framework/Properties.h"
#include "framework/Protocol.h"

namespace fw {

class Control;
class PushButton;

namespace detail {
class WindowPeer;
}

class Window : public Configurable {
 public:
  Window();
  ~Window() override;

  // Sets the window up (see the header comment). An exception in a set-up
  // event passes to the caller and leaves no window open.
  virtual void Constructor();

  void Show();
  // Hides the window; it stays open with all its state.
  void Hide();
  void Close();
  bool IsOpen() const;
  bool IsShown() const;

  Ref<fw::MenuBar> MenuBar() const;
  void MenuBar(const Ref<fw::MenuBar>& bar);

  void _AddMenuHandler(const String& itemName, const Ref<Delegate>& handler);
  Ref<Delegate> MenuHandler(const String& itemName) const;

  // A new control of class T that belongs to this window.
  template <class T>
  Ref<T> __New() {
    CheckUIThread("Window.__New");
    auto control = New<T>();
    control->AttachTo(this);
    return control;
  }
  void _AddControl(const String& name, const Ref<Control>& control);
  // The control registered under `name`, or none.
  Ref<Control> _ControlByName(const String& name) const;
  const std::vector<Ref<Control>>& Controls() const { return controls_; }

  // Properties of the layout list.
  std::int64_t Width() const { return width_; }
  void Width(std::int64_t v);
  std::int64_t Height() const { return height_; }
  void Height(std::int64_t v);
  std::int64_t MinimumWidth() const { return minWidth_; }
  void MinimumWidth(std::int64_t v);
  std::int64_t MinimumHeight() const { return minHeight_; }
  void MinimumHeight(std::int64_t v);
  std::int64_t MaximumWidth() const { return maxWidth_; }
  void MaximumWidth(std::int64_t v);
  std::int64_t MaximumHeight() const { return maxHeight_; }
  void MaximumHeight(std::int64_t v);
  std::int64_t Type() const { return type_; }
  void Type(std::int64_t v);
  const String& Title() const { return title_; }
  void Title(const String& v);
  bool HasCloseButton() const { return hasClose_; }
  void HasCloseButton(bool v);
  bool HasMaximizeButton() const { return hasMaximize_; }
  void HasMaximizeButton(bool v);
  bool HasMinimizeButton() const { return hasMinimize_; }
  void HasMinimizeButton(bool v);
  bool Resizeable() const { return resizeable_; }
  void Resizeable(bool v);
  bool FullScreen() const { return fullScreen_; }
  void FullScreen(bool v);
  std::int64_t DefaultLocation() const { return defaultLocation_; }
  void DefaultLocation(std::int64_t v);
  // Whether the window is to be on screen; Constructor shows it when True.
  bool Visible() const { return visible_; }
  void Visible(bool v);
  bool HasBackgroundColor() const { return hasBackground_; }
  void HasBackgroundColor(bool v);
  Color BackgroundColor() const { return background_; }
  void BackgroundColor(Color v);
  bool MenuBarVisible() const { return menuBarVisible_; }
  void MenuBarVisible(bool v);
  std::int64_t Left() const { return left_; }
  void Left(std::int64_t v);
  std::int64_t Top() const { return top_; }
  void Top(std::int64_t v);

  // Set-up events: the class's event table. The defaults do nothing.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers(Ref<Window> /*window*/) {}
  // Later events.
  virtual void Event_Open() {}
  virtual void Event_Activate() {}
  virtual void Event_Close() {}
  virtual void Event_EnableMenuItems() {}
  // Keys that no control takes; True claims the key.
  virtual bool Event_KeyDown(String /*key*/) { return false; }
  // Presses on the background and on labels; True claims the press.
  virtual bool Event_MouseDown(std::int64_t /*x*/, std::int64_t /*y*/) { return false; }

  // Presses the window's default button, if it has one: the first button
  // with Default True in reading order. Returns whether one was pressed.
  bool PressDefaultButton();

  const PropertySheet& Sheet() const override;
  std::string ClassName() const override { return "Window"; }

  detail::WindowPeer* Peer() const { return peer_.get(); }

 private:
  void ApplyFrame();
  void ApplyGeometry();
  void Unregister();

  std::unique_ptr<detail::WindowPeer> peer_;
  std::vector<Ref<Control>> controls_;
  std::map<String, Ref<Control>> controlsByName_;
  std::map<String, Ref<Delegate>> menuHandlers_;
  Ref<fw::MenuBar> menuBar_;
  std::int64_t width_ = 300, height_ = 200, minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000,
               type_ = kDocumentWindow, defaultLocation_ = kCentredOnScreen, left_ = 0, top_ = 0;
  String title_;
  bool hasClose_ = true, hasMaximize_ = true, hasMinimize_ = true, resizeable_ = true, fullScreen_ = false,
       visible_ = true, hasBackground_ = false, menuBarVisible_ = true, open_ = false, shownOnce_ = false,
       shown_ = false;  // whether a model-only window is on screen
  Color background_{0xff, 0xff, 0xff, 0};
};

// The open window of that class name, shown or hidden, or none.
Ref<Window> RuntimeGetImplicitWindow(const std::string& className);
// The open windows, in the order they were opened.
std::vector<Ref<Window>> RuntimeOpenWindows();
// The active window, or none.

// The accessor pattern of the program's windows: the open window of class
// T (named T::kClassName), or a new one, constructed.
template <class T>
Ref<T> RuntimeImplicitWindow() {
  auto open = RuntimeGetImplicitWindow(T::kClassName);
  if (open) return Cast<T>(open);
  auto window = New<T>();
  window->Constructor();
  return window;
}

}  // namespace fw
