// The application object: version data, the menu bar, the application's
// EnableMenuItems event and its two About handlers.
#pragma once

#include "framework/Application.h"

class BMI : public fw::Application {
 public:
  void Event_EnableMenuItems() override;
  bool _AboutTavik_Action();
  bool _AboutMenuItem_Action();
  void Constructor() {}
  std::string ClassName() const override { return "BMI"; }
};

// The registered application object, or none before _NewAppInstance.
fw::Ref<BMI> App();

// Creates the application object, hands it its version data and the menu
// bar, and registers it.
void _NewAppInstance();
// Registers the handlers of AboutTavik and AboutMenuItem.
void _ApplicationAddMenuHandlers();

// The long version: a one-line notice.
inline constexpr const char* kLongVersion = "Quorvel 2.0, a body mass index calculator";
