// The little of X11 that the adapter speaks directly, where Qt's own API
// says nothing: window names, and the grabs and focus changes that the
// hidden menu bar watches for.
#pragma once

#include <xcb/xcb.h>

namespace fw::detail {

// The atom of `name` on `connection`, or XCB_ATOM_NONE when the server
// gives none.
xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name);

}  // namespace fw::detail
