// Windows on Qt: a main window whose content area paints the background,
// and the peer that mirrors the model's frame, size and visibility to it.
#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include "framework/Protocol.h"
#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// The content area: paints the background and passes presses on the
// background (and on labels, which let presses through) to the window.
class ContentWidget : public QWidget {
 public:
  explicit ContentWidget(WindowWidget* window) : QWidget(window), window_(window) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    auto owner = window_->Owner();
    if (!owner || !owner->HasBackgroundColor()) return;
    QPainter(this).fillRect(rect(), ToQColor(owner->BackgroundColor()));
  }
  void mousePressEvent(QMouseEvent* e) override {
    auto owner = window_->Owner();
    if (!owner) return;
    const QPoint p = e->position().toPoint();
    WindowMouseDown(*owner, p.x(), p.y());
  }

 private:
  WindowWidget* window_;
};

// The window shown last, while it waits to become the active one. A window
// that is new to the window system cannot take the focus until it is
// mapped; meanwhile the focus that a closing menu hands back may activate
// the window below, whose Activate event must not undo the Show.
struct PendingActivation {
  QPointer<WindowWidget> window;
  QElapsedTimer since;
};
PendingActivation& Pending() {
  static PendingActivation pending;
  return pending;
}
constexpr int kPendingActivationMs = 1000;

}  // namespace

WindowWidget::WindowWidget(std::weak_ptr<Window> owner) : owner_(std::move(owner)) {
  setCentralWidget(new ContentWidget(this));
  // A press on the background leaves the focus where it was.
  centralWidget()->setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

bool WindowWidget::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    auto& pending = Pending();
    QPointer<WindowWidget> shown = pending.window;
    pending.window = nullptr;
    if (shown && shown != this && shown->isVisible() && pending.since.elapsed() < kPendingActivationMs) {
      // Stale: the window shown since takes the activation back, once.
      shown->activateWindow();
    } else if (auto owner = Owner()) {
      WindowActivated(*owner);
    }
  }
  return QMainWindow::event(e);
}

void WindowWidget::closeEvent(QCloseEvent* e) {
  auto owner = Owner();
  // A request from the window system may be refused; a close of our own
  // (the model closing its window) never is.
  if (owner && e->spontaneous()) {
    if (!WindowCloseRequested(*owner)) return e->ignore();
  } else if (owner) {
    WindowClosedByUser(*owner);
  }
  e->accept();
}

void WindowWidget::keyPressEvent(QKeyEvent* e) {
  auto owner = Owner();
  const auto key = KeyText(e);
  if (!owner || !key) return QMainWindow::keyPressEvent(e);
  if (!WindowKeyDown(*owner, *key)) e->ignore();
}

QtWindowPeer::QtWindowPeer(Window& owner)
    : widget(new WindowWidget(std::weak_ptr<Window>(Self(&owner).shared()))), owner_(owner) {}

QtWindowPeer::~QtWindowPeer() {
  if (widget) widget->deleteLater();
}

void QtWindowPeer::SetTitle(const String& title) {
  if (!widget) return;
  widget->setWindowTitle(ToQString(title));
  if (title.empty()) ClearWindowSystemTitle(widget);
}

void QtWindowPeer::ApplyFrame() {
  if (!widget) return;
  const bool dialog = owner_.Type() == kDialogWindow;
  Qt::WindowFlags flags = (dialog ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (!dialog) flags |= Qt::WindowSystemMenuHint;
  if (owner_.HasCloseButton()) flags |= Qt::WindowCloseButtonHint;
  if (owner_.HasMinimizeButton()) flags |= Qt::WindowMinimizeButtonHint;
  if (owner_.HasMaximizeButton() && owner_.Resizeable()) flags |= Qt::WindowMaximizeButtonHint;
  widget->setWindowFlags(flags);
  SetTitle(owner_.Title());
}

void QtWindowPeer::ApplyGeometry() {
  if (!widget) return;
  QWidget* content = widget->Content();
  const QSize size(static_cast<int>(owner_.Width()), static_cast<int>(owner_.Height()));
  if (owner_.Resizeable()) {
    content->setMinimumSize(static_cast<int>(owner_.MinimumWidth()), static_cast<int>(owner_.MinimumHeight()));
    content->setMaximumSize(static_cast<int>(owner_.MaximumWidth()), static_cast<int>(owner_.MaximumHeight()));
    content->resize(size);
    widget->adjustSize();
  } else {
    content->setFixedSize(size);
    widget->layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
}

void QtWindowPeer::ShowMenuBar(const Ref<MenuBar>& bar, bool hidden) {
  if (!widget) return;
  if (hidden) {
    InstallHiddenMenuBarView(widget, bar);
  } else {
    InstallMenuBarView(widget, bar);
  }
}

void QtWindowPeer::SetTabOrder(const std::vector<ControlPeer*>& order) {
  QWidget* previous = nullptr;
  for (auto* peer : order) {
    QWidget* next = static_cast<QtControlPeer*>(peer)->widget;
    if (!next) continue;
    if (previous) QWidget::setTabOrder(previous, next);
    previous = next;
  }
}

void QtWindowPeer::Place(bool centred, std::int64_t left, std::int64_t top) {
  if (!widget) return;
  widget->adjustSize();
  if (centred) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect available = screen->availableGeometry();
      QRect frame = widget->frameGeometry();
      frame.moveCenter(available.center());
      // On a screen too small for it the frame starts at the top-left, so
      // that its title bar and menu bar stay in reach.
      if (frame.width() > available.width()) frame.moveLeft(available.left());
      if (frame.height() > available.height()) frame.moveTop(available.top());
      widget->move(frame.topLeft());
    }
  } else {
    widget->move(static_cast<int>(left), static_cast<int>(top));
  }
}

void QtWindowPeer::Show() {
  if (!widget) return;
  // A minimised window comes back as it was before: showing or raising it
  // alone leaves it minimised, and a hidden one would be mapped minimised.
  if (widget->windowState() & Qt::WindowMinimized) widget->setWindowState(widget->windowState() & ~Qt::WindowMinimized);
  widget->show();
  // Showing makes the native window, which Qt names after the program.
  if (owner_.Title().empty()) ClearWindowSystemTitle(widget);
  widget->raise();
  widget->activateWindow();
  if (!widget->isActiveWindow()) {
    Pending().window = widget;
    Pending().since.start();
  }
}

void QtWindowPeer::Hide() {
  if (widget) widget->hide();
}

bool QtWindowPeer::IsShown() const { return widget && widget->isVisible(); }

void QtWindowPeer::Repaint() {
  if (widget) widget->update();
}

void QtWindowPeer::Dispose() {
  if (!widget) return;
  widget->hide();
  widget->deleteLater();
}

WindowWidget* WidgetOf(const Window& window) {
  auto* peer = static_cast<QtWindowPeer*>(window.Peer());
  return peer ? peer->widget.data() : nullptr;
}

}  // namespace fw::detail
