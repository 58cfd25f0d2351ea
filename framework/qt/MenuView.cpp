// The one place where the menu model meets Qt: a bar of the model shown as
// a QMenuBar, its items as QActions. Enabled states are refreshed from the
// model before a menu opens and before a shortcut is dispatched; a chosen
// action goes back to the model's dispatch by item Name.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "framework/Run.h"
#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {
namespace {

// A shown bar: the window it belongs to and its actions, each with its item.
class MenuBarView : public QObject {
 public:
  MenuBarView(WindowWidget* window, Ref<MenuBar> bar) : QObject(window), window_(window), bar_(std::move(bar)) {}

  void Build(QMenuBar* qbar) {
    for (int i = 0; i < bar_->Count(); ++i) {
      auto menu = bar_->Item(i);
      if (menu->Value().empty() || !menu->Visible()) continue;  // an empty caption is not shown
      QMenu* qmenu = qbar->addMenu(ToQString(menu->Value()));
      QObject::connect(qmenu, &QMenu::aboutToShow, this, [this] { Refresh(); });
      AddItems(qmenu, menu);
    }
  }

  void Refresh() {
    auto front = window_->Owner();
    RuntimeRefreshMenuItems(bar_, Ref<fw::Window>(front));
    for (auto& [action, item] : actions_) action->setEnabled(item->Enabled());
  }

  // The window the bar belongs to.
  WindowWidget* Window() const { return window_; }

  // Whether a key press would trigger one of the bar's shortcuts.
  bool HasShortcut(const QKeySequence& keys) const {
    for (const auto& [action, item] : actions_) {
      if (!action->shortcut().isEmpty() && action->shortcut().matches(keys) == QKeySequence::ExactMatch) return true;
    }
    return false;
  }

 private:
  void AddItems(QMenu* qmenu, const Ref<MenuItem>& menu) {
    for (int i = 0; i < menu->Count(); ++i) {
      auto item = menu->Item(i);
      const auto& caption = item->Value();
      if (caption.empty() || !item->Visible()) continue;
      if (caption == "-") {
        qmenu->addSeparator();
        continue;
      }
      QAction* action = qmenu->addAction(ToQString(caption));
      if (!item->Shortcut().empty()) {
        action->setShortcut(QKeySequence(ToQString(item->Shortcut())));
        action->setShortcutContext(Qt::WindowShortcut);
      }
      action->setEnabled(item->Enabled());
      QObject::connect(action, &QAction::triggered, this, [this, item] {
        auto front = window_->Owner();
        RuntimeChooseMenuItem(item, Ref<fw::Window>(front));
      });
      actions_.emplace_back(action, item);
    }
  }

  WindowWidget* window_;
  Ref<MenuBar> bar_;
  std::vector<std::pair<QAction*, Ref<MenuItem>>> actions_;
};

std::vector<QPointer<MenuBarView>>& Views() {
  static std::vector<QPointer<MenuBarView>> views;
  return views;
}

// Refreshes the active window's menu states before Qt looks for a shortcut.
class ShortcutRefresher : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::ShortcutOverride) {
      auto* key = static_cast<QKeyEvent*>(e);
      auto* window = dynamic_cast<WindowWidget*>(QApplication::activeWindow());
      const QKeySequence keys(key->keyCombination());
      for (const auto& view : Views()) {
        if (view && view->Window() == window && view->HasShortcut(keys)) view->Refresh();
      }
    }
    return QObject::eventFilter(watched, e);
  }
};

}  // namespace

void InstallMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar) {
  window->setMenuBar(NewMenuBarView(window, bar));
}

QMenuBar* NewMenuBarView(WindowWidget* window, const Ref<MenuBar>& bar) {
  static QPointer<ShortcutRefresher> refresher;
  if (!refresher) {
    refresher = new ShortcutRefresher;
    refresher->setParent(qApp);
    qApp->installEventFilter(refresher);
  }
  auto* qbar = new QMenuBar(window);
  auto* view = new MenuBarView(window, bar);
  view->Build(qbar);
  auto& views = Views();
  views.erase(std::remove(views.begin(), views.end(), nullptr), views.end());
  views.emplace_back(view);
  return qbar;
}

}  // namespace fw::detail
