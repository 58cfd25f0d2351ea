#include "framework/Window.h"

#include <algorithm>

#include "framework/Controls.h"
#include "framework/Peers.h"
#include "framework/Protocol.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"

namespace fw {
namespace {

std::vector<Ref<Window>>& OpenWindows() {
  static std::vector<Ref<Window>> windows;
  return windows;
}

// Appends the controls inside `parent` (by name; empty for the window) to
// `ordered` by TabIndex, creation order breaking ties. Recursive, because a
// container's children come right after it and containers nest.
void AppendInTabOrder(const std::vector<Ref<Control>>& controls, const String& parent,
                      std::vector<RectControl*>& ordered) {
  std::vector<std::pair<std::int64_t, RectControl*>> level;
  for (const auto& control : controls) {
    auto* rect = dynamic_cast<RectControl*>(control.get());
    if (rect && rect->InitialParent() == parent) level.emplace_back(rect->TabIndex(), rect);
  }
  std::stable_sort(level.begin(), level.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (auto& [index, rect] : level) {
    ordered.push_back(rect);
    if (!rect->Name().empty()) AppendInTabOrder(controls, rect->Name(), ordered);
  }
}

}  // namespace

Window::Window() = default;

Window::~Window() {
  // The controls' widgets go before the window's.
  controls_.clear();
  controlsByName_.clear();
  peer_.reset();
}

void Window::Constructor() {
  CheckUIThread("Window.Constructor");
  detail::Step("Window.Constructor");
  auto self = Self(this);
  if (auto* toolkit = detail::InstalledToolkit()) peer_ = toolkit->MakeWindow(*this);
  open_ = true;
  OpenWindows().push_back(self);
  try {
    Layout();
    CreateControls();
    AddMenuHandlers(self);
    ApplyFrame();
    Event_Open();
  } catch (...) {
    Unregister();
    if (peer_) peer_->Dispose();
    throw;
  }
  if (visible_) Show();
}

const PropertySheet& Window::Sheet() const {
  static const PropertySheet sheet = [] {
    PropertySheet s("Window", nullptr);
    s.Add("Width", &Window::Width)
        .Add("Height", &Window::Height)
        .Add("MinimumWidth", &Window::MinimumWidth)
        .Add("MinimumHeight", &Window::MinimumHeight)
        .Add("MaximumWidth", &Window::MaximumWidth)
        .Add("MaximumHeight", &Window::MaximumHeight)
        .Add("Type", &Window::Type)
        .Add("Title", &Window::Title)
        .Add("HasCloseButton", &Window::HasCloseButton)
        .Add("HasMaximizeButton", &Window::HasMaximizeButton)
        .Add("HasMinimizeButton", &Window::HasMinimizeButton)
        .Add("Resizeable", &Window::Resizeable)
        .Add("FullScreen", &Window::FullScreen)
        .Add("DefaultLocation", &Window::DefaultLocation)
        .Add("Visible", &Window::Visible)
        .Add("HasBackgroundColor", &Window::HasBackgroundColor)
        .Add("BackgroundColor", &Window::BackgroundColor)
        .Add("MenuBarVisible", &Window::MenuBarVisible)
        .Add("Left", &Window::Left)
        .Add("Top", &Window::Top)
        // Options of other platforms: accepted and kept.
        .Keep<bool>("HasFullScreenButton")
        .Keep<bool>("Composite")
        .Keep<std::int64_t>("MacProcID")
        .Keep<std::int64_t>("_mInitialControlsCreated")
        .Keep<bool>("LiveResize");
    return s;
  }();
  return sheet;
}

void Window::Width(std::int64_t v) {
  width_ = v;
  ApplyGeometry();
}
void Window::Height(std::int64_t v) {
  height_ = v;
  ApplyGeometry();
}
void Window::MinimumWidth(std::int64_t v) {
  minWidth_ = v;
  ApplyGeometry();
}
void Window::MinimumHeight(std::int64_t v) {
  minHeight_ = v;
  ApplyGeometry();
}
void Window::MaximumWidth(std::int64_t v) {
  maxWidth_ = v;
  ApplyGeometry();
}
void Window::MaximumHeight(std::int64_t v) {
  maxHeight_ = v;
  ApplyGeometry();
}
void Window::Resizeable(bool v) {
  resizeable_ = v;
  ApplyGeometry();
}
void Window::Type(std::int64_t v) { type_ = v; }
void Window::Title(const String& v) {
  title_ = v;
  if (peer_) peer_->SetTitle(v);
}
void Window::HasCloseButton(bool v) { hasClose_ = v; }
void Window::HasMaximizeButton(bool v) { hasMaximize_ = v; }
void Window::HasMinimizeButton(bool v) { hasMinimize_ = v; }
void Window::FullScreen(bool v) { fullScreen_ = v; }
void Window::DefaultLocation(std::int64_t v) { defaultLocation_ = v; }
void Window::Visible(bool v) { visible_ = v; }
void Window::HasBackgroundColor(bool v) {
  hasBackground_ = v;
  if (peer_) peer_->Repaint();
}
void Window::BackgroundColor(Color v) {
  background_ = v;
  if (peer_) peer_->Repaint();
}
void Window::MenuBarVisible(bool v) { menuBarVisible_ = v; }
void Window::Left(std::int64_t v) { left_ = v; }
void Window::Top(std::int64_t v) { top_ = v; }

void Window::ApplyGeometry() {
  if (peer_) peer_->ApplyGeometry();
}

// The frame the window's type and buttons stand for, its menu bar, and the
// tab order of its controls.
void Window::ApplyFrame() {
  if (!peer_) return;
  peer_->ApplyFrame();
  if (type_ == kDocumentWindow) {
    if (auto bar = RuntimeMenuBarFor(this)) peer_->ShowMenuBar(bar, !menuBarVisible_);
  }
  ApplyGeometry();

  // Tab order: by TabIndex within each parent, creation order breaking
  // ties, a container's children right after it.
  std::vector<RectControl*> ordered;
  AppendInTabOrder(controls_, String(), ordered);
  std::vector<detail::ControlPeer*> order;
  for (auto* rect : ordered) {
    if (rect->CanTakeFocus()) order.push_back(rect->Peer());
  }
  peer_->SetTabOrder(order);
}

void Window::Show() {
  CheckUIThread("Window.Show");
  if (!open_) return;
  if (!peer_) {
    shown_ = true;
    return;
  }
  if (!shownOnce_) {
    shownOnce_ = true;
    peer_->Place(defaultLocation_ == kCentredOnScreen, left_, top_);
  }
  peer_->Show();
}

void Window::Hide() {
  CheckUIThread("Window.Hide");
  shown_ = false;
  if (peer_) peer_->Hide();
}

void Window::Close() {
  CheckUIThread("Window.Close");
  if (!open_) return;
  auto keepAlive = Self(this);  // the registry may hold the last reference
  Unregister();
  shown_ = false;
  if (peer_) peer_->Dispose();
}

void Window::Unregister() {
  open_ = false;
  auto& windows = OpenWindows();
  windows.erase(
      std::remove_if(windows.begin(), windows.end(), [this](const Ref<Window>& w) { return w.get() == this; }),
      windows.end());
}

bool Window::IsOpen() const { return open_; }
bool Window::IsShown() const { return peer_ ? peer_->IsShown() : open_ && shown_; }

Ref<fw::MenuBar> Window::MenuBar() const {
  CheckUIThread("Window.MenuBar");
  return menuBar_;
}
void Window::MenuBar(const Ref<fw::MenuBar>& bar) {
  CheckUIThread("Window.MenuBar");
  menuBar_ = bar;
}

void Window::_AddMenuHandler(const String& itemName, const Ref<Delegate>& handler) {
  CheckUIThread("Window._AddMenuHandler");
  if (!handler) throw NilObjectException("Window._AddMenuHandler was given no handler for " + itemName);
  menuHandlers_[itemName] = handler;
}

Ref<Delegate> Window::MenuHandler(const String& itemName) const {
  auto it = menuHandlers_.find(itemName);
  return it == menuHandlers_.end() ? Ref<Delegate>() : it->second;
}

void Window::_AddControl(const String& name, const Ref<Control>& control) {
  CheckUIThread("Window._AddControl");
  if (!control) throw NilObjectException("Window._AddControl was given none for " + name);
  if (controlsByName_.count(name)) throw RuntimeException(ClassName() + " already has a control named " + name);
  control->Name(name);
  controls_.push_back(control);
  controlsByName_[name] = control;
}

Ref<Control> Window::_ControlByName(const String& name) const {
  CheckUIThread("Window._ControlByName");
  auto it = controlsByName_.find(name);
  return it == controlsByName_.end() ? Ref<Control>() : it->second;
}

bool Window::PressDefaultButton() {
  PushButton* best = nullptr;
  for (const auto& control : controls_) {
    auto* button = dynamic_cast<PushButton*>(control.get());
    if (!button || !button->Default() || !button->Visible() || !button->Enabled()) continue;
    if (!best || std::pair(button->Top(), button->Left()) < std::pair(best->Top(), best->Left())) best = button;
  }
  if (!best) return false;
  best->Push();
  return true;
}

Ref<Window> RuntimeGetImplicitWindow(const std::string& className) {
  CheckUIThread("RuntimeGetImplicitWindow");
  for (const auto& window : OpenWindows()) {
    if (window->ClassName() == className) return window;
  }
  return {};
}

std::vector<Ref<Window>> RuntimeOpenWindows() { return OpenWindows(); }

namespace detail {

void CloseAllWindows() {
  auto windows = OpenWindows();
  for (auto& window : windows) window->Close();
  OpenWindows().clear();
}

bool ReturnPressesDefaultButton(Window& window, const String& key) {
  return key == "\r" && window.PressDefaultButton();
}

void WindowActivated(Window& window) {
  RuntimeCallProgram([&] { window.Event_Activate(); });
}

void WindowClosedByUser(Window& window) {
  if (!window.IsOpen()) return;
  RuntimeCallProgram([&] { window.Event_Close(); });
  window.Close();
}

bool WindowCloseRequested(Window& window) {
  if (window.IsOpen() && !window.HasCloseButton()) return false;
  WindowClosedByUser(window);
  return true;
}

bool WindowKeyDown(Window& window, const String& key) {
  if (ReturnPressesDefaultButton(window, key)) return true;
  bool claimed = false;
  RuntimeCallProgram([&] { claimed = window.Event_KeyDown(key); });
  return claimed;
}

void WindowMouseDown(Window& window, std::int64_t x, std::int64_t y) {
  RuntimeCallProgram([&] { window.Event_MouseDown(x, y); });
}

}  // namespace detail
}  // namespace fw
