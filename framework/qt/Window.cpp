#include "framework/Window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "framework/Controls.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace {

std::vector<Ref<Window>>& OpenWindows() {
  static std::vector<Ref<Window>> windows;
  return windows;
}

// The content area: paints the background and passes presses on the
// background (and on labels, which let presses through) to the window.
class ContentWidget : public QWidget {
 public:
  explicit ContentWidget(detail::WindowWidget* window) : QWidget(window), window_(window) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto owner = window_->Owner();
    if (!owner || !owner->HasBackgroundColor()) return;
    const Color c = owner->BackgroundColor();
    QPainter(this).fillRect(rect(), QColor(c.red, c.green, c.blue, 255 - c.alpha));
  }
  void mousePressEvent(QMouseEvent* e) override {
    auto owner = window_->Owner();
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    RuntimeCallProgram([&] { owner->Event_MouseDown(p.x(), p.y()); });
  }

 private:
  detail::WindowWidget* window_;
};

}  // namespace

namespace detail {

WindowWidget::WindowWidget(std::weak_ptr<Window> owner) : owner_(std::move(owner)) {
  setCentralWidget(new ContentWidget(this));
  // A press on the background leaves the focus where it was.
  centralWidget()->setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

bool WindowWidget::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    if (auto owner = Owner()) RuntimeCallProgram([&] { owner->Event_Activate(); });
  }
  return QMainWindow::event(e);
}

void WindowWidget::closeEvent(QCloseEvent* e) {
  auto owner = Owner();
  if (owner && owner->IsOpen()) {
    RuntimeCallProgram([&] { owner->Event_Close(); });
    owner->Close();
  }
  e->accept();
}

void WindowWidget::keyPressEvent(QKeyEvent* e) {
  auto owner = Owner();
  const std::string key = KeyText(e);
  if (!owner || key.empty()) return QMainWindow::keyPressEvent(e);
  if ((key == "\r") && owner->PressDefaultButton()) return;
  bool claimed = false;
  RuntimeCallProgram([&] { claimed = owner->Event_KeyDown(key); });
  if (!claimed) e->ignore();
}

}  // namespace detail

Window::Window() : peer_(std::make_unique<detail::WindowPeer>()) {}

Window::~Window() {
  controls_.clear();
  controlsByName_.clear();
  if (peer_->widget) peer_->widget->deleteLater();
}

