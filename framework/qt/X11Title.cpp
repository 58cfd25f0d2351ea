// An empty window title on X11. Qt hands the window system the program's
// name when a title is empty, so a window that is meant to have no title
// text would show "Quorvel" in a window manager's title bar; here the two
// name properties are written empty over what Qt wrote.
#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/qt/Peers.h"
#include "framework/qt/X11.h"

namespace fw::detail {

xcb_atom_t X11Atom(xcb_connection_t* connection, const char* name) {
  const auto cookie = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
  if (!reply) return XCB_ATOM_NONE;
  const xcb_atom_t atom = reply->atom;
  std::free(reply);
  return atom;
}

void ClearWindowSystemTitle(QWidget* window) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  // Another platform, or no native window yet (showing makes it, and names it).
  if (!x11 || !window || !window->internalWinId() || QGuiApplication::platformName() != QLatin1String("xcb")) return;
  xcb_connection_t* connection = x11->connection();
  if (!connection) return;
  const auto id = static_cast<xcb_window_t>(window->internalWinId());
  const xcb_atom_t netName = X11Atom(connection, "_NET_WM_NAME");
  const xcb_atom_t utf8 = X11Atom(connection, "UTF8_STRING");
  if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, netName, utf8, 8, 0, nullptr);
  }
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, nullptr);
  xcb_flush(connection);
}

}  // namespace fw::detail
