#include "tests/support/X11Session.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "framework/qt/X11.h"
#include "tests/support/Menus.h"

namespace x11test {
namespace {

pid_t xvfb = 0;
void StopXvfb() {
  if (xvfb > 0) {
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
  }
  xvfb = 0;
}

// One Xvfb on a display it chooses; its number, or empty.
std::string LaunchXvfb() {
  int fds[2];
  if (pipe(fds) != 0) return {};
  xvfb = fork();
  if (xvfb == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    freopen("/dev/null", "w", stdout);
    freopen("/dev/null", "w", stderr);
    // -noreset: otherwise the server resets when its last client goes (the
    // start-up check's connection below, before the program has its own)
    // and refuses the connections that come while it does.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char ch;
  while (read(fds[0], &ch, 1) == 1 && ch != '\n') number += ch;
  close(fds[0]);
  return number;
}

// A connection of the test's own, apart from the program's.
struct Connection {
  Connection() : c(xcb_connect(nullptr, nullptr)) {}
  ~Connection() { xcb_disconnect(c); }
  bool Ok() const { return !xcb_connection_has_error(c); }
  xcb_window_t Root() const { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
  xcb_atom_t Atom(const char* name) const { return fw::detail::X11Atom(c, name); }
  // The first 32-bit item of a property, or nothing.
  bool Property(xcb_window_t window, xcb_atom_t property, uint32_t* value) const {
    auto cookie = xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(xcb_get_property_reply(c, cookie, nullptr),
                                                                          &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4) return false;
    *value = *static_cast<uint32_t*>(xcb_get_property_value(reply.get()));
    return true;
  }
  xcb_connection_t* c;
};

}  // namespace

bool StartXvfb() {
  atexit(StopXvfb);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string number = LaunchXvfb();
    if (number.empty()) break;
    const std::string display = ":" + number;
    // A server that takes no connection is replaced by one on a fresh
    // number.
    xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
    const bool answers = !xcb_connection_has_error(c);
    xcb_disconnect(c);
    if (answers) {
      setenv("DISPLAY", display.c_str(), 1);
      return true;
    }
    StopXvfb();
  }
  StopXvfb();
  return false;
}

WindowManager::WindowManager() {
  Connection x;
  if (!x.Ok()) return;
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.setStandardOutputFile(QProcess::nullDevice());
  process_.start("openbox", {"--sm-disable", "--config-file", "/etc/xdg/openbox/rc.xml"});
  if (!process_.waitForStarted()) return;
  // It manages windows once it has given a window of ours a state. A map
  // request that comes while it is still starting may be dropped: asked
  // again until it is taken.
  const xcb_window_t probe = xcb_generate_id(x.c);
  xcb_create_window(x.c, XCB_COPY_FROM_PARENT, probe, x.Root(), 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    XCB_COPY_FROM_PARENT, 0, nullptr);
  const xcb_atom_t wmState = x.Atom("WM_STATE");
  uint32_t state = 0;
  running_ = QTest::qWaitFor(
      [&] {
        if (process_.state() != QProcess::Running) return false;
        xcb_map_window(x.c, probe);
        xcb_flush(x.c);
        return x.Property(probe, wmState, &state);
      },
      10000);
  xcb_destroy_window(x.c, probe);
  xcb_flush(x.c);
  running_ = running_ && process_.state() == QProcess::Running;
}

WindowManager::~WindowManager() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.terminate();
  if (!process_.waitForFinished(10000)) {
    process_.kill();
    process_.waitForFinished();
  }
}

bool Xdotool(const QStringList& args) {
  QProcess xdotool;
  xdotool.start("xdotool", args);
  if (!xdotool.waitForStarted()) return false;
  const bool ended = QTest::qWaitFor([&] { return xdotool.state() == QProcess::NotRunning; }, 10000);
  if (!ended) {
    xdotool.kill();
    xdotool.waitForFinished();
    return false;
  }
  return xdotool.exitStatus() == QProcess::NormalExit && xdotool.exitCode() == 0;
}

Held::Held(QStringList down, QStringList up) : up_(std::move(up)) { pressed_ = Xdotool(down); }

bool Held::Release() {
  if (!pressed_) return true;
  pressed_ = false;
  return Xdotool(up_);
}

bool Tap(const QString& keysym, const QString& modifier) {
  if (modifier.isEmpty()) {
    Held key = Held::Key(keysym);
    return key.Pressed() && key.Release();
  }
  Held held = Held::Key(modifier);
  if (!held.Pressed()) return false;
  Held key = Held::Key(keysym);
  return key.Pressed() && key.Release() && held.Release();
}

bool MoveTo(const QPoint& at) {
  // xdotool waits for a motion that never comes when the pointer is there already.
  if (QCursor::pos() == at) return true;
  return Xdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y())});
}

