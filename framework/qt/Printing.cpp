// Printing on Qt: not built yet. Every entry point says so.
#include "framework/Printing.h"

#include "framework/Controls.h"
#include "framework/TestSeams.h"

namespace fw {
namespace {
[[noreturn]] void NotYet() { throw RuntimeException("printing is not part of the program yet"); }
}  // namespace

Ref<Graphics> OpenPrinterDialog(const Ref<Object>&, const Ref<Window>&) { NotYet(); }
void RuntimeBackgroundTask() { NotYet(); }
Ref<StyledTextPrinter> TextArea::styledTextPrinter(const Ref<Graphics>&, std::int64_t) { NotYet(); }

namespace test {
void SetPrintDialog(std::function<Ref<Graphics>()>) {}
Ref<Graphics> PdfPrintJob(const std::string&) { NotYet(); }
void SetStyledTextPrinterFactory(std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)>) {}
int BackgroundTaskCount() { return 0; }
}  // namespace test
}  // namespace fw
