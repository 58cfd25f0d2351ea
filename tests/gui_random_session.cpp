// A seeded random user session on the program's real windows, from
// start-up: keys of every kind, typed and pasted text, clicks on every
// control, menu items, close requests and the About timer, in random order.
// After every event the program must still hold together: the calculator's
// fields hold digits within their limits, the result line is hidden or
// well formed, no window class is open twice, a window is on screen, and
// the program runs or has quit with 0. When it quits, it starts again.
//
// QUORVEL_RANDOM_SEED and QUORVEL_RANDOM_EVENTS choose the session; a
// failure prints the seed and the events that led to it. The test decides
// when the About timer fires, so that a seed replays the same session
// whatever the machine's speed.
#include <QtTest/qtestspontaneevent.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "info/AboutWnd.h"
#include "info/DescriptionWnd.h"
#include "shell/Startup.h"
#include "tests/support/GuiTest.h"
#include "tests/support/Menus.h"
#include "tests/support/TestWindows.h"

namespace {

using fw::test::WidgetOf;

constexpr unsigned kDefaultSeed = 1;
constexpr int kDefaultEvents = 400;
// The About timer waits this long while held; only the test fires it.
constexpr int kHeldMs = 24 * 60 * 60 * 1000;

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return end && *end == '\0' ? value : fallback;
}

std::string Short(const std::string& className) { return className.substr(0, className.find('.')); }

struct Key {
  const char* name;
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
};

