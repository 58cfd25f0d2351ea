// The menu model: items with a Name, a caption, a shortcut text and an
// enabled state, arranged in a tree under a menu bar. Items are found by
// Name, never by caption.
//
// This is only the model. framework/qt/MenuView.cpp shows a bar as Qt
// menus, asks RuntimeRefreshMenuItems before a menu opens or a shortcut is
// dispatched, and hands a chosen item to RuntimeChooseMenuItem.
#pragma once

#include <vector>

#include "framework/Object.h"

namespace fw {

class Window;

class MenuItem : public Object {
 public:
  // The default constructor of the program's language; subclasses build
  // their contents here.
  virtual void Constructor() {}

  const String& Name() const;
  void Name(const String& name);
  bool AutoEnabled() const;
  void AutoEnabled(bool autoEnabled);
  // The caption; "-" makes the item a separator.
  const String& Value() const;
  void Value(const String& caption);
  bool Visible() const;
  void Visible(bool visible);
  // A key sequence such as "Ctrl+Q"; empty for none.
  const String& Shortcut() const;
  void Shortcut(const String& shortcut);
  bool ShortcutAssigned() const { return shortcutAssigned_; }
  bool Enabled() const;
  void Enabled(bool enabled);

  // Appends `item` as the last child.
  void AddMenu(const Ref<MenuItem>& item);
  int Count() const;
  Ref<MenuItem> Item(int index) const;
  // The direct child of that Name, or none.
  Ref<MenuItem> Child(const String& name) const;
  // The item of that Name at any depth below this one, or none.
  Ref<MenuItem> _Lookup(const String& name) const;

  // True for an item that acts by itself when chosen (QuitMenuItem).
  virtual bool ActsByItself() const { return false; }
  std::string ClassName() const override { return "MenuItem"; }

 private:
  String name_, caption_, shortcut_;
  bool autoEnabled_ = false, visible_ = true, enabled_ = true, shortcutAssigned_ = false;
  std::vector<Ref<MenuItem>> children_;
};

// The bar: a MenuItem whose children are the top-level menus.
class MenuBar : public MenuItem {
 public:
  std::string ClassName() const override { return "MenuBar"; }
};

// Quits the application, with exit code 0, when chosen.
class QuitMenuItem : public MenuItem {
 public:
  bool ActsByItself() const override { return true; }
  std::string ClassName() const override { return "QuitMenuItem"; }
};

class AppleMenuItem : public MenuItem {
 public:
  std::string ClassName() const override { return "AppleMenuItem"; }
};

// The menu bar a window shows: its own, or else the application's.
Ref<MenuBar> RuntimeMenuBarFor(const Window* window);

// Sets every item's enabled state for `bar` with `front` as the front
// window: top-level menus enabled, an AutoEnabled item enabled when the
// front window or the application has a handler for its Name or it acts by
// itself, every other item disabled; then EnableMenuItems goes to the
// application object and to the front window.
void RuntimeRefreshMenuItems(const Ref<MenuBar>& bar, const Ref<Window>& front);

// Runs the front window's handler for the item's Name; when there is none,
// or it returns False, the application object's. A QuitMenuItem then quits
// with exit code 0.
void RuntimeChooseMenuItem(const Ref<MenuItem>& item, const Ref<Window>& front);

}  // namespace fw