bool ClickAt(const QPoint& at) {
  if (!MoveTo(at)) return false;
  Held button = Held::Button(1);
  return button.Pressed() && button.Release();
}

bool ClickOn(QWidget* widget) { return ClickAt(widget->mapToGlobal(widget->rect().center())); }

InputLog::InputLog() : QObject(qApp) { qApp->installEventFilter(this); }

bool InputLog::eventFilter(QObject* watched, QEvent* e) {
  // An event reaches the window first and then each widget it goes to:
  // counted once, at the window.
  if (!watched->isWindowType()) return false;
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(e);
      if (!key->isAutoRepeat()) ++counts_[{e->type() == QEvent::KeyPress ? kKeyPress : kKeyRelease, key->key()}];
      break;
    }
    case QEvent::MouseButtonRelease: ++counts_[{kButtonRelease, 0}]; break;
    default: break;
  }
  return false;
}

int InputLog::Count(Kind kind, int key) const {
  auto it = counts_.find({kind, key});
  return it == counts_.end() ? 0 : it->second;
}

bool WaitUntilUngrabbed(int ms) {
  Connection x;
  if (!x.Ok()) return false;
  const xcb_window_t root = x.Root();
  // A grab of our own succeeds only while nobody else holds one.
  return QTest::qWaitFor(
      [&] {
        std::unique_ptr<xcb_grab_pointer_reply_t, decltype(&std::free)> pointer(
            xcb_grab_pointer_reply(x.c,
                                   xcb_grab_pointer(x.c, 0, root, 0, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                                                    XCB_NONE, XCB_CURRENT_TIME),
                                   nullptr),
            &std::free);
        const bool pointerFree = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS;
        if (pointerFree) xcb_ungrab_pointer(x.c, XCB_CURRENT_TIME);
        std::unique_ptr<xcb_grab_keyboard_reply_t, decltype(&std::free)> keyboard(
            xcb_grab_keyboard_reply(
                x.c, xcb_grab_keyboard(x.c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                nullptr),
            &std::free);
        const bool keyboardFree = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
        if (keyboardFree) xcb_ungrab_keyboard(x.c, XCB_CURRENT_TIME);
        xcb_flush(x.c);
        return pointerFree && keyboardFree;
      },
      ms);
}

bool AnyKeyDown() {
  Connection x;
  if (!x.Ok()) return false;
  std::unique_ptr<xcb_query_keymap_reply_t, decltype(&std::free)> keymap(
      xcb_query_keymap_reply(x.c, xcb_query_keymap(x.c), nullptr), &std::free);
  if (!keymap) return false;
  for (uint8_t byte : keymap->keys) {
    if (byte) return true;
  }
  return false;
}

WmState WmStateOf(QWidget* window) {
  Connection x;
  uint32_t state = 0;
  if (!x.Ok() || !window || !x.Property(static_cast<xcb_window_t>(window->winId()), x.Atom("WM_STATE"), &state)) {
    return WmState::kNone;
  }
  switch (state) {
    case 0: return WmState::kWithdrawn;
    case 1: return WmState::kNormal;
    case 3: return WmState::kIconic;
    default: return WmState::kNone;
  }
}

bool Minimise(QWidget* window) { return Xdotool({"windowminimize", "--sync", QString::number(window->winId())}); }

QPoint TitleCentre(QMenuBar* bar, const QString& title) {
  QMenu* menu = testsupport::MenuTitled(bar, title);
  if (!menu) {
    ADD_FAILURE() << "no menu " << title.toStdString();
    return {};
  }
  return bar->mapToGlobal(bar->actionGeometry(menu->menuAction()).center());
}

void ChooseFromBar(QMenuBar* bar, const QString& title, const QString& item, int nth) {
  QMenu* menu = testsupport::MenuTitled(bar, title);
  ASSERT_TRUE(menu) << "no menu " << title.toStdString();
  ASSERT_TRUE(ClickAt(TitleCentre(bar, title)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << title.toStdString() << " did not open";
  QAction* chosen = testsupport::ActionCaptioned(menu, item, nth);
  ASSERT_TRUE(chosen) << "no item " << item.toStdString() << " number " << nth << " in " << title.toStdString();
  ASSERT_TRUE(ClickAt(menu->mapToGlobal(menu->actionGeometry(chosen).center())));
}

}  // namespace x11test
