// Runs the real program entry with the framework's seams switched on, for
// the start-up tests: every traced runtime step is printed as "step NAME",
// every message box as "box TEXT" (and dismissed), and the exit code is the
// program's. When the event loop starts it prints what the runtime keeps of
// the start-up: "toolchain VERSION" and "arguments [COMMAND-LINE] SHOW-MODE".
//
//   startup_probe FAULT [MODE [ARGS...]]
//
// FAULT is a step name at which the framework raises a fault, or "none".
// MODE says how the event loop is ended once it runs: "quit" (Quit(0), the
// default) or "ctrl-q" (Ctrl+Q typed into the calculator window). ARGS, if
// any, are handed to wWinMain as its command line, joined by blanks.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <string>

#include "calculator/ControlWnd.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/qt/TestSupport.h"
#include "shell/Startup.h"

int main(int argc, char** argv) {
  const std::string fault = argc > 1 ? argv[1] : "none";
  const std::string mode = argc > 2 ? argv[2] : "quit";
  std::setvbuf(stdout, nullptr, _IONBF, 0);

  fw::test::SetTrace([mode](const std::string& step) {
    std::printf("step %s\n", step.c_str());
    if (step != "RuntimeRun") return;
    std::printf("toolchain %.3f\n", fw::RuntimeToolchainVersion());
    const auto& kept = fw::RuntimeStartupArguments();
    std::printf("arguments [%ls] %d\n", kept.commandLine.c_str(), kept.showMode);
    QTimer::singleShot(0, [mode] {
      if (mode == "ctrl-q") {
        auto calculator = ControlWnd();
        // A shortcut reaches only the active window, as for a user.
        if (!QTest::qWaitForWindowActive(fw::test::WidgetOf(calculator))) std::printf("calculator not active\n");
        QTest::keyClick(fw::test::WidgetOf(calculator->FeetFld()), Qt::Key_Q, Qt::ControlModifier);
        // Ctrl+Q should have ended the loop; if not, say so and end it.
        QTimer::singleShot(500, [] {
          std::printf("ctrl-q did not quit\n");
          fw::Quit(3);
        });
      } else {
        fw::Quit(0);
      }
    });
  });
  fw::test::SetMessageBoxObserver([](const std::string& text) { std::printf("box %s\n", text.c_str()); });
  if (fault != "none") fw::test::FailAt(fault);

  std::string line;
  for (int i = 3; i < argc; ++i) line += (i > 3 ? " " : "") + std::string(argv[i]);
  std::wstring commandLine(line.begin(), line.end());
  return wWinMain(nullptr, nullptr, commandLine.data(), 10);
}
