#include "framework/Application.h"

#include "framework/TestSeams.h"

namespace fw {
namespace {
Ref<Application>& AppObject() {
  static Ref<Application> app;
  return app;
}
bool supportsHiDPI = false;
const test::ResetRegistration reset([] {
  AppObject().Reset();
  supportsHiDPI = false;
});
}  // namespace

void Application::_x_SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug, std::int64_t nonRelease,
                                    std::int64_t stageCode, const String& longVersion, const String& shortVersion,
                                    const String& packageInfo) {
  CheckUIThread("Application._x_SetVersionData");
  detail::Step("Application._x_SetVersionData");
  major_ = major;
  minor_ = minor;
  bug_ = bug;
  nonRelease_ = nonRelease;
  stage_ = stageCode;
  longVersion_ = longVersion;
  shortVersion_ = shortVersion;
  packageInfo_ = packageInfo;
}

Ref<fw::MenuBar> Application::MenuBar() const {
  CheckUIThread("Application.MenuBar");
  return menuBar_;
}

void Application::MenuBar(const Ref<fw::MenuBar>& bar) {
  CheckUIThread("Application.MenuBar");
  menuBar_ = bar;
}

void Application::_AddMenuHandler(const String& itemName, const Ref<Delegate>& handler) {
  CheckUIThread("Application._AddMenuHandler");
  detail::Step("Application._AddMenuHandler");
  if (!handler) throw NilObjectException("Application._AddMenuHandler was given no handler for " + itemName);
  menuHandlers_[itemName] = handler;
}

Ref<Delegate> Application::MenuHandler(const String& itemName) const {
  auto it = menuHandlers_.find(itemName);
  return it == menuHandlers_.end() ? Ref<Delegate>() : it->second;
}

void Application::_SetSupportsHiDPI(bool supported) {
  detail::Step("Application._SetSupportsHiDPI");
  supportsHiDPI = supported;
}

bool Application::SupportsHiDPI() { return supportsHiDPI; }

void RuntimeRegisterAppObject(const Ref<Application>& app) {
  CheckUIThread("RuntimeRegisterAppObject");
  detail::Step("RuntimeRegisterAppObject");
  AppObject() = app;
}

Ref<Application> getAppObject() { return AppObject(); }

}  // namespace fw