void Window::Constructor() {
  CheckUIThread("Window.Constructor");
  detail::Step("Window.Constructor");
  auto self = Self(this);
  peer_->widget = new detail::WindowWidget(std::weak_ptr<Window>(self.shared()));
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
    if (peer_->widget) peer_->widget->deleteLater();
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

void Window::Width(std::int64_t v) { width_ = v, ApplyGeometry(); }
void Window::Height(std::int64_t v) { height_ = v, ApplyGeometry(); }
void Window::MinimumWidth(std::int64_t v) { minWidth_ = v, ApplyGeometry(); }
void Window::MinimumHeight(std::int64_t v) { minHeight_ = v, ApplyGeometry(); }
void Window::MaximumWidth(std::int64_t v) { maxWidth_ = v, ApplyGeometry(); }
void Window::MaximumHeight(std::int64_t v) { maxHeight_ = v, ApplyGeometry(); }
void Window::Resizeable(bool v) { resizeable_ = v, ApplyGeometry(); }
void Window::Type(std::int64_t v) { type_ = v; }
void Window::Title(const String& v) {
  title_ = v;
  if (peer_->widget) peer_->widget->setWindowTitle(QString::fromStdString(v));
}
void Window::HasCloseButton(bool v) { hasClose_ = v; }
void Window::HasMaximizeButton(bool v) { hasMaximize_ = v; }
void Window::HasMinimizeButton(bool v) { hasMinimize_ = v; }
void Window::FullScreen(bool v) { fullScreen_ = v; }
void Window::DefaultLocation(std::int64_t v) { defaultLocation_ = v; }
void Window::Visible(bool v) { visible_ = v; }
void Window::HasBackgroundColor(bool v) {
  hasBackground_ = v;
  if (peer_->widget) peer_->widget->update();
}
void Window::BackgroundColor(Color v) {
  background_ = v;
  if (peer_->widget) peer_->widget->update();
}
void Window::MenuBarVisible(bool v) { menuBarVisible_ = v; }
void Window::Left(std::int64_t v) { left_ = v; }
void Window::Top(std::int64_t v) { top_ = v; }

void Window::ApplyGeometry() {
  auto* w = peer_->widget.data();
  if (!w) return;
  QWidget* content = w->Content();
  const QSize size(static_cast<int>(width_), static_cast<int>(height_));
  if (resizeable_) {
    content->setMinimumSize(static_cast<int>(minWidth_), static_cast<int>(minHeight_));
    content->setMaximumSize(static_cast<int>(maxWidth_), static_cast<int>(maxHeight_));
    content->resize(size);
    w->adjustSize();
  } else {
    content->setFixedSize(size);
    w->layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
}

// The frame the window's type and buttons stand for, and its menu bar.
void Window::ApplyFrame() {
  auto* w = peer_->widget.data();
  Qt::WindowFlags flags = (type_ == 2 ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (type_ != 2) flags |= Qt::WindowSystemMenuHint;
  if (hasClose_) flags |= Qt::WindowCloseButtonHint;
  if (hasMinimize_) flags |= Qt::WindowMinimizeButtonHint;
  if (hasMaximize_ && resizeable_) flags |= Qt::WindowMaximizeButtonHint;
  w->setWindowFlags(flags);
  w->setWindowTitle(QString::fromStdString(title_));
  if (type_ == 0 && menuBarVisible_) {
    if (auto bar = RuntimeMenuBarFor(this)) detail::InstallMenuBarView(w, bar);
  } else if (type_ == 0) {
    if (auto bar = RuntimeMenuBarFor(this)) detail::InstallHiddenMenuBarView(w, bar);
  }
  ApplyGeometry();

  // Tab order: by TabIndex within each parent, creation order breaking
  // ties, a container's children right after it.
  std::vector<RectControl*> ordered;
  auto collect = [&](auto&& self, const String& parent) -> void {
    std::vector<std::pair<std::int64_t, RectControl*>> level;
    for (const auto& control : controls_) {
      auto* rect = dynamic_cast<RectControl*>(control.get());
      if (rect && rect->InitialParent() == parent) level.emplace_back(rect->TabIndex(), rect);
    }
    std::stable_sort(level.begin(), level.end(), [](auto& a, auto& b) { return a.first < b.first; });
    for (auto& [index, rect] : level) {
      ordered.push_back(rect);
      if (!rect->Name().empty()) self(self, rect->Name());
    }
  };
  collect(collect, String());
  QWidget* previous = nullptr;
  for (auto* rect : ordered) {
    if (!rect->CanTakeFocus() || !rect->Peer()->widget) continue;
    if (previous) QWidget::setTabOrder(previous, rect->Peer()->widget);
    previous = rect->Peer()->widget;
  }
}

void Window::Show() {
  CheckUIThread("Window.Show");
  auto* w = peer_->widget.data();
  if (!w || !open_) return;
  if (!shownOnce_) {
    shownOnce_ = true;
    w->adjustSize();
    if (defaultLocation_ == 0) {
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = w->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        w->move(frame.topLeft());
      }
    } else {
      w->move(static_cast<int>(left_), static_cast<int>(top_));
    }
  }
  w->show();
  w->raise();
  w->activateWindow();
}

void Window::Hide() {
  CheckUIThread("Window.Hide");
  if (peer_->widget) peer_->widget->hide();
}

void Window::Close() {
  CheckUIThread("Window.Close");
  if (!open_) return;
  auto keepAlive = Self(this);  // the registry may hold the last reference
  Unregister();
  if (peer_->widget) {
    peer_->widget->hide();
    peer_->widget->deleteLater();
  }
}

void Window::Unregister() {
  open_ = false;
  auto& windows = OpenWindows();
  windows.erase(std::remove_if(windows.begin(), windows.end(), [this](const Ref<Window>& w) { return w.get() == this; }),
                windows.end());
}

bool Window::IsOpen() const { return open_; }
bool Window::IsShown() const { return peer_->widget && peer_->widget->isVisible(); }

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

Ref<Window> RuntimeFrontWindow() {
  auto* active = dynamic_cast<detail::WindowWidget*>(QApplication::activeWindow());
  return active ? Ref<Window>(active->Owner()) : Ref<Window>();
}

namespace detail {
void CloseAllWindows() {
  auto windows = OpenWindows();
  for (auto& window : windows) window->Close();
  OpenWindows().clear();
}
}  // namespace detail

}  // namespace fw
