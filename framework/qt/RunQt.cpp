// The event loop, the QApplication and the modal services on Qt.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <iostream>

#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/Window.h"
#include "framework/qt/Accessible.h"
#include "framework/qt/IconFiles.h"
#include "framework/qt/Peers.h"

namespace fw {
namespace detail {
void CloseAllWindows();
}

namespace {
// QApplication keeps references to argc and argv for its whole life.
int argc = 1;
char programName[] = "quorvel";
char* argv[] = {programName, nullptr};

QApplication* ownedApp = nullptr;
bool exitRequested = false;
int requestedCode = 0;
std::function<void(const std::string&)> messageBoxObserver;
}  // namespace

void RunFrameworkInitialization(const Ref<Delegate>& ready) {
  CheckUIThread("RunFrameworkInitialization");
  detail::Step("RunFrameworkInitialization");
  if (!QApplication::instance()) {
    // Must be chosen before the QApplication exists.
    if (Application::SupportsHiDPI()) {
      QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    }
    ownedApp = new QApplication(argc, argv);
  }
  // The program says when it ends (Quit), not the last window closing.
  QApplication::setQuitOnLastWindowClosed(false);
  if (auto app = getAppObject(); app && !app->ShortVersion().empty()) {
    QApplication::setApplicationName(QString::fromStdString(app->ShortVersion()));
  }
  detail::InstallProgramIcon();
  detail::InstallAccessibility();
  Ref<Delegate> callback = ready;  // run it exactly once
  RuntimeCallProgram([&] {
    detail::Step("ReadyCallback");
    callback->Invoke<void>();
  });
}

void RuntimeRun() {
  CheckUIThread("RuntimeRun");
  detail::Step("RuntimeRun");
  if (!RuntimeHasPendingException() && !exitRequested && QApplication::instance()) QApplication::exec();
  try {
    detail::Step("RuntimeRun.end");
  } catch (...) {
    RuntimeSetPendingException(std::current_exception());
  }
}

namespace detail {

bool PlatformGuiIsUp() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

void PlatformExitLoop(int code) {
  exitRequested = true;
  requestedCode = code;
  if (QCoreApplication::instance()) QCoreApplication::exit(code);
}

void PlatformMessageBox(const std::string& title, const std::string& text) {
  if (!PlatformGuiIsUp()) {
    std::cerr << text << '\n';
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  if (messageBoxObserver) {
    messageBoxObserver(text);
    QTimer::singleShot(0, &box, [&box] { box.accept(); });
  }
  box.exec();
}

void PlatformBeep() {
  if (PlatformGuiIsUp()) QApplication::beep();
}

void PlatformShutdown() {
  if (!QCoreApplication::instance()) return;
  CloseAllWindows();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete ownedApp;
  ownedApp = nullptr;
}

}  // namespace detail

namespace test {
void SetMessageBoxObserver(std::function<void(const std::string&)> observer) {
  messageBoxObserver = std::move(observer);
}
}  // namespace test

}  // namespace fw
