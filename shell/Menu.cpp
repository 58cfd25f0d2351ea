#include "shell/Menu.h"

#include <optional>

#include "framework/Application.h"
#include "framework/TestSeams.h"

namespace {

enum class Kind { Item, Quit, Apple };

// The tree as data, in bar order: each top-level menu is followed by its
// items. `shortcut` is unset for the separator, whose shortcut is never
// assigned.
struct Entry {
  int builder;
  bool topLevel;
  const char* name;
  Kind kind;
  const char* caption;
  bool autoEnabled;
  std::optional<const char*> shortcut;
};

const Entry kTree[] = {
    {0, true, "UntitledMenu3", Kind::Item, "", false, ""},
    {1, true, "FileMenu", Kind::Item, "File", false, ""},
    {1, false, "Print", Kind::Item, "Print", true, ""},
    {1, false, "FileQuit", Kind::Quit, "Quit", true, "Ctrl+Q"},
    {1, false, "UntitledMenu7", Kind::Item, "", false, ""},
    {2, true, "UntitledMenu0", Kind::Item, "Edit", false, ""},
    {2, false, "EditUndo", Kind::Item, "Undo", false, "Ctrl+Z"},
    {2, false, "UntitledMenu1", Kind::Item, "-", false, std::nullopt},
    {2, false, "EditCut", Kind::Item, "Cut", false, "Ctrl+X"},
    {2, false, "EditCopy", Kind::Item, "Copy", false, "Ctrl+C"},
    {2, false, "EditPaste", Kind::Item, "Paste", false, "Ctrl+V"},
    {2, false, "EditClear", Kind::Item, "", false, ""},
    {2, false, "UntitledMenu6", Kind::Item, "", false, ""},
    {3, true, "WindowMenu", Kind::Item, "Window", false, ""},
    {3, false, "ControlMenuItem", Kind::Item, "Control", false, ""},
    {3, false, "DescriptionMenuItem", Kind::Item, "Description", false, ""},
    {3, false, "AboutMenuItem", Kind::Item, kAboutCaption, false, ""},
    {3, false, "UntitledMenu5", Kind::Item, "", false, ""},
    {3, false, "AboutTavik", Kind::Apple, kAboutCaption, false, ""},
    {3, false, "UntitledMenu4", Kind::Apple, "", false, ""},
    {4, true, "UntitledMenu2", Kind::Item, "", false, ""},
};

fw::Ref<fw::MenuItem> NewItem(const Entry& e) {
  fw::Ref<fw::MenuItem> item;
  switch (e.kind) {
    case Kind::Item: item = fw::New<fw::MenuItem>(); break;
    case Kind::Quit: item = fw::New<fw::QuitMenuItem>(); break;
    case Kind::Apple: item = fw::New<fw::AppleMenuItem>(); break;
  }
  item->Constructor();
  item->Name(e.name);
  item->AutoEnabled(e.autoEnabled);
  item->Value(e.caption);
  item->Visible(true);
  if (e.shortcut) item->Shortcut(*e.shortcut);
  return item;
}

fw::Ref<class Menu> implicitInstance;
const fw::test::ResetRegistration reset([] { implicitInstance.Reset(); });

template <class T>
fw::Ref<T> LookUp(const char* name) {
  auto app = fw::getAppObject();
  if (!app) throw fw::NilObjectException(std::string("no application object to find the menu item ") + name + " in");
  auto bar = app->MenuBar();
  if (!bar) throw fw::NilObjectException(std::string("the application has no menu bar to find ") + name + " in");
  return fw::Cast<T>(bar->_Lookup(name));
}

}  // namespace

void Menu::Build(int builder) {
  const char* menuName = nullptr;
  for (const auto& e : kTree) {
    if (e.builder != builder) continue;
    auto item = NewItem(e);
    if (e.topLevel) {
      AddMenu(item);
      menuName = e.name;
      continue;
    }
    // The menu is asked for by Name anew for every item.
    auto menu = Child(menuName);
    if (!menu) throw fw::NilObjectException(std::string("the menu bar has no menu ") + menuName);
    menu->AddMenu(item);
  }
}

void Menu::Constructor() {
  Untitled0();
  Untitled1();
  Untitled2();
  Untitled3();
  Untitled4();
}

void Menu::Untitled0() { Build(0); }
void Menu::Untitled1() { Build(1); }
void Menu::Untitled2() { Build(2); }
void Menu::Untitled3() { Build(3); }
void Menu::Untitled4() { Build(4); }

fw::Ref<class Menu> Menu() {
  if (!implicitInstance) {
    auto bar = fw::New<class Menu>();
    bar->Constructor();  // an exception here leaves nothing stored
    implicitInstance = bar;
  }
  return implicitInstance;
}

fw::Ref<fw::AppleMenuItem> AboutTavik() { return LookUp<fw::AppleMenuItem>("AboutTavik"); }
fw::Ref<fw::MenuItem> AboutMenuItem() { return LookUp<fw::MenuItem>("AboutMenuItem"); }
fw::Ref<fw::MenuItem> DescriptionMenuItem() { return LookUp<fw::MenuItem>("DescriptionMenuItem"); }
fw::Ref<fw::MenuItem> ControlMenuItem() { return LookUp<fw::MenuItem>("ControlMenuItem"); }
