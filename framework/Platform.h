// The platform services the runtime uses, on the installed toolkit
// (framework/Peers.h), with stand-ins when there is none (Platform.cpp).
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
// Closes every window and ends the toolkit's application, if it made one.
void PlatformShutdown();

}  // namespace fw::detail
