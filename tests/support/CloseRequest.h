// What a window manager sends when the user closes a window.
#pragma once

#include <cstdint>

namespace testsupport {

// Sends WM_DELETE_WINDOW to the X window `window` from a connection of its
// own to the display that DISPLAY names. False when it could not be sent.
bool SendCloseRequest(std::uint32_t window);

}  // namespace testsupport
