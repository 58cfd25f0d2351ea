// The application object: version data, the menu bar, the application's
// menu handlers by item Name and its EnableMenuItems event. The runtime
// holds the one registered object for the rest of the run.
#pragma once

#include <cstdint>
#include <map>

#include "framework/Delegate.h"
#include "framework/Menu.h"
#include "framework/Object.h"

namespace fw {

class Application : public Object {
 public:
  void _x_SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug, std::int64_t nonRelease,
                         std::int64_t stageCode, const String& longVersion, const String& shortVersion,
                         const String& packageInfo);
  std::int64_t MajorVersion() const { return major_; }
  std::int64_t MinorVersion() const { return minor_; }
  std::int64_t BugVersion() const { return bug_; }
  std::int64_t NonReleaseVersion() const { return nonRelease_; }
  std::int64_t StageCode() const { return stage_; }
  const String& LongVersion() const { return longVersion_; }
  const String& ShortVersion() const { return shortVersion_; }
  const String& PackageInfo() const { return packageInfo_; }

  Ref<fw::MenuBar> MenuBar() const;
  void MenuBar(const Ref<fw::MenuBar>& bar);

  // Registers a "(  ) as Boolean" handler under a menu item's Name.
  void _AddMenuHandler(const String& itemName, const Ref<Delegate>& handler);
  Ref<Delegate> MenuHandler(const String& itemName) const;

  // Must be called before the framework starts its GUI.
  static void _SetSupportsHiDPI(bool supported);
  static bool SupportsHiDPI();

  // Events; the framework raises them through the exception helper.
  virtual void Event_EnableMenuItems() {}

  std::string ClassName() const override { return "Application"; }

 private:
  std::int64_t major_ = 0, minor_ = 0, bug_ = 0, nonRelease_ = 0, stage_ = 0;
  String longVersion_, shortVersion_, packageInfo_;
  Ref<fw::MenuBar> menuBar_;
  std::map<String, Ref<Delegate>> menuHandlers_;
};

void RuntimeRegisterAppObject(const Ref<Application>& app);
Ref<Application> getAppObject();

}  // namespace fw
