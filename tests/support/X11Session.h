// Steps shared by the tests that run on a real X server: a private Xvfb, a
// window manager, and input that the server itself delivers (XTEST, through
// xdotool) while the Qt event loop runs, so that grabs, focus changes and
// the order of events are the window system's own. Every key or button that
// a test holds down is released when its guard goes, on every way out.
#pragma once

#include <QObject>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <map>
#include <utility>

class QMenuBar;
class QWidget;

namespace x11test {

// Starts Xvfb on a display that it chooses (-displayfd), points DISPLAY at
// it and stops it at exit. Called before the QApplication exists.
bool StartXvfb();

// A window manager (openbox) on DISPLAY for the object's lifetime: it
// manages windows once the constructor returns, and has let them go once
// the destructor returns.
class WindowManager {
 public:
  WindowManager();
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;
  bool Running() const { return running_; }

 private:
  QProcess process_;
  bool running_ = false;
};

// Runs xdotool with `args` to its end while the event loop runs; false
// when it could not run or failed.
bool Xdotool(const QStringList& args);

// A key (an X keysym name such as "Alt_L") or a mouse button held down
// until Release() or the end of the guard's scope.
class Held {
 public:
  static Held Key(const QString& keysym) { return Held({"keydown", keysym}, {"keyup", keysym}); }
  static Held Button(int button) {
    return Held({"mousedown", QString::number(button)}, {"mouseup", QString::number(button)});
  }
  ~Held() { Release(); }
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  bool Pressed() const { return pressed_; }
  // True when the release went out (or there was nothing to release).
  bool Release();

 private:
  Held(QStringList down, QStringList up);
  QStringList up_;
  bool pressed_ = false;
};

// Presses and releases a key, with `modifier` (a keysym, or empty) held
// around it.
bool Tap(const QString& keysym, const QString& modifier = {});

// Moves the pointer to `at` (global coordinates) and waits until it is there.
bool MoveTo(const QPoint& at);
// Moves the pointer to `at`, then clicks button 1 there.
bool ClickAt(const QPoint& at);
// Clicks button 1 in the middle of `widget`.
bool ClickOn(QWidget* widget);

// Counts the key and mouse-button events that reach the application's
// windows, so that a test can wait until the program has had an event
// before it sends the next.
class InputLog : public QObject {
 public:
  InputLog();
  int KeyPresses(int key) const { return Count(kKeyPress, key); }
  int KeyReleases(int key) const { return Count(kKeyRelease, key); }
  int ButtonReleases() const { return Count(kButtonRelease, 0); }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  enum Kind { kKeyPress, kKeyRelease, kButtonRelease };
  int Count(Kind kind, int key) const;
  std::map<std::pair<Kind, int>, int> counts_;
};

// Waits, with the event loop running, until no client holds a grab of the
// pointer or of the keyboard (a window manager moving a window, an open
// menu); false when one is still held after `ms`.
bool WaitUntilUngrabbed(int ms = 5000);

// Whether the server has any key down.
bool AnyKeyDown();

// A window's ICCCM state, as its window manager keeps it in WM_STATE.
enum class WmState { kNone, kWithdrawn, kNormal, kIconic };
WmState WmStateOf(QWidget* window);
// The window minimised as a user does it, through the window manager.
bool Minimise(QWidget* window);

// The centre of the title `title` on `bar`, in global coordinates, where a
// click opens its menu. Fails the test when the bar has no such menu.
QPoint TitleCentre(QMenuBar* bar, const QString& title);

// Chooses the `nth` item captioned `item` (0 for the first) from the menu
// `title` of `bar` by clicking the title and then the item. Fails the test
// when either is missing.
void ChooseFromBar(QMenuBar* bar, const QString& title, const QString& item, int nth = 0);

}  // namespace x11test
