// A small program for the end-to-end printing test: a window with a styled
// text area (a bold heading, then plain lines, in "Times" 12), the system's
// print dialog for it, and the print loop the program uses. It prints
// "printed N blocks" or "cancelled" and exits with 0 (printed), 2
// (cancelled) or 1 (an error).
//
// Usage: print_probe LINE...   (the first line is the bold heading)
#include <QApplication>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <iostream>

#include "framework/Controls.h"
#include "framework/Printing.h"
#include "framework/Window.h"
#include "framework/qt/TestSupport.h"

namespace {

using I = std::int64_t;

class ProbeWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "ProbeWnd.ProbeWnd";
  void Layout() override {
    fw::RuntimeMassPropertySetter(
        *this, {{"Width", I{427}}, {"Height", I{491}}, {"Title", fw::String("Probe")}, {"MenuBarVisible", false}});
  }
  void CreateControls() override {
    auto area = __New<fw::TextArea>();
    area->Constructor();
    _AddControl("Body", area);
    fw::RuntimeMassPropertySetter(area, {{"Left", I{10}},
                                         {"Top", I{10}},
                                         {"Width", I{400}},
                                         {"Height", I{470}},
                                         {"Multiline", true},
                                         {"ReadOnly", true},
                                         {"FontName", fw::String("Times")},
                                         {"FontSize", 12.0f}});
  }
  fw::Ref<fw::TextArea> Body() { return fw::Cast<fw::TextArea>(_ControlByName("Body")); }
  std::string ClassName() const override { return kClassName; }
};

int PrintOnce(const QStringList& lines) {
  auto window = fw::RuntimeImplicitWindow<ProbeWnd>();
  auto area = window->Body();
  area->Value(lines.join('\n').toStdString());
  auto* editor = qobject_cast<QTextEdit*>(fw::test::WidgetOf(area));
  QTextCursor heading(editor->document());
  heading.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  heading.mergeCharFormat(bold);

  // As in the program, the window is in front before Print is chosen, so
  // its own activation is over before the dialog comes up.
  QElapsedTimer waited;
  waited.start();
  while (QApplication::activeWindow() != fw::test::WidgetOf(fw::Ref<fw::Window>(window)) && waited.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }

  auto graphics = fw::OpenPrinterDialog({}, window);
  if (!graphics) {
    std::cout << "cancelled" << std::endl;
    return 2;
  }
  auto printer = area->styledTextPrinter(graphics, 540);
  int blocks = 0;
  while (!printer->EOF()) {
    printer->DrawBlock(0, 0, 720);
    ++blocks;
    if (!printer->EOF()) graphics->NextPage();
    fw::RuntimeBackgroundTask();
  }
  printer.Reset();
  graphics.Reset();  // sends the job
  window->Close();
  std::cout << "printed " << blocks << " blocks" << std::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList lines = app.arguments().mid(1);
  if (lines.isEmpty()) lines = {"Heading", "A line of plain text."};
  int status = 1;
  QTimer::singleShot(0, [&] {
    try {
      status = PrintOnce(lines);
    } catch (const std::exception& e) {
      std::cerr << "print_probe: " << e.what() << std::endl;
    }
    fw::test::CloseAllWindows();
    QApplication::quit();
  });
  QApplication::exec();
  return status;
}
