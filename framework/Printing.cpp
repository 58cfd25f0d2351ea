// Printing in the core: the test seams, the yield count and the hand-over
// to the toolkit, which owns the dialog, the job and the layout of the text.
// Without a toolkit there is no printer: the dialog gives none, as if
// cancelled, and the yield does nothing.
#include "framework/Printing.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <system_error>
#include <thread>

#include "framework/Application.h"
#include "framework/Controls.h"
#include "framework/Peers.h"
#include "framework/Services.h"
#include "framework/TestSeams.h"
#include "framework/Window.h"

namespace fw {
namespace {

struct PrintSeams {
  std::function<Ref<Graphics>()> dialog;
  std::function<Ref<StyledTextPrinter>(const Ref<Graphics>&, std::int64_t)> factory;
  std::map<std::string, int> threadFaults;  // thread starts to fail, by step
  int yields = 0;
};

// The steps of the print path that start threads.
const char* const kThreadSteps[] = {"PrintServiceCheck", "PrintJobSend"};

PrintSeams& Seams() {
  static PrintSeams seams;
  return seams;
}

// The test seams go with every runtime reset; the yield count is the
// process's.
const test::ResetRegistration reset([] {
  Seams().dialog = nullptr;
  Seams().factory = nullptr;
  Seams().threadFaults.clear();
});

// What the job is called in the print service's queue and log (and what
// a PDF printer names its file by): the application's name and the title
// of the window that prints, "Quorvel - Description"; either alone when the
// other is empty.
std::string JobName(Window* window) {
  const auto app = getAppObject();
  std::string name = app ? app->ShortVersion() : String();
  const std::string title = window ? window->Title() : String();
  if (!title.empty()) name = name.empty() ? title : name + " - " + title;
  return name;
}

}  // namespace

Ref<Graphics> OpenPrinterDialog(const Ref<Object>& /*pageSetup*/, const Ref<Window>& parent) {
  CheckUIThread("OpenPrinterDialog");
  if (auto& dialog = Seams().dialog) return dialog();
  auto* toolkit = detail::InstalledToolkit();
  if (!toolkit) return {};
  // Without a parent, the job is the front window's: the one whose menu
  // the user chose Print from.
  const Ref<Window> window = parent ? parent : toolkit->FrontWindow();
  return toolkit->OpenPrinterDialog(parent.get(), JobName(window.get()));
}

void RuntimeBackgroundTask() {
  CheckUIThread("RuntimeBackgroundTask");
  ++Seams().yields;
  if (auto* toolkit = detail::InstalledToolkit()) toolkit->BackgroundTask();
}

Ref<StyledTextPrinter> TextArea::styledTextPrinter(const Ref<Graphics>& graphics, std::int64_t width) {
  CheckUIThread("TextArea.styledTextPrinter");
  if (auto& factory = Seams().factory) return factory(graphics, width);
  if (!graphics) throw NilObjectException("TextArea.styledTextPrinter was given no graphics");
  if (width <= 0) throw RuntimeException("TextArea.styledTextPrinter needs a width above 0");
  if (!peer_) throw RuntimeException("the text area " + Name() + " has no editor to print from");
  return peer_->PrintText(graphics, width);
}

namespace detail {
Ref<StyledTextPrinter> ControlPeer::PrintText(const Ref<Graphics>&, std::int64_t) { return {}; }

void ReportPrintFailure(const std::string& text) {
  std::cerr << text << std::endl;
  try {
    MsgBox(text);
  } catch (const std::exception& e) {
    std::cerr << "the message could not be shown: " << e.what() << std::endl;
  }
}

void StartPrintThread(const std::string& step, std::function<void()> work) {
  if (auto fault = Seams().threadFaults.find(step); fault != Seams().threadFaults.end() && fault->second > 0) {
    --fault->second;
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  }
  std::thread(std::move(work)).detach();
}
}  // namespace detail

namespace test {
void SetPrintDialog(std::function<Ref<Graphics>()> dialog) { Seams().dialog = std::move(dialog); }

Ref<Graphics> PdfPrintJob(const std::string& path) {
  auto* toolkit = detail::InstalledToolkit();
  if (!toolkit) throw RuntimeException("printing into " + path + " needs a toolkit");
  return toolkit->PdfPrintJob(path);
}

void SetStyledTextPrinterFactory(
    std::function<Ref<StyledTextPrinter>(const Ref<Graphics>& graphics, std::int64_t width)> factory) {
  Seams().factory = std::move(factory);
}

int BackgroundTaskCount() { return Seams().yields; }

void FailThreadStartAt(const std::string& step) {
  if (std::find(std::begin(kThreadSteps), std::end(kThreadSteps), step) == std::end(kThreadSteps)) {
    throw RuntimeException("no step of the print path called " + step + " starts a thread");
  }
  ++Seams().threadFaults[step];
}
}  // namespace test

}  // namespace fw
