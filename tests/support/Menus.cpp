#include "tests/support/Menus.h"

#include <QTest>

namespace testsupport {

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
  if (!bar) return nullptr;
  for (QAction* action : bar->actions()) {
    if (action->menu() && action->text() == title) return action->menu();
  }
  return nullptr;
}

QAction* ActionCaptioned(QMenu* menu, const QString& text, int nth) {
  if (!menu) return nullptr;
  for (QAction* action : menu->actions()) {
    if (action->text() == text && nth-- == 0) return action;
  }
  return nullptr;
}

QMenu* OpenByClick(QMenuBar* bar, const QString& title) {
  QMenu* menu = MenuTitled(bar, title);
  if (!menu) return nullptr;
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
  if (!QTest::qWaitFor([menu] { return menu->isVisible(); })) return nullptr;
  return menu;
}

bool ChooseRefreshed(QMenuBar* bar, const QString& title, const QString& text, int nth) {
  QMenu* menu = MenuTitled(bar, title);
  if (!menu) return false;
  emit menu->aboutToShow();
  QAction* item = ActionCaptioned(menu, text, nth);
  if (!item || !item->isEnabled()) return false;
  item->trigger();
  return true;
}

bool CloseByEscape(QMenu* menu) {
  QTest::keyClick(menu, Qt::Key_Escape);
  return QTest::qWaitFor([menu] { return !menu->isVisible(); });
}

std::vector<std::pair<std::string, bool>> ItemStates(QMenuBar* bar, const QString& title) {
  std::vector<std::pair<std::string, bool>> states;
  if (QMenu* menu = MenuTitled(bar, title)) {
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) states.emplace_back(action->text().toStdString(), action->isEnabled());
    }
  }
  return states;
}

std::vector<QAction*> RefreshedItems(QMenuBar* bar) {
  std::vector<QAction*> items;
  if (!bar) return items;
  for (QAction* top : bar->actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    emit menu->aboutToShow();
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) items.push_back(action);
    }
  }
  return items;
}

}  // namespace testsupport
