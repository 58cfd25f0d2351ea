#include "shell/App.h"

#include "framework/Protocol.h"
#include "info/AboutWnd.h"
#include "shell/Menu.h"

fw::Ref<BMI> App() { return fw::Cast<BMI>(fw::getAppObject()); }

void _NewAppInstance() {
  auto app = fw::New<BMI>();
  app->Constructor();
  app->_x_SetVersionData(2, 0, 0, 0, 3, kLongVersion, "Quorvel", "2.0");
  app->MenuBar(Menu());
  fw::RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers() {
  const std::pair<const char*, bool (BMI::*)()> handlers[] = {
      {"AboutTavik", &BMI::_AboutTavik_Action},
      {"AboutMenuItem", &BMI::_AboutMenuItem_Action},
  };
  for (const auto& [itemName, handler] : handlers) {
    // The object that takes the registration and the one the handler runs
    // on are fetched apart: they are the same object today, but the menu
    // dispatch needs only the target, and the delegate holds it weakly.
    auto receiver = App();
    auto target = App();
    auto delegate = fw::RuntimeCreateDelegate(fw::kMenuHandlerSignature, target, handler);
    receiver->_AddMenuHandler(itemName, delegate);
  }
}

void BMI::Event_EnableMenuItems() { AboutTavik()->Enabled(true); }

bool BMI::_AboutTavik_Action() {
  ShowAboutWindow();
  return false;
}

bool BMI::_AboutMenuItem_Action() {
  ShowAboutWindow();
  return false;
}
