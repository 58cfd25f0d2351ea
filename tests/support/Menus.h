// Menu walking for the tests through real Qt widgets: finding a bar's menus
// and items by caption, opening a menu with a real click on its title, and
// refreshing every menu of a bar as opening it does. Keys that walk a
// hidden bar belong to the description window's tests; walks with real X
// input are in X11Session.h.
#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// The menu of `bar` captioned `title`, or none.
QMenu* MenuTitled(QMenuBar* bar, const QString& title);

// The `nth` action of `menu` captioned `text` (0 for the first), or none.
QAction* ActionCaptioned(QMenu* menu, const QString& text, int nth = 0);

// Opens `title` with a click on the bar, as a user does, and waits until
// it shows; none when the bar has no such menu or it did not open.
QMenu* OpenByClick(QMenuBar* bar, const QString& title);

// Chooses the `nth` item captioned `text` of the menu `title` as opening
// the menu and picking the item does, without putting the menu on screen:
// the menu is told it is about to show (which refreshes the enabled
// states), then the item is triggered. False, and nothing chosen, when
// there is no such item or it is disabled.
bool ChooseRefreshed(QMenuBar* bar, const QString& title, const QString& text, int nth = 0);

// Closes an open menu with Escape and waits until it is gone; false when
// it stayed.
bool CloseByEscape(QMenu* menu);

// The items of the menu `title` with their enabled states, in menu order,
// separators left out.
std::vector<std::pair<std::string, bool>> ItemStates(QMenuBar* bar, const QString& title);

// Every item of every menu of `bar`, in bar and menu order, separators left
// out, after each menu was told it is about to show (which refreshes the
// enabled states as a user's opening it does).
std::vector<QAction*> RefreshedItems(QMenuBar* bar);

}  // namespace testsupport
