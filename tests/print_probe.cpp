// A small program for the end-to-end printing test: the description window
// with the given lines in its text area (the first, the heading, in bold),
// and its own Print handler, which shows the system's print dialog. It
// prints "printed N blocks" or "cancelled" and exits with 0 (printed), 2
// (cancelled) or 1 (an error).
//
// With --no-thread STEP, the next thread start at that step of the print
// path fails (fw::test::FailThreadStartAt); the probe prints twice, writes
// "message box: TEXT" for every message box (dismissed at once) and exits
// as the second print went.
//
// Usage: print_probe [--no-thread STEP] LINE...   (the first line is the bold heading)
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <exception>
#include <iostream>

#include "framework/Menu.h"
#include "framework/Run.h"
#include "framework/TestSeams.h"
#include "framework/qt/TestSupport.h"
#include "info/DescriptionWnd.h"
#include "tests/support/PrintWatch.h"

namespace {

int PrintOnce(const QStringList& lines) {
  auto description = DescriptionWnd();
  description->Show();
  // The lines in place of the description's own text, once the window has
  // set its own heading in bold on opening.
  auto area = description->DescribeFld2();
  area->Value(lines.join('\n').toStdString());
  area->SelectionStart(0);
  area->SelectionLength(lines.front().size());
  area->SelectionBold(true);

  // As in the program, the window is in front before Print is chosen, so
  // its own activation is over before the dialog comes up.
  QElapsedTimer waited;
  waited.start();
  while (QApplication::activeWindow() != fw::test::WidgetOf(fw::Ref<fw::Window>(description)) &&
         waited.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  testsupport::PrintWatch watch(area);
  area.Reset();
  fw::RuntimeChooseMenuItem(description->Print(), description);  // the job goes as the handler returns
  if (auto e = fw::RuntimeTakePendingException()) std::rethrow_exception(e);
  description->Close();
  if (!watch.Started()) {
    std::cout << "cancelled" << std::endl;
    return 2;
  }
  std::cout << "printed " << watch.Blocks() << " blocks" << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList lines = app.arguments().mid(1);
  int prints = 1;
  if (lines.size() >= 2 && lines.front() == "--no-thread") {
    fw::test::FailThreadStartAt(lines[1].toStdString());
    fw::test::SetMessageBoxObserver([](const std::string& text) { std::cout << "message box: " << text << std::endl; });
    lines = lines.mid(2);
    prints = 2;
  }
  if (lines.isEmpty()) lines = {"Heading", "A line of plain text."};
  int status = 1;
  QTimer::singleShot(0, [&] {
    try {
      for (int i = 0; i < prints; ++i) status = PrintOnce(lines);
    } catch (const std::exception& e) {
      std::cerr << "print_probe: " << e.what() << std::endl;
    }
    fw::test::CloseAllWindows();
    QApplication::quit();
  });
  QApplication::exec();
  return status;
}
