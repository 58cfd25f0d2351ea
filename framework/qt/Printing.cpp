// Printing on Qt: not built yet. The real dialog and the layout of styled
// text say so; the test seams already work, so that a print loop can be
// tried against a substitute dialog and printer.
#include "framework/Printing.h"

#include <QCoreApplication>
#include <functional>

#include "framework/Controls.h"
#include "framework/TestSeams.h"

namespace fw {
namespace {
[[noreturn]] void NotYet() { throw RuntimeException("printing is not part of the program yet"); }

std::function<Ref<Graphics>()>& Dialog() {
  static std::function<Ref<Graphics>()> dialog;
  return dialog;
}
std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)>& Factory() {
  static std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)> factory;
  return factory;
}
int yields = 0;
}  // namespace

Ref<Graphics> OpenPrinterDialog(const Ref<Object>&, const Ref<Window>&) {
  if (Dialog()) return Dialog()();
  NotYet();
}
void RuntimeBackgroundTask() {
  ++yields;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
Ref<StyledTextPrinter> TextArea::styledTextPrinter(const Ref<Graphics>& graphics, std::int64_t width) {
  if (Factory()) return Factory()(graphics, width);
  NotYet();
}

namespace test {
void SetPrintDialog(std::function<Ref<Graphics>()> dialog) { Dialog() = std::move(dialog); }
Ref<Graphics> PdfPrintJob(const std::string&) { NotYet(); }
void SetStyledTextPrinterFactory(std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)> factory) {
  Factory() = std::move(factory);
}
int BackgroundTaskCount() { return yields; }
}  // namespace test
}  // namespace fw
