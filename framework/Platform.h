// What the Qt-free half of the framework asks of the Qt half (framework/qt/).
// Internal to the framework.
#pragma once

#include <string>

namespace fw::detail {

bool PlatformGuiIsUp();
// Ends a running event loop, or makes the next one return at once.
void PlatformExitLoop(int code);
// A modal box with one line and an OK button; returns when it is dismissed.
void PlatformMessageBox(const std::string& title, const std::string& text);
void PlatformBeep();
// Closes every window and, if the framework made it, the QApplication.
void PlatformShutdown();

}  // namespace fw::detail
