#include "framework/Menu.h"

#include "framework/Application.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/Window.h"

namespace fw {

const String& MenuItem::Name() const {
  CheckUIThread("MenuItem.Name");
  return name_;
}
void MenuItem::Name(const String& name) {
  CheckUIThread("MenuItem.Name");
  name_ = name;
}
bool MenuItem::AutoEnabled() const {
  CheckUIThread("MenuItem.AutoEnabled");
  return autoEnabled_;
}
void MenuItem::AutoEnabled(bool autoEnabled) {
  CheckUIThread("MenuItem.AutoEnabled");
  autoEnabled_ = autoEnabled;
}
const String& MenuItem::Value() const {
  CheckUIThread("MenuItem.Value");
  return caption_;
}
void MenuItem::Value(const String& caption) {
  CheckUIThread("MenuItem.Value");
  caption_ = caption;
}
bool MenuItem::Visible() const {
  CheckUIThread("MenuItem.Visible");
  return visible_;
}
void MenuItem::Visible(bool visible) {
  CheckUIThread("MenuItem.Visible");
  visible_ = visible;
}
const String& MenuItem::Shortcut() const {
  CheckUIThread("MenuItem.Shortcut");
  return shortcut_;
}
void MenuItem::Shortcut(const String& shortcut) {
  CheckUIThread("MenuItem.Shortcut");
  shortcut_ = shortcut;
  shortcutAssigned_ = true;
}
bool MenuItem::Enabled() const {
  CheckUIThread("MenuItem.Enabled");
  return enabled_;
}
void MenuItem::Enabled(bool enabled) {
  CheckUIThread("MenuItem.Enabled");
  enabled_ = enabled;
}

void MenuItem::AddMenu(const Ref<MenuItem>& item) {
  CheckUIThread("MenuItem.AddMenu");
  detail::Step("MenuItem.AddMenu");
  if (!item) throw NilObjectException("MenuItem.AddMenu was given none");
  children_.push_back(item);
}

int MenuItem::Count() const {
  CheckUIThread("MenuItem.Count");
  return static_cast<int>(children_.size());
}

Ref<MenuItem> MenuItem::Item(int index) const {
  CheckUIThread("MenuItem.Item");
  if (index < 0 || index >= static_cast<int>(children_.size())) {
    throw RuntimeException("MenuItem.Item: index " + std::to_string(index) + " is out of bounds");
  }
  return children_[static_cast<std::size_t>(index)];
}

Ref<MenuItem> MenuItem::Child(const String& name) const {
  CheckUIThread("MenuItem.Child");
  for (const auto& child : children_) {
    if (child->name_ == name) return child;
  }
  return {};
}

Ref<MenuItem> MenuItem::_Lookup(const String& name) const {
  CheckUIThread("MenuItem._Lookup");
  for (const auto& child : children_) {
    if (child->name_ == name) return child;
    if (auto found = child->_Lookup(name)) return found;
  }
  return {};
}

Ref<MenuBar> RuntimeMenuBarFor(const Window* window) {
  if (window && window->MenuBar()) return window->MenuBar();
  auto app = getAppObject();
  return app ? app->MenuBar() : Ref<MenuBar>();
}

namespace {
void SetAutomaticStates(const Ref<MenuItem>& menu, const Ref<Window>& front, const Ref<Application>& app) {
  for (int i = 0; i < menu->Count(); ++i) {
    auto item = menu->Item(i);
    const auto& name = item->Name();
    const bool handled = (front && front->MenuHandler(name)) || (app && app->MenuHandler(name));
    item->Enabled(item->AutoEnabled() && (handled || item->ActsByItself()));
    SetAutomaticStates(item, front, app);
  }
}
}  // namespace

void RuntimeRefreshMenuItems(const Ref<MenuBar>& bar, const Ref<Window>& front) {
  CheckUIThread("RuntimeRefreshMenuItems");
  if (!bar) return;
  auto app = getAppObject();
  for (int i = 0; i < bar->Count(); ++i) {
    auto menu = bar->Item(i);
    menu->Enabled(true);
    SetAutomaticStates(menu, front, app);
  }
  if (app) RuntimeCallProgram([&] { app->Event_EnableMenuItems(); });
  if (front) RuntimeCallProgram([&] { front->Event_EnableMenuItems(); });
}

void RuntimeChooseMenuItem(const Ref<MenuItem>& item, const Ref<Window>& front) {
  CheckUIThread("RuntimeChooseMenuItem");
  if (!item) return;
  const String name = item->Name();
  bool handled = false;
  if (front) {
    if (auto handler = front->MenuHandler(name)) {
      RuntimeCallProgram([&] { handled = handler->Invoke<bool>(); });
    }
  }
  if (!handled) {
    auto app = getAppObject();
    if (auto handler = app ? app->MenuHandler(name) : Ref<Delegate>()) {
      RuntimeCallProgram([&] { handled = handler->Invoke<bool>(); });
    }
  }
  if (item->ActsByItself()) Quit(0);
}

}  // namespace fw
