#include "tests/support/CloseRequest.h"

#include <xcb/xcb.h>

#include <cstdlib>

#include "framework/qt/X11.h"

namespace testsupport {

bool SendCloseRequest(std::uint32_t window) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    xcb_disconnect(c);
    return false;
  }
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = window;
  message.type = fw::detail::X11Atom(c, "WM_PROTOCOLS");
  message.data.data32[0] = fw::detail::X11Atom(c, "WM_DELETE_WINDOW");
  message.data.data32[1] = XCB_CURRENT_TIME;
  // Checked, so that the server has taken the request before the
  // connection goes: a request still in flight at the close may be lost.
  xcb_generic_error_t* error = xcb_request_check(
      c, xcb_send_event_checked(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&message)));
  const bool sent = error == nullptr;
  std::free(error);
  xcb_disconnect(c);
  return sent;
}

}  // namespace testsupport
