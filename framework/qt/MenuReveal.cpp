// The menu bar of a window that does not display it (MenuBarVisible False):
// Alt, pressed and released with no other key, click or drag between,
// reveals the bar with its first menu open, as on Windows, so that every
// item stays reachable from the keyboard. Arrows move through the menus and
// items, Return chooses, a click on a title opens that menu, and a second
// Alt, Escape, a chosen item or a click away hides the bar again. The bar
// floats over the top of the content: revealing it never changes the
// window's size or moves its controls. It does not take part in the
// window's layout and is never shown by a mouse action alone. The items'
// shortcuts (Ctrl+Q) work while it is hidden.
#include <QAbstractNativeEventFilter>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "framework/qt/Peers.h"
#include "framework/qt/X11.h"

namespace fw::detail {
namespace {

// On X11, what a window manager takes for itself while Alt is held (a move
// or a click with Alt and the mouse, a key it has bound) never reaches the
// program as Qt input: the program sees the Alt press and, once the window
// manager lets go, the release. What it does see are the window system's
// own traces of the grab: the pointer leaving and coming back and the
// focus going and coming back, and the raw button events. `Saw` tells
// whether an X event is such a trace, or a click.
class X11InputWatch {
 public:
  X11InputWatch() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) return;
    const char name[] = "XInputExtension";
    xcb_connection_t* c = x11->connection();
    xcb_query_extension_reply_t* reply =
        xcb_query_extension_reply(c, xcb_query_extension(c, std::strlen(name), name), nullptr);
    if (reply && reply->present) xinput_ = reply->major_opcode;
    std::free(reply);
  }

  bool Saw(const void* message) const {
    const auto* e = static_cast<const xcb_generic_event_t*>(message);
    switch (e->response_type & 0x7f) {
      case XCB_BUTTON_PRESS:
      case XCB_BUTTON_RELEASE:
      case XCB_FOCUS_IN:
      case XCB_FOCUS_OUT: return true;
      case XCB_ENTER_NOTIFY:
      case XCB_LEAVE_NOTIFY: {
        const auto mode = reinterpret_cast<const xcb_enter_notify_event_t*>(e)->mode;
        return mode == XCB_NOTIFY_MODE_GRAB || mode == XCB_NOTIFY_MODE_UNGRAB;
      }
      case XCB_GE_GENERIC: {
        const auto* ge = reinterpret_cast<const xcb_ge_generic_event_t*>(e);
        // XI_ButtonPress, XI_ButtonRelease, XI_TouchBegin.
        return xinput_ && ge->extension == xinput_ &&
               (ge->event_type == 4 || ge->event_type == 5 || ge->event_type == 18);
      }
      default: return false;
    }
  }

 private:
  std::uint8_t xinput_ = 0;
};

