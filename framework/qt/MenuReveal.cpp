// The menu bar of a window that does not display it (MenuBarVisible False):
// Alt, pressed and released with no other key or click between, reveals
// the bar with its first menu open, as on Windows, so that every item stays
// reachable from the keyboard. Arrows move through the menus and items,
// Return chooses, and a second Alt, Escape or a chosen item hides the bar
// again. The bar floats over the top of the content: revealing it never
// changes the window's size or moves its controls. It does not take part in
// the window's layout and is never shown by a mouse action alone. The
// items' shortcuts (Ctrl+Q) work while it is hidden.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

class MenuRevealer : public QObject {
 public:
  MenuRevealer(WindowWidget* window, QMenuBar* bar) : QObject(window), window_(window), bar_(bar) {
    for (QAction* top : bar_->actions()) {
      QMenu* menu = top->menu();
      if (!menu) continue;
      // Moving to the next menu hides one and shows the other at once; only
      // when no menu is left open afterwards has the user left the bar.
      connect(menu, &QMenu::aboutToHide, this, [this] { QTimer::singleShot(0, this, [this] { HideIfNoMenuOpen(); }); });
      // Shortcuts keep working while the bar is hidden: the window carries
      // the actions too.
      for (QAction* action : menu->actions()) {
        if (!action->shortcut().isEmpty()) window_->addAction(action);
      }
    }
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    const auto type = e->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::MouseButtonPress) {
      return QObject::eventFilter(watched, e);
    }
    if (!Ours(watched)) return QObject::eventFilter(watched, e);
    if (type == QEvent::MouseButtonPress) {
      altAlone_ = false;
      return QObject::eventFilter(watched, e);
    }
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->isAutoRepeat()) return QObject::eventFilter(watched, e);
    // A key event reaches the filter once for every widget it propagates
    // to; the flag makes the second sighting a no-op.
    if (type == QEvent::KeyPress) {
      if (key->key() == Qt::Key_Alt) {
        altAlone_ = true;
        return QObject::eventFilter(watched, e);
      }
      altAlone_ = false;
      if (key->key() == Qt::Key_Escape && bar_ && bar_->isVisible() && !AMenuIsOpen()) {
        Hide();
        return true;
      }
      return QObject::eventFilter(watched, e);
    }
    if (key->key() == Qt::Key_Alt && altAlone_) {
      altAlone_ = false;
      if (bar_ && bar_->isVisible()) {
        Hide();
      } else {
        Reveal();
      }
      return true;
    }
    return QObject::eventFilter(watched, e);
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
  bool altAlone_ = false;
};

}  // namespace

void InstallHiddenMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar) {
  QMenuBar* qbar = NewMenuBarView(window, bar);
  qbar->setNativeMenuBar(false);
  qbar->hide();
  new MenuRevealer(window, qbar);
}

}  // namespace fw::detail
