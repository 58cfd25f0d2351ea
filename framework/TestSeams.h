// Seams through which tests watch and steer the framework without changing
// what the program calls: a trace of the runtime's steps, faults injected at
// named steps, the bell, message boxes and the picture lookup.
//
// Nothing here changes behaviour until a test switches it on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/Printing.h"

namespace fw::test {

// Puts the runtime back as a fresh process has it, so that each test starts
// alike whatever ran before: every window closed, no application object,
// menu bar, file types, pending exception, exception helper, trace, faults,
// picture folders or counts, quit request or exit code, and every module's
// own state that registered a reset. The bell's count runs on.
void ResetRuntime();

// A module's part of ResetRuntime; made at namespace scope, it runs on
// every reset, in the order the registrations were made.
struct ResetRegistration {
  explicit ResetRegistration(std::function<void()> reset);
};

// Called with the name of every traced runtime step as it starts.
void SetTrace(std::function<void(const std::string& step)> trace);

// The next time the named step starts it raises a RuntimeException
// ("injected fault at <step>"). Steps: "RuntimePerformInitializers",
// "FileType.Operator_Convert", "Application._x_SetVersionData",
// "MenuItem.AddMenu", "Application._AddMenuHandler", "Window.Constructor",
// "RuntimeRun.end" (leaves an exception pending when the loop ends),
// "RuntimeGetPictureFromResourceManager".
void FailAt(const std::string& step);
void ClearFaults();

// Beeps sounded since the start of the process.
int BeepCount();

// While set, every message box is reported here and dismissed as soon as it
// is on screen; the program still waits in it as it would for a user.
void SetMessageBoxObserver(std::function<void(const std::string& text)> observer);

// Where pictures are looked up, in place of the folders beside the program.
void SetResourceDirs(std::vector<std::string> dirs);
// How often the picture lookup has read a file of this name.
int PictureReads(const std::string& fileName);

// Printing. While a dialog is set, OpenPrinterDialog shows no dialog and
// returns what it gives (none stands for Cancel). PdfPrintJob is the page
// graphics of a job that prints into a PDF file at `path`, written when its
// last reference goes. While a printer factory is set, styledTextPrinter
// returns what it gives for the graphics and width it was called with.
void SetPrintDialog(std::function<Ref<Graphics>()> dialog);
Ref<Graphics> PdfPrintJob(const std::string& path);
void SetStyledTextPrinterFactory(
    std::function<Ref<StyledTextPrinter>(const Ref<Graphics>& graphics, std::int64_t width)> factory);
// Background-task yields since the start of the process.
int BackgroundTaskCount();
// The next thread start at the named step of the print path fails as it
// does at the process's thread limit (std::system_error, EAGAIN). Steps:
// "PrintServiceCheck" (asking the print service before the dialog and when
// its Print button is pressed), "PrintJobSend" (a job's hand-over).
void FailThreadStartAt(const std::string& step);

}  // namespace fw::test

namespace fw::detail {
// Marks the start of a traced runtime step: reports it to the trace and
// raises the fault injected there, if any.
void Step(const char* name);
}  // namespace fw::detail
