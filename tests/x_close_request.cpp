// Asks to close an X window as a window manager does (WM_DELETE_WINDOW),
// for the shell tests.
//
// Usage: x_close_request WINDOW-ID   (on the display DISPLAY names)
#include <iostream>
#include <string>

#include "tests/support/CloseRequest.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: x_close_request WINDOW-ID" << std::endl;
    return 2;
  }
  if (!testsupport::SendCloseRequest(static_cast<std::uint32_t>(std::stoul(argv[1], nullptr, 0)))) {
    std::cerr << "x_close_request: the request could not be sent to window " << argv[1] << std::endl;
    return 1;
  }
  return 0;
}