// Every kind of key a user can press, Ctrl+Q apart.
const Key kKeys[] = {
    {"0", Qt::Key_0, {}},
    {"1", Qt::Key_1, {}},
    {"4", Qt::Key_4, {}},
    {"5", Qt::Key_5, {}},
    {"9", Qt::Key_9, {}},
    {"a", Qt::Key_A, {}},
    {"Shift+Z", Qt::Key_Z, Qt::ShiftModifier},
    {"e", Qt::Key_E, {}},
    {"Space", Qt::Key_Space, {}},
    {"-", Qt::Key_Minus, {}},
    {".", Qt::Key_Period, {}},
    {"Return", Qt::Key_Return, {}},
    {"Enter", Qt::Key_Enter, Qt::KeypadModifier},
    {"Tab", Qt::Key_Tab, {}},
    {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier},
    {"Backspace", Qt::Key_Backspace, {}},
    {"Delete", Qt::Key_Delete, {}},
    {"Left", Qt::Key_Left, {}},
    {"Right", Qt::Key_Right, {}},
    {"Up", Qt::Key_Up, {}},
    {"Down", Qt::Key_Down, {}},
    {"Home", Qt::Key_Home, {}},
    {"End", Qt::Key_End, {}},
    {"PageUp", Qt::Key_PageUp, {}},
    {"PageDown", Qt::Key_PageDown, {}},
    {"Shift+Left", Qt::Key_Left, Qt::ShiftModifier},
    {"Escape", Qt::Key_Escape, {}},
    {"F1", Qt::Key_F1, {}},
    {"F2", Qt::Key_F2, {}},
    {"F4", Qt::Key_F4, {}},
    {"F5", Qt::Key_F5, {}},
    {"F10", Qt::Key_F10, {}},
    {"F12", Qt::Key_F12, {}},
    {"Alt+F4", Qt::Key_F4, Qt::AltModifier},
    {"Insert", Qt::Key_Insert, {}},
    {"Menu", Qt::Key_Menu, {}},
    {"Alt", Qt::Key_Alt, {}},
    {"Shift", Qt::Key_Shift, {}},
    {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},
    {"Ctrl+C", Qt::Key_C, Qt::ControlModifier},
    {"Ctrl+X", Qt::Key_X, Qt::ControlModifier},
    {"Ctrl+V", Qt::Key_V, Qt::ControlModifier},
    {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier},
    {"Ctrl+Shift+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
    {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier},
    {"Ctrl+P", Qt::Key_P, Qt::ControlModifier},
    {"Ctrl+W", Qt::Key_W, Qt::ControlModifier},
    {"Ctrl+Return", Qt::Key_Return, Qt::ControlModifier},
    {"Ctrl+Backspace", Qt::Key_Backspace, Qt::ControlModifier},
    {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier},
    {"Alt+F", Qt::Key_F, Qt::AltModifier},
    {"Alt+W", Qt::Key_W, Qt::AltModifier},
};
const Key kQuitKey = {"Ctrl+Q", Qt::Key_Q, Qt::ControlModifier};

// Ctrl+letter as X11 delivers it: with the control character as its text.
struct ControlCharacter {
  const char* name;
  Qt::Key key;
  const char* text;
};
const ControlCharacter kControlCharacters[] = {
    {"Ctrl+I", Qt::Key_I, "\t"}, {"Ctrl+J", Qt::Key_J, "\n"}, {"Ctrl+M", Qt::Key_M, "\r"}, {"Ctrl+H", Qt::Key_H, "\b"}};

// Text that arrives without a key code of its own, from a keyboard layout
// or an input method: accents, other scripts' digits, wide characters, a
// character outside the BMP, the zero-width non-joiner of Persian layouts.
const char* const kTexts[] = {"\xc3\xa9" /* é */,
                              "\xd9\xa3" /* ٣ */,
                              "\xe6\x97\xa5\xe6\x9c\xac" /* 日本 */,
                              "\xef\xbc\x95" /* fullwidth 5 */,
                              "\xc2\xbd" /* ½ */,
                              "\xf0\x9f\x98\x80" /* an emoji */,
                              "\xe2\x80\x8c" /* ZWNJ */,
                              "5",
                              "12",
                              "160",
                              "1a"};
// An input method may commit anything, line breaks and tabs too.
const char* const kCommits[] = {"\xe6\x97\xa5\xe6\x9c\xac", "\xd9\xa3", "7", "42", "1\n2", "\t", "\xe2\x80\x8c"};

// What a user might have on the clipboard.
const char* const kPastes[] = {"5",
                               "10",
                               "160",
                               "1234567",
                               "",
                               "abc",
                               "1e2",
                               " 12",
                               "-12",
                               "1.5",
                               "\xd9\xa3",
                               "\xe6\x97\xa5",
                               "1\n2",
                               "12\r\n",
                               "\t7",
                               "007",
                               "99999999999999999999",
                               "\xf0\x9f\x98\x80"};

class RandomSession : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    seed_ = static_cast<unsigned>(EnvNumber("QUORVEL_RANDOM_SEED", kDefaultSeed));
    events_ = static_cast<int>(EnvNumber("QUORVEL_RANDOM_EVENTS", kDefaultEvents));
    rng_.seed(seed_);
    // A context menu or any other nested loop left waiting for a user is
    // closed as a user would close it, so that the session never hangs.
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(200);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] { CloseWaitingLoop(); });
  }

  // The program as it starts: its seams, then the About window.
  void StartProgram() {
    fw::test::SetMessageBoxObserver([this](const std::string& text) {
      Log("  message box: " + text);
      if (text != calculator::kWeightMessage && text != calculator::kFeetMessage &&
          text != calculator::kInchesMessage) {
        broken_ = "a message box that is no range message: " + text;
      }
    });
    // The real dialog would wait for a user; this one answers Cancel.
    fw::test::SetPrintDialog([] { return fw::Ref<fw::Graphics>(); });
    _MakeDefaultView();
    Settle();
  }

  // A new run of the program after it quit, as a new process has it.
  void RestartProgram() {
    fw::test::ResetRuntime();
    // Quitting leaves Qt's loops refusing to start (message boxes, menus);
    // a turn of the application's own loop clears that.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    StartApplication();
    life_.clear();
    Log("-- the program starts again");
    StartProgram();
  }

  // An event's line, numbered; notes on what it caused start with blanks.
  void Log(const std::string& line) {
    life_.push_back(line.front() == ' ' || line.front() == '-' ? line : "#" + std::to_string(event_) + " " + line);
  }

  // ---- what is on screen

  std::vector<fw::Ref<fw::Window>> ShownWindows() {
    std::vector<fw::Ref<fw::Window>> shown;
    for (const auto& w : fw::RuntimeOpenWindows()) {
      if (w->IsShown()) shown.push_back(w);
    }
    return shown;
  }

  template <class T>
  T& Pick(std::vector<T>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng_)];
  }
  int Roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  struct Target {
    QPointer<QWidget> widget;
    std::string name;
  };

  // The visible controls of a window, and its background.
  std::vector<Target> ControlsOf(const fw::Ref<fw::Window>& window) {
    std::vector<Target> targets;
    for (const auto& control : window->Controls()) {
      auto rect = std::dynamic_pointer_cast<fw::RectControl>(control.shared());
      if (!rect) continue;
      QWidget* w = WidgetOf(fw::Ref<fw::RectControl>(rect));
      if (w && w->isVisible()) targets.push_back({w, Short(window->ClassName()) + "." + control->Name()});
    }
    targets.push_back({WidgetOf(window)->centralWidget(), Short(window->ClassName()) + " background"});
    return targets;
  }

  // A name for any widget the session sends something to.
  std::string NameOf(QWidget* widget) {
    for (const auto& window : fw::RuntimeOpenWindows()) {
      if (WidgetOf(window) == widget) return Short(window->ClassName());
      for (const auto& t : ControlsOf(window)) {
        if (t.widget == widget) return t.name;
      }
    }
    return widget->metaObject()->className();
  }

  // Where a key goes: the open menu, the focus, or any control on screen.
  Target KeyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget(); popup && Roll(10) < 7) return {popup, "the open menu"};
    QWidget* focus = QApplication::focusWidget();
    if (focus && Roll(2) == 0) return {focus, "focus " + NameOf(focus)};
    auto shown = ShownWindows();
    if (shown.empty()) return {};
    auto& window = Pick(shown);
    if (Roll(5) == 0) return {WidgetOf(window), Short(window->ClassName())};
    auto controls = ControlsOf(window);
    return Pick(controls);
  }

  std::vector<Target> TextFields() {
    std::vector<Target> fields;
    for (const auto& window : ShownWindows()) {
      for (const auto& t : ControlsOf(window)) {
        if (qobject_cast<QTextEdit*>(t.widget)) fields.push_back(t);
      }
    }
    return fields;
  }

  // ---- the events

  void PressKey(const Key& key) {
    Target target = KeyTarget();
    if (!target.widget) return Log("key " + std::string(key.name) + ": nothing on screen");
    Log("key " + std::string(key.name) + " -> " + target.name);
    if (key.key == Qt::Key_Alt || key.key == Qt::Key_Shift) {
      QTest::keyPress(target.widget, key.key);
      if (target.widget) QTest::keyRelease(target.widget, key.key);
    } else {
      QTest::keyClick(target.widget, key.key, key.modifiers);
    }
  }

  // A key press and release that carries `text`, as a keyboard layout or
  // an input method delivers what has no key code of its own.
  static void SendText(const QPointer<QWidget>& widget, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    if (!widget) return;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
  }

  void PressControlCharacter() {
    const auto& c = kControlCharacters[Roll(static_cast<int>(std::size(kControlCharacters)))];
    Target target = KeyTarget();
    if (!target.widget) return;
    Log(std::string(c.name) + " with its control character -> " + target.name);
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::ControlModifier, QString::fromLatin1(c.text));
    QApplication::sendEvent(target.widget, &press);
    if (!target.widget) return;
    QKeyEvent release(QEvent::KeyRelease, c.key, Qt::ControlModifier, QString::fromLatin1(c.text));
    QApplication::sendEvent(target.widget, &release);
  }

  void TypeText() {
    const std::string text = kTexts[Roll(static_cast<int>(std::size(kTexts)))];
    Target target = KeyTarget();
    if (!target.widget) return;
    const QString q = QString::fromUtf8(text.c_str());
    const bool ascii = std::all_of(text.begin(), text.end(), [](char ch) { return ch >= ' ' && ch < 127; });
    if (ascii && Roll(2) == 0) {
      Log("typed \"" + text + "\" -> " + target.name);
      QTest::keyClicks(target.widget, q);
    } else if (Roll(4) == 0) {
      const std::string commit = kCommits[Roll(static_cast<int>(std::size(kCommits)))];
      Log("input method commits \"" + commit + "\" -> " + target.name);
      QInputMethodEvent e;
      e.setCommitString(QString::fromUtf8(commit.c_str()));
      QApplication::sendEvent(target.widget, &e);
    } else if (Roll(2) == 0) {
      Log("text \"" + text + "\" as one key -> " + target.name);
      SendText(target.widget, q);
    } else {
      Log("text \"" + text + "\" a key a character -> " + target.name);
      for (uint code : q.toUcs4()) {
        if (!target.widget) return;
        SendText(target.widget, QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1));
      }
    }
  }

  // Values near the fields' ranges, typed over what they hold, so that
  // Calculate often has something to compute: into one field, or all three.
  void TypeValues() {
    auto c = testsupport::OpenWindow<class ControlWnd>();
    if (!c || !c->IsShown()) return Log("values: no calculator on screen");
    const bool all = Roll(2) == 0;
    const int only = Roll(3);
    std::vector<std::pair<fw::Ref<fw::TextArea>, int>> values;
    std::string line = "values";
    for (int which = 0; which < 3; ++which) {
      if (!all && which != only) continue;
      const auto field = which == 0 ? c->FeetFld() : (which == 1 ? c->InchFld() : c->WeightFld());
      const int value = which == 0 ? 3 + Roll(5) : (which == 1 ? Roll(13) : 95 + Roll(211));
      values.emplace_back(field, value);
      line += " " + field->Name() + " " + std::to_string(value);
    }
    // Then often Return, which presses Calculate.
    const bool enter = all && Roll(2) == 0;
    Log(line + (enter ? ", Return" : ""));
    for (const auto& [field, value] : values) {
      QPointer<QWidget> widget = WidgetOf(field);
      QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
      if (widget) QTest::keyClicks(widget, QString::number(value));
    }
    QPointer<QWidget> weight = WidgetOf(c->WeightFld());
    if (enter && weight) QTest::keyClick(weight, Qt::Key_Return);
  }

  void Paste() {
    auto fields = TextFields();
    if (fields.empty()) return;
    Target& field = Pick(fields);
    const std::string text = kPastes[Roll(static_cast<int>(std::size(kPastes)))];
    Log("paste \"" + text + "\" (Ctrl+V) -> " + field.name);
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.c_str()));
    QTest::keyClick(field.widget, Qt::Key_V, Qt::ControlModifier);
  }

  void Click() {
    auto shown = ShownWindows();
    if (shown.empty()) return;
    auto controls = ControlsOf(Pick(shown));
    // Buttons now and then by preference: they are what gets things done.
    if (Roll(3) == 0) {
      std::vector<Target> buttons;
      std::copy_if(controls.begin(), controls.end(), std::back_inserter(buttons),
                   [](const Target& t) { return qobject_cast<QPushButton*>(t.widget) != nullptr; });
      if (!buttons.empty()) controls = buttons;
    }
    Target& target = Pick(controls);
    const QSize size = target.widget->size();
    const QPoint at(Roll(std::max(1, size.width())), Roll(std::max(1, size.height())));
    const int kind = Roll(20);
    const Qt::MouseButton button = kind == 0 ? Qt::RightButton : (kind == 1 ? Qt::MiddleButton : Qt::LeftButton);
    const char* how = kind == 0 ? "right click" : (kind == 1 ? "middle click" : (kind == 2 ? "double click" : "click"));
    std::ostringstream line;
    line << how << " on " << target.name << " at " << at.x() << "," << at.y();
    Log(line.str());
    if (kind == 2) {
      QTest::mouseDClick(target.widget, button, {}, at);
    } else {
      QTest::mouseClick(target.widget, button, {}, at);
    }
  }

  // The title of the menu that shows `item`.
  static QString MenuTitleOf(QAction* item) {
    for (QObject* shownIn : item->associatedObjects()) {
      if (auto* menu = qobject_cast<QMenu*>(shownIn)) return menu->title();
    }
    return {};
  }

  // An item of a shown window's menu bar, after the refresh a user's
  // opening the menu makes. Quit only when `mayQuit`.
  void ChooseMenuItem(bool mayQuit) {
    auto shown = ShownWindows();
    if (shown.empty()) return;
    auto& window = Pick(shown);
    QMenuBar* bar = WidgetOf(window)->findChild<QMenuBar*>();
    if (!bar) return Log("menu: " + Short(window->ClassName()) + " has no menu bar");
    std::vector<std::pair<QAction*, std::string>> items;
    for (QAction* action : testsupport::RefreshedItems(bar)) {
      if (!action->isEnabled()) continue;
      if (!mayQuit && action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_Q)) continue;
      items.emplace_back(action, (MenuTitleOf(action) + " > " + action->text()).toStdString());
    }
    if (items.empty()) return Log("menu of " + Short(window->ClassName()) + ": nothing enabled");
    auto& [action, name] = Pick(items);
    Log("menu " + name + " in " + Short(window->ClassName()));
    action->trigger();
  }

  // A close request from the window system, as its close button or Alt+F4
  // sends it.
  void RequestClose() {
    auto shown = ShownWindows();
    if (shown.empty()) return;
    auto& window = Pick(shown);
    // Closing the calculator quits; it is asked less often, so that a run
    // of the program lasts long enough to get somewhere.
    if (window->ClassName() == ControlWnd::kClassName && Roll(4) != 0) return Log("no close request");
    Log("close request to " + Short(window->ClassName()));
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(WidgetOf(window), &close);
  }

  // A newly armed About timer waits until the test fires it.
  void HoldAboutTimer() {
    auto about = testsupport::OpenWindow<class AboutWnd>();
    if (!about) return;
    const auto period = about->Timer1()->Period();
    if (QTimer* t = testsupport::RunningTimerOf(about, static_cast<int>(period))) t->start(kHeldMs);
  }

  void FireAboutTimer() {
    QTimer* t = testsupport::RunningTimerOf(testsupport::OpenWindow<class AboutWnd>(), kHeldMs);
    if (!t) return Log("About timer: not armed");
    Log("About timer fires");
    t->start(0);
  }

  void CloseWaitingLoop() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      Log("  a menu waited for a user: closed");
      popup->close();
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      Log("  a modal window waited for a user: closed");
      modal->close();
    }
    watchdog_.start();
  }

  void OneEvent() {
    const int roll = Roll(100);
    watchdog_.start();
    if (roll < 30) {
      // Rarely the quit key, which ends this run of the program.
      PressKey(Roll(300) == 0 ? kQuitKey : kKeys[Roll(static_cast<int>(std::size(kKeys)))]);
    } else if (roll < 32) {
      PressControlCharacter();
    } else if (roll < 38) {
      TypeText();
    } else if (roll < 46) {
      TypeValues();
    } else if (roll < 52) {
      Paste();
    } else if (roll < 74) {
      Click();
    } else if (roll < 86) {
      ChooseMenuItem(Roll(40) == 0);
    } else if (roll < 89) {
      RequestClose();
    } else if (roll < 94) {
      FireAboutTimer();
    } else {
      const int ms = 1 + Roll(15);
      Log("wait " + std::to_string(ms) + " ms");
      QTest::qWait(ms);
    }
    watchdog_.stop();
    Settle();
  }

  void Settle() {
    QCoreApplication::processEvents();
    fw::test::FlushDeletes();
    HoldAboutTimer();
  }

  // ---- the invariants; empty when they hold

  std::string Broken() {
    if (!broken_.empty()) return broken_;
    if (fw::RuntimeHasPendingException()) {
      std::string what = "an exception escaped into the framework";
      try {
        std::rethrow_exception(fw::RuntimeTakePendingException());
      } catch (const std::exception& e) {
        what += std::string(": ") + e.what();
      } catch (...) {
      }
      return what;
    }
    if (fw::RuntimeQuitRequested()) {
      return fw::RuntimeExit() == 0 ? "" : "quit with exit code " + std::to_string(fw::RuntimeExit());
    }

    const auto open = fw::RuntimeOpenWindows();
    for (const char* name : {ControlWnd::kClassName, AboutWnd::kClassName, DescriptionWnd::kClassName}) {
      if (const int n = testsupport::OpenWindowsOf(name); n > 1)
        return std::to_string(n) + " windows of class " + name + " are open";
    }
    if (ShownWindows().empty()) return "the program runs with no window shown";
    // A window on screen is one the program has open.
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!qobject_cast<QMainWindow*>(top) || !top->isVisible()) continue;
      if (std::none_of(open.begin(), open.end(), [&](const auto& w) { return WidgetOf(w) == top; })) {
        return "a window is on screen that the program has closed";
      }
    }

    auto c = testsupport::OpenWindow<class ControlWnd>();
    if (!c) return "";
    for (const auto& field : {c->FeetFld(), c->InchFld(), c->WeightFld()}) {
      const std::string value = field->Value();
      const std::string shown = qobject_cast<QTextEdit*>(WidgetOf(field))->toPlainText().toStdString();
      if (value != shown) return field->Name() + " shows \"" + shown + "\" but holds \"" + value + "\"";
      if (!std::all_of(value.begin(), value.end(), [](char ch) { return ch >= '0' && ch <= '9'; })) {
        return field->Name() + " holds \"" + value + "\", not only digits";
      }
      if (static_cast<std::int64_t>(value.size()) > field->MaximumCharactersAllowed()) {
        return field->Name() + " holds \"" + value + "\", over its " +
               std::to_string(field->MaximumCharactersAllowed()) + " characters";
      }
    }
    auto result = c->BMIFld();
    auto* label = qobject_cast<QLabel*>(WidgetOf(result));
    if (label->isVisibleTo(WidgetOf(c)) != result->Visible()) {
      return "the result line's widget and control disagree on whether it is shown";
    }
    static const QRegularExpression line(
        R"(\ABMI = \d+\.\d\.  WHO/CDC category: (Underweight|Healthy weight|Overweight|Obesity)\.\z)");
    const std::string text = label->text().toStdString();
    if (result->Visible() && (!line.match(label->text()).hasMatch() || result->Value() != text)) {
      return "the result line shows \"" + text + "\"";
    }
    return "";
  }

  // The events of this run of the program, the last ones when there are
  // many.
  std::string Replay() const {
    constexpr std::size_t kShown = 300;
    std::ostringstream out;
    const std::size_t from = life_.size() > kShown ? life_.size() - kShown : 0;
    if (from > 0) out << "  (" << from << " earlier events of this run left out)\n";
    for (std::size_t i = from; i < life_.size(); ++i) out << "  " << life_[i] << "\n";
    return out.str();
  }

  unsigned seed_ = 0;
  int events_ = 0;
  int event_ = 0;
  std::mt19937 rng_;
  QTimer watchdog_;
  std::vector<std::string> life_;  // the events since the program last started
  std::string broken_;
};

TEST_F(RandomSession, ARandomSessionKeepsTheProgramWhole) {
  StartProgram();
  int runs = 1;
  for (int n = 1; n <= events_; ++n) {
    event_ = n;
    OneEvent();
    if (const std::string broken = Broken(); !broken.empty()) {
      ADD_FAILURE() << "seed " << seed_ << ", event " << n << " of " << events_ << ": " << broken
                    << "\nreplay: QUORVEL_RANDOM_SEED=" << seed_ << " QUORVEL_RANDOM_EVENTS=" << n
                    << "\nthe events since the program last started:\n"
                    << Replay();
      return;
    }
    if (fw::RuntimeQuitRequested()) {
      ++runs;
      RestartProgram();
    }
  }
  std::cout << "[ session  ] seed " << seed_ << ": " << events_ << " events, " << runs << " runs of the program\n";
}

}  // namespace
