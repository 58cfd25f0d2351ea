// The runtime's start-up, event loop and exit, and the one path by which the
// framework calls program code.
//
// Program code never sees a Qt event: every call into it (window and
// control events, the timer, menu handlers, the ready callback) goes through
// RuntimeCallProgram, which runs it under the exception helper. An exception
// that escapes becomes the pending exception and ends the event loop; it
// never crosses Qt.
#pragma once

#include <exception>
#include <functional>
#include <string>

#include "framework/Delegate.h"
#include "framework/Object.h"

namespace fw {

// The exception helper the program installs: calls `fn(arg)` and returns a
// RuntimeException raised inside it (null when nothing was raised); any other
// exception passes on.
std::exception_ptr _CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg);
using ExceptionHelperFunction = std::function<std::exception_ptr(void (*)(void*), void*)>;

// The four start-up arguments of the process, kept as received.
struct StartupArguments {
  void* instance = nullptr;
  void* previousInstance = nullptr;
  std::wstring commandLine;
  int showMode = 0;
};

void RuntimeInit(void* instance, void* previousInstance, const wchar_t* commandLine, int showMode);
const StartupArguments& RuntimeStartupArguments();

// Module initialisers of the program, registered during static
// initialisation and run by the runtime in registration order. An
// initialiser that throws leaves its exception pending. The program
// registers no finalisers: RuntimePerformFinalizers shuts the toolkit down.
struct ModuleInitializer {
  ModuleInitializer(const char* module, void (*initialize)());
};
void RuntimePerformInitializers();
void RuntimePerformFinalizers();

bool RuntimeHasPendingException();
void RuntimeSetPendingException(std::exception_ptr e);  // keeps the first one
std::exception_ptr RuntimeTakePendingException();

// The helper delegate's signature is "( Ptr, Ptr ) as Object"; the runtime
// keeps the delegate.
void RuntimeSetExceptionHelper(const Ref<Delegate>& helper);
void RuntimeCallProgram(const std::function<void()>& call);

void RuntimeRecordToolchainVersion(double version);
double RuntimeToolchainVersion();

void RuntimeInitExternalClasses();
void InitPluginEntrypoints();

// Asks the installed toolkit to start the GUI, then runs the ready callback,
// a "(  )" delegate, once. A toolkit that can show nothing says why on
// stderr, and the run ends with 1 without the callback. With no toolkit
// installed (the Qt-free core) only the callback runs.
void RunFrameworkInitialization(const Ref<Delegate>& ready);

// The event loop; returns when the application quits.
void RuntimeRun();

// Reports one unhandled exception: a line on stderr and, with the GUI up, a
// message box. The exit code becomes 1.
void RuntimeUnhandledException(std::exception_ptr e);

// Ends the event loop; the exit code becomes `code`.
void Quit(int code = 0);
bool RuntimeQuitRequested();
int RuntimeExit();

}  // namespace fw