class MenuRevealer : public QObject, public QAbstractNativeEventFilter {
 public:
  MenuRevealer(WindowWidget* window, QMenuBar* bar) : QObject(window), window_(window), bar_(bar) {
    for (QAction* top : bar_->actions()) {
      QMenu* menu = top->menu();
      if (!menu) continue;
      // Moving to the next menu hides one and shows the other at once; only
      // when no menu is left open afterwards has the user left the bar.
      connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        if (menu == clicked_) clicked_ = nullptr;
        QTimer::singleShot(0, this, [this] { HideIfNoMenuOpen(); });
      });
      // Shortcuts keep working while the bar is hidden: the window carries
      // the actions too.
      for (QAction* action : menu->actions()) {
        if (!action->shortcut().isEmpty()) window_->addAction(action);
      }
    }
    qApp->installEventFilter(this);
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
      x11_.emplace();
      qApp->installNativeEventFilter(this);
    }
  }
  ~MenuRevealer() override {
    if (x11_) qApp->removeNativeEventFilter(this);
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (altAlone_ && x11_ && type == "xcb_generic_event_t" && x11_->Saw(message)) altAlone_ = false;
    return false;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::TouchBegin:
        // Alt held for a click or a drag anywhere is not Alt alone.
        altAlone_ = false;
        if (e->type() == QEvent::MouseButtonPress && watched == bar_) return TitlePressed(static_cast<QMouseEvent*>(e));
        return false;
      case QEvent::Move:
      case QEvent::WindowDeactivate:
        // The window moved (a window manager's Alt and drag) or lost the focus.
        if (watched == window_) altAlone_ = false;
        return false;
      case QEvent::KeyPress:
      case QEvent::KeyRelease: break;
      default: return false;
    }
    if (!Ours(watched)) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->isAutoRepeat()) return false;
    // A key event reaches the filter once for every widget it propagates
    // to; the second sighting finds the same state and does the same.
    if (e->type() == QEvent::KeyPress) {
      if (key->key() == Qt::Key_Alt) {
        // What the release does is decided by what shows at the press. The
        // open menu does not see the press, which would close it (and the
        // bar with it) before the release could hide it.
        altAlone_ = true;
        shownAtPress_ = bar_ && bar_->isVisible();
        return shownAtPress_;
      }
      altAlone_ = false;
      if (key->key() == Qt::Key_Escape && bar_ && bar_->isVisible() && !AMenuIsOpen()) {
        Hide();
        return true;
      }
      return false;
    }
    if (key->key() == Qt::Key_Alt && altAlone_) {
      altAlone_ = false;
      if (shownAtPress_) {
        Hide();
      } else {
        Reveal();
      }
      return true;
    }
    return false;
  }

 private:
  // Whether the event is meant for this window or one of its bar's menus.
  bool Ours(QObject* watched) const {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !bar_) return false;
    if (widget->window() == window_) return true;
    auto* menu = qobject_cast<QMenu*>(widget);
    return menu && bar_->actions().contains(menu->menuAction());
  }

  // A press on a title of the revealed bar. The pointer on its way to a
  // title has already opened that menu (an open bar follows the pointer),
  // so the click that follows would close it again, and the bar with it:
  // it is kept open. A second click on the title of a menu that is open
  // because of a click on it closes it, as before.
  bool TitlePressed(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !bar_->isVisible()) return false;
    QAction* title = bar_->actionAt(e->position().toPoint());
    QMenu* menu = title ? title->menu() : nullptr;
    if (!menu) return false;
    if (menu->isVisible() && menu != clicked_) {
      clicked_ = menu;
      return true;
    }
    clicked_ = menu->isVisible() ? nullptr : menu;
    return false;
  }

  bool AMenuIsOpen() const {
    if (!bar_) return false;
    for (QAction* top : bar_->actions()) {
      if (top->menu() && top->menu()->isVisible()) return true;
    }
    return false;
  }

  void Reveal() {
    if (!bar_ || !window_->isVisible()) return;
    previousFocus_ = QApplication::focusWidget();
    clicked_ = nullptr;
    QWidget* content = window_->Content();
    bar_->setGeometry(content->x(), content->y(), content->width(), bar_->sizeHint().height());
    bar_->raise();
    bar_->show();
    for (QAction* top : bar_->actions()) {
      if (top->menu() && top->isVisible() && top->isEnabled()) {
        bar_->setActiveAction(top);  // opens it; its menu refreshes the states first
        return;
      }
    }
  }

  void Hide() {
    if (!bar_) return;
    for (QAction* top : bar_->actions()) {
      if (top->menu() && top->menu()->isVisible()) top->menu()->hide();
    }
    bar_->hide();
    RestoreFocus();
    // The window system may hand the activation to the closed menu later.
    QTimer::singleShot(0, this, [this] { RestoreFocus(); });
  }

  // The keys go back where they went before the bar came up, unless the
  // user has moved on to another window.
  void RestoreFocus() {
    if (!window_->isVisible() || (bar_ && bar_->isVisible())) return;
    QWidget* active = QApplication::activeWindow();
    if (active != window_ && (!active || !active->isVisible())) window_->activateWindow();
    if (previousFocus_ && previousFocus_->window() == window_) previousFocus_->setFocus(Qt::OtherFocusReason);
  }

  void HideIfNoMenuOpen() {
    if (bar_ && bar_->isVisible() && !AMenuIsOpen()) Hide();
  }

  WindowWidget* window_;
  QPointer<QMenuBar> bar_;
  QPointer<QWidget> previousFocus_;
  QPointer<QMenu> clicked_;  // the open menu that a click on its title opened or kept
  std::optional<X11InputWatch> x11_;
  bool altAlone_ = false;
  bool shownAtPress_ = false;
};

}  // namespace

void InstallHiddenMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar) {
  QMenuBar* qbar = NewMenuBarView(window, bar);
  qbar->setNativeMenuBar(false);
  qbar->hide();
  new MenuRevealer(window, qbar);
}

}  // namespace fw::detail
