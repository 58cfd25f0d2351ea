// The platform services on the installed toolkit, and what stands in for
// them without one: no GUI, messages on stderr, no bell.
#include "framework/Platform.h"

#include <functional>
#include <iostream>

#include "framework/Peers.h"
#include "framework/TestSeams.h"

namespace fw {
namespace {
detail::Toolkit* installed = nullptr;
std::function<void(const std::string&)> messageBoxObserver;
const test::ResetRegistration resetObserver([] { messageBoxObserver = nullptr; });
}  // namespace

namespace detail {

void InstallToolkit(Toolkit* toolkit) { installed = toolkit; }
Toolkit* InstalledToolkit() { return installed; }

bool PlatformGuiIsUp() { return installed && installed->GuiIsUp(); }

void PlatformExitLoop(int code) {
  if (installed) installed->ExitLoop(code);
}

void PlatformMessageBox(const std::string& title, const std::string& text) {
  if (!PlatformGuiIsUp()) {
    std::cerr << text << '\n';
    return;
  }
  if (messageBoxObserver) messageBoxObserver(text);
  installed->MessageBox(title, text, messageBoxObserver != nullptr);
}

void PlatformBeep() {
  if (PlatformGuiIsUp()) installed->Beep();
}

void PlatformShutdown() {
  if (installed) installed->Shutdown();
}

}  // namespace detail

namespace test {
void SetMessageBoxObserver(std::function<void(const std::string&)> observer) {
  messageBoxObserver = std::move(observer);
}
}  // namespace test

}  // namespace fw
