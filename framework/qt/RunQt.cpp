// The Qt toolkit: the QApplication, the event loop, the modal services and
// the factory of the widget peers, installed before main runs.
#include <QApplication>
#include <QMessageBox>
#include <QMutex>
#include <QScreen>
#include <QTimer>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "framework/Peers.h"
#include "framework/TestSeams.h"
#include "framework/qt/Accessible.h"
#include "framework/qt/Convert.h"
#include "framework/qt/IconFiles.h"
#include "framework/qt/Peers.h"

namespace fw::detail {

std::shared_ptr<PictureData> DecodeQtPicture(const std::string& path);

namespace {

// Holds back Qt's notes while the QApplication starts. When the program
// can run they are passed on as they came; when it cannot, the one line
// that says why stands alone. A fatal message passes at once (with what
// came before it), since Qt ends the process after it.
class HeldMessages {
 public:
  // Qt hands back its default handler when none was installed.
  HeldMessages() : previous_(qInstallMessageHandler(&Hold)) { held_ = this; }
  ~HeldMessages() {
    qInstallMessageHandler(previous_);
    held_ = nullptr;
  }
  HeldMessages(const HeldMessages&) = delete;
  HeldMessages& operator=(const HeldMessages&) = delete;

  // Stops holding; the messages go on to the handler that was there before.
  void Release() {
    qInstallMessageHandler(previous_);
    QMutexLocker lock(&mutex_);
    PassOn();
  }

 private:
  struct Message {
    QtMsgType type;
    std::optional<std::string> file, function, category;  // none kept as none
    int line;
    QString text;
  };
  static std::optional<std::string> Copy(const char* text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
  }
  static const char* Text(const std::optional<std::string>& copy) { return copy ? copy->c_str() : nullptr; }

  static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    HeldMessages* self = held_;
    if (!self) return;
    QMutexLocker lock(&self->mutex_);
    self->messages_.push_back(
        {type, Copy(context.file), Copy(context.function), Copy(context.category), context.line, text});
    if (type == QtFatalMsg) self->PassOn();
  }

  void PassOn() {
    for (const Message& m : messages_) {
      previous_(m.type, QMessageLogContext(Text(m.file), m.line, Text(m.function), Text(m.category)), m.text);
    }
    messages_.clear();
  }

  static inline std::atomic<HeldMessages*> held_ = nullptr;
  QtMessageHandler previous_;
  QMutex mutex_;
  std::vector<Message> messages_;
};

// The core's toolkit on Qt Widgets. It owns the QApplication only when it
// made it; a QApplication that exists already (the GUI tests') is adopted.
class QtToolkit : public Toolkit {
  // A control's peer, its widget known to the accessibility layer.
  static std::unique_ptr<ControlPeer> Accessible(Control& owner, std::unique_ptr<ControlPeer> peer) {
    RegisterAccessible(Self<Control>(&owner), static_cast<QtControlPeer*>(peer.get())->widget);
    return peer;
  }

 public:
  std::unique_ptr<WindowPeer> MakeWindow(Window& owner) override { return std::make_unique<QtWindowPeer>(owner); }
  std::unique_ptr<ControlPeer> MakeLabel(Label& owner, WindowPeer& window) override {
    return Accessible(owner, MakeLabelPeer(owner, window));
  }
  std::unique_ptr<ControlPeer> MakeTextArea(TextArea& owner, WindowPeer& window) override {
    return Accessible(owner, MakeTextAreaPeer(owner, window));
  }
  std::unique_ptr<ControlPeer> MakePushButton(PushButton& owner, WindowPeer& window) override {
    return Accessible(owner, MakePushButtonPeer(owner, window));
  }
  std::unique_ptr<ControlPeer> MakeCanvas(Canvas& owner, WindowPeer& window) override {
    return Accessible(owner, MakeCanvasPeer(owner, window));
  }
  std::unique_ptr<ControlPeer> MakeRoundRectangle(RoundRectangle& owner, WindowPeer& window) override {
    return Accessible(owner, MakeRoundRectanglePeer(owner, window));
  }
  std::unique_ptr<TimerPeer> MakeTimer(Timer& owner, WindowPeer* window) override {
    return MakeTimerPeer(owner, window);
  }

  Ref<Window> FrontWindow() override {
    auto* active = dynamic_cast<WindowWidget*>(QApplication::activeWindow());
    return active ? Ref<Window>(active->Owner()) : Ref<Window>();
  }

  std::shared_ptr<PictureData> DecodePicture(const std::string& path) override { return DecodeQtPicture(path); }

  bool StartGui(bool supportsHiDPI, const String& applicationName, std::string& problem) override {
    if (!QApplication::instance()) {
      problem = DisplayProblem();
      if (!problem.empty()) return false;
      // Must be chosen before the QApplication exists.
      if (supportsHiDPI) {
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
      }
      HeldMessages held;
      ownedApp_ = new QApplication(argc_, argv_);
      // A platform may start and find no screen (offscreen configured
      // with none, a display whose outputs are all gone).
      if (!QGuiApplication::primaryScreen()) {
        problem = "display platform \"" + ToStdString(QGuiApplication::platformName()) + "\" has no screen";
        delete ownedApp_;
        ownedApp_ = nullptr;
        return false;
      }
      held.Release();
    }
    // The program says when it ends (Quit), not the last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    if (!applicationName.empty()) QApplication::setApplicationName(ToQString(applicationName));
    InstallProgramIcon();
    InstallAccessibility();
    return true;
  }

  bool GuiIsUp() override { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

  void RunLoop() override {
    if (QApplication::instance()) QApplication::exec();
  }

  void ExitLoop(int code) override {
    if (QCoreApplication::instance()) QCoreApplication::exit(code);
  }

  void MessageBox(const std::string& title, const std::string& text, bool dismissAtOnce) override {
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (dismissAtOnce) QTimer::singleShot(0, &box, [&box] { box.accept(); });
    box.exec();
  }

  void Beep() override { QApplication::beep(); }
  Ref<Graphics> OpenPrinterDialog(Window* parent, const std::string& jobName) override {
    return QtOpenPrinterDialog(parent, jobName);
  }
  Ref<Graphics> PdfPrintJob(const std::string& path) override { return QtPdfPrintJob(path); }
  void BackgroundTask() override { QtBackgroundTask(); }

  void Shutdown() override {
    if (!QCoreApplication::instance()) return;
    CloseAllWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete ownedApp_;
    ownedApp_ = nullptr;
  }

 private:
  // QApplication keeps references to argc and argv for its whole life.
  int argc_ = 1;
  char programName_[8] = "quorvel";
  char* argv_[2] = {programName_, nullptr};
  QApplication* ownedApp_ = nullptr;
};

QtToolkit& TheToolkit() {
  static QtToolkit toolkit;
  return toolkit;
}

// Linked whole into every program that links the adapter, so that the
// toolkit is there before any window is made.
[[maybe_unused]] const bool installed = [] {
  InstallToolkit(&TheToolkit());
  return true;
}();

// Widgets closed by a reset go at once, not at some later turn of a loop.
const test::ResetRegistration flushDeletes([] {
  if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
});

}  // namespace
}  // namespace fw::detail
