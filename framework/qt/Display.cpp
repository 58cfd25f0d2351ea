// Whether Qt can run on this display, asked before the QApplication exists:
// without a platform plugin or a display Qt aborts, and on a screen of
// fewer than 16 bits of colour it paints nothing and then crashes. The
// answer names what is missing, in a line for standard error.
#include <xcb/xcb.h>

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>
#include <cstdlib>

#include "framework/qt/Peers.h"

namespace fw::detail {

namespace {

constexpr int kLeastDepth = 16;

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

bool HasPlatformPlugin(const QString& name) {
  for (const QString& folder : PlatformFolders()) {
    if (QDir(folder).exists("libq" + name + ".so")) return true;
  }
  return false;
}

// Empty when the X display can be opened and has enough colour.
std::string XDisplayProblem() {
  const QByteArray name = qgetenv("DISPLAY");
  if (name.isEmpty()) return "cannot open display: DISPLAY is not set";
  int screenNumber = 0;
  xcb_connection_t* connection = xcb_connect(name.constData(), &screenNumber);
  std::string problem;
  if (xcb_connection_has_error(connection)) {
    problem = "cannot open display \"" + name.toStdString() + "\"";
  } else {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
    if (!screens.rem) {
      problem = "display \"" + name.toStdString() + "\" has no screen " + std::to_string(screenNumber);
    } else if (screens.data->root_depth < kLeastDepth) {
      problem = "display \"" + name.toStdString() + "\" has " + std::to_string(screens.data->root_depth) +
                "-bit colour; at least " + std::to_string(kLeastDepth) + " bits are needed";
    }
  }
  xcb_disconnect(connection);
  return problem;
}

}  // namespace

std::string DisplayProblem() {
  // Qt tries each platform of the list in turn; an entry may carry
  // arguments after a colon.
  QString list = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (list.isEmpty()) list = "xcb";
  std::string problem;
  for (const QString& entry : list.split(';', Qt::SkipEmptyParts)) {
    const QString name = entry.section(':', 0, 0);
    if (!HasPlatformPlugin(name)) {
      if (problem.empty()) problem = "no display platform \"" + name.toStdString() + "\"";
      continue;
    }
    if (name != "xcb") return {};
    const std::string x = XDisplayProblem();
    if (x.empty()) return {};
    problem = x;
  }
  if (problem.empty()) problem = "no display platform is named in QT_QPA_PLATFORM";
  return problem;
}

}  // namespace fw::detail
