#include "shell/Startup.h"

#include "framework/Application.h"
#include "framework/Protocol.h"
#include "framework/Run.h"
#include "info/AboutWnd.h"
#include "shell/App.h"
#include "shell/FileTypes.h"

int wWinMain(void* instance, void* previousInstance, wchar_t* commandLine, int showMode) {
  fw::RuntimeInit(instance, previousInstance, commandLine, showMode);
  fw::RuntimePerformInitializers();
  try {
    _Main();
  } catch (...) {
    // Even the report failed; the finalisers still run.
    fw::RuntimeSetPendingException(std::current_exception());
  }
  fw::RuntimePerformFinalizers();
  return fw::RuntimeExit();
}

namespace {
// The start-up after the pending-exception check: the exception helper, the
// toolchain version, the early steps, the ready callback and the event
// loop. It stops as soon as an exception is pending.
void StartAndRun() {
  {
    auto helper = fw::RuntimeCreateDelegate(fw::kExceptionHelperSignature,
                                            fw::ExceptionHelperFunction(&fw::_CallFunctionWithExceptionHandling));
    fw::RuntimeSetExceptionHelper(helper);
  }
  fw::RuntimeRecordToolchainVersion(2019.031);
  _EarlyStartup();
  {
    auto ready = fw::RuntimeCreateDelegate(fw::kReadyCallbackSignature, std::function<void()>(&_LateStartup));
    fw::RunFrameworkInitialization(ready);
  }
  if (fw::RuntimeHasPendingException()) return;
  fw::RuntimeRun();
}
}  // namespace

void _Main() {
  std::exception_ptr failure = fw::RuntimeTakePendingException();
  if (!failure) {
    try {
      StartAndRun();
    } catch (...) {
      failure = std::current_exception();
    }
    if (!failure) failure = fw::RuntimeTakePendingException();
  }
  if (failure) fw::RuntimeUnhandledException(failure);
}

void _EarlyStartup() {
  fw::Application::_SetSupportsHiDPI(true);
  fw::RuntimeInitExternalClasses();
  fw::InitPluginEntrypoints();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
}

void _InitFileTypes() { FileTypes::_Initialize(); }

void _LateStartup() {
  if (!fw::RuntimeHasPendingException()) _MakeDefaultView();
}

void _MakeDefaultView() { AboutWnd(); }
