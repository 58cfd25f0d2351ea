// Whether Qt can run on this display, asked before the QApplication exists.
// The program runs on the X11 and Wayland platforms of a desktop and on
// Qt's offscreen platform (which draws into memory; the tests use it). The
// other platforms are for devices without a desktop: without their device
// (a framebuffer, DRM, EGL) they crash or abort, and vkkhrdisplay shows no
// widget at all, so they are refused by name. Without a platform plugin or
// a display Qt aborts, and on a screen of fewer than 15 bits of colour Qt
// has no image format to paint in: it paints nothing and then crashes. The
// answer names what is missing, in a line for standard error.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QString>
#include <QStringList>
#include <cstring>

#include "framework/qt/Convert.h"
#include "framework/qt/Peers.h"

namespace fw::detail {

namespace {

// Qt has image formats for 15, 16, 24, 30 and 32 bits; below 15 it paints
// nothing.
constexpr int kLeastDepth = 15;

bool Supported(const QString& name) {
  return name == QLatin1String("xcb") || name == QLatin1String("offscreen") || name == QLatin1String("wayland") ||
         name.startsWith(QLatin1String("wayland-"));
}

// The folders Qt looks in for its platform plugins.
QStringList PlatformFolders() {
  QStringList folders;
  const QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
  if (!own.isEmpty()) folders << own;
  for (const QString& path : qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts)) {
    folders << path + "/platforms";
  }
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms";
  return folders;
}

// A plugin is found by the keys in its metadata, as Qt finds it: the file
// names do not always say them (the "wayland" platform is
// libqwayland-generic.so). Reading the metadata loads no plugin.
bool HasPlatformPlugin(const QString& name) {
  for (const QString& folder : PlatformFolders()) {
    for (const QFileInfo& file : QDir(folder).entryInfoList({"*.so"}, QDir::Files)) {
      const QJsonObject meta = QPluginLoader(file.absoluteFilePath()).metaData();
      for (const auto& key : meta.value("MetaData").toObject().value("Keys").toArray()) {
        if (key.toString().compare(name, Qt::CaseInsensitive) == 0) return true;
      }
    }
  }
  return false;
}

// What a platform entry comes to: usable, a display that cannot be
// reached (Qt then tries the next entry), or one that Qt would take and
// then fail on.
enum class Outcome { kUsable, kUnreachable, kRefused };
struct Verdict {
  Outcome outcome;
  std::string problem;
};

Verdict XDisplay() {
  const QByteArray name = qgetenv("DISPLAY");
  if (name.isEmpty()) return {Outcome::kUnreachable, "cannot open display: DISPLAY is not set"};
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(name.constData(), &screenNumber);
  Verdict verdict{Outcome::kUsable, {}};
  if (xcb_connection_has_error(connection)) {
    verdict = {Outcome::kUnreachable, "cannot open display \"" + ToStdString(name) + "\""};
  } else {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
    if (!screens.rem) {
      verdict = {Outcome::kRefused,
                 "display \"" + ToStdString(name) + "\" has no screen " + std::to_string(screenNumber)};
    } else if (screens.data->root_depth < kLeastDepth) {
      verdict = {Outcome::kRefused, "display \"" + ToStdString(name) + "\" has " +
                                        std::to_string(screens.data->root_depth) + "-bit colour; at least " +
                                        std::to_string(kLeastDepth) + " bits are needed"};
    }
  }
  xcb_disconnect(connection);
  return verdict;
}

// Whether the compositor's socket takes a connection, found as the
// Wayland client library finds it.
Verdict WaylandDisplay() {
  if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) return {Outcome::kUsable, {}};  // handed over, open
  QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (name.isEmpty()) name = QStringLiteral("wayland-0");
  const std::string shown = "cannot open display \"" + ToStdString(name) + "\"";
  QString path = name;
  if (!QDir::isAbsolutePath(name)) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return {Outcome::kUnreachable, shown + ": XDG_RUNTIME_DIR is not set"};
    path = runtime + "/" + name;
  }
  const QByteArray file = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (file.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return {Outcome::kUnreachable, shown};
  std::memcpy(address.sun_path, file.constData(), file.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const bool open = fd >= 0 && connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (fd >= 0) close(fd);
  return open ? Verdict{Outcome::kUsable, {}} : Verdict{Outcome::kUnreachable, shown};
}

// The list of platforms Qt tries, in its order: QT_QPA_PLATFORM, or else
// Wayland first in a Wayland session, then X11.
QStringList PlatformList() {
  const QString named = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (!named.isEmpty()) return named.split(';', Qt::SkipEmptyParts);
  QStringList list;
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland") list << "wayland";
  list << "xcb";
  return list;
}

}  // namespace

std::string DisplayProblem() {
  // Qt tries each platform of the list in turn, passing over those it has
  // no plugin for or cannot connect with; an entry may carry arguments
  // after a colon.
  std::string problem;
  for (const QString& entry : PlatformList()) {
    const QString name = entry.section(':', 0, 0);
    const QString key = name.toLower();  // Qt's keys are in lower case
    if (!HasPlatformPlugin(key)) {
      if (problem.empty()) problem = "no display platform \"" + ToStdString(name) + "\"";
      continue;
    }
    if (!Supported(key)) {
      return "display platform \"" + ToStdString(name) + "\" is not supported: use xcb, wayland or offscreen";
    }
    const Verdict verdict = key == QLatin1String("xcb")         ? XDisplay()
                            : key == QLatin1String("offscreen") ? Verdict{Outcome::kUsable, {}}
                                                                : WaylandDisplay();
    if (verdict.outcome == Outcome::kUsable) return {};
    if (verdict.outcome == Outcome::kRefused) return verdict.problem;
    problem = verdict.problem;
  }
  if (problem.empty()) problem = "no display platform is named in QT_QPA_PLATFORM";
  return problem;
}

}  // namespace fw::detail
