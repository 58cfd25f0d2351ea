#include "framework/Run.h"

#include <iostream>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/Application.h"
#include "framework/Peers.h"
#include "framework/Platform.h"
#include "framework/TestSeams.h"
#include "framework/Window.h"

namespace fw {
namespace {

struct RunState {
  StartupArguments arguments;
  std::exception_ptr pending;
  Ref<Delegate> helper;
  double toolchainVersion = 0;
  int exitCode = 0;
  bool quitRequested = false;
  bool exitRequested = false;  // the event loop is to end, or not start
};

RunState& State() {
  static RunState state;
  return state;
}

struct Initializer {
  const char* module;
  void (*initialize)();
};

std::vector<Initializer>& Initializers() {
  static std::vector<Initializer> list;
  return list;
}

// The thread that loads the program is the UI thread until RuntimeInit says
// otherwise.
std::thread::id& UIThread() {
  static std::thread::id id = std::this_thread::get_id();
  return id;
}
[[maybe_unused]] const std::thread::id& loadingThread = UIThread();

struct Seams {
  std::function<void(const std::string&)> trace;
  std::map<std::string, int> faults;
};

Seams& TheSeams() {
  static Seams seams;
  return seams;
}

void Trampoline(void* call) { (*static_cast<const std::function<void()>*>(call))(); }

void ExitLoop(int code) {
  State().exitRequested = true;
  detail::PlatformExitLoop(code);
}

std::vector<std::function<void()>>& Resets() {
  static std::vector<std::function<void()>> resets;
  return resets;
}

}  // namespace

void CheckUIThread(const char* operation) {
  if (std::this_thread::get_id() != UIThread()) {
    throw ThreadAccessingUIException(std::string(operation) + " was called from a thread other than the UI thread");
  }
}

void MakeCurrentThreadTheUIThread() { UIThread() = std::this_thread::get_id(); }

std::exception_ptr _CallFunctionWithExceptionHandling(void (*fn)(void*), void* arg) {
  try {
    fn(arg);
  } catch (const RuntimeException&) {
    return std::current_exception();
  }
  return nullptr;
}

void RuntimeInit(void* instance, void* previousInstance, const wchar_t* commandLine, int showMode) {
  MakeCurrentThreadTheUIThread();
  detail::Step("RuntimeInit");
  auto& args = State().arguments;
  args.instance = instance;
  args.previousInstance = previousInstance;
  args.commandLine = commandLine ? commandLine : L"";
  args.showMode = showMode;
}

const StartupArguments& RuntimeStartupArguments() { return State().arguments; }

ModuleInitializer::ModuleInitializer(const char* module, void (*initialize)()) {
  Initializers().push_back({module, initialize});
}

void RuntimePerformInitializers() {
  try {
    detail::Step("RuntimePerformInitializers");
    for (const auto& init : Initializers()) init.initialize();
  } catch (...) {
    RuntimeSetPendingException(std::current_exception());
  }
}

void RuntimePerformFinalizers() {
  detail::Step("RuntimePerformFinalizers");
  detail::PlatformShutdown();
}

bool RuntimeHasPendingException() { return State().pending != nullptr; }

void RuntimeSetPendingException(std::exception_ptr e) {
  if (!State().pending) State().pending = std::move(e);
}

std::exception_ptr RuntimeTakePendingException() { return std::exchange(State().pending, nullptr); }

void RuntimeSetExceptionHelper(const Ref<Delegate>& helper) {
  detail::Step("RuntimeSetExceptionHelper");
  State().helper = helper;
}

void RuntimeCallProgram(const std::function<void()>& call) {
  std::exception_ptr raised;
  try {
    auto& helper = State().helper;
    raised = helper ? helper->Invoke<std::exception_ptr, void (*)(void*), void*>(
                          &Trampoline, const_cast<std::function<void()>*>(&call))
                    : _CallFunctionWithExceptionHandling(&Trampoline, const_cast<std::function<void()>*>(&call));
  } catch (...) {
    // Not a RuntimeException: it still must not cross the event loop.
    raised = std::current_exception();
  }
  if (raised) {
    RuntimeSetPendingException(raised);
    ExitLoop(State().exitCode);
  }
}

void RuntimeRecordToolchainVersion(double version) {
  detail::Step("RuntimeRecordToolchainVersion");
  State().toolchainVersion = version;
}

double RuntimeToolchainVersion() { return State().toolchainVersion; }

void RuntimeInitExternalClasses() { detail::Step("RuntimeInitExternalClasses"); }
void InitPluginEntrypoints() { detail::Step("InitPluginEntrypoints"); }

void RunFrameworkInitialization(const Ref<Delegate>& ready) {
  CheckUIThread("RunFrameworkInitialization");
  detail::Step("RunFrameworkInitialization");
  if (auto* toolkit = detail::InstalledToolkit()) {
    auto app = getAppObject();
    std::string problem;
    if (!toolkit->StartGui(Application::SupportsHiDPI(), app ? app->ShortVersion() : String(), problem)) {
      // Nothing can be shown: say why, build no window, and end through
      // the normal shutdown with 1.
      std::cerr << "quorvel: " << problem << std::endl;
      State().exitCode = 1;
      State().exitRequested = true;
      return;
    }
  }
  Ref<Delegate> callback = ready;  // run it exactly once
  RuntimeCallProgram([&] {
    detail::Step("ReadyCallback");
    callback->Invoke<void>();
  });
}

// Without a toolkit there is no loop to run: it ends at once.
void RuntimeRun() {
  CheckUIThread("RuntimeRun");
  detail::Step("RuntimeRun");
  auto* toolkit = detail::InstalledToolkit();
  if (!RuntimeHasPendingException() && !State().exitRequested && toolkit) toolkit->RunLoop();
  try {
    detail::Step("RuntimeRun.end");
  } catch (...) {
    RuntimeSetPendingException(std::current_exception());
  }
}

namespace {
std::string Describe(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const RuntimeException& r) {
    return std::string(r.ClassName()) + ": " + r.Message();
  } catch (const std::exception& s) {
    return std::string("exception: ") + s.what();
  } catch (...) {
    return "an exception of unknown type";
  }
}
}  // namespace

void RuntimeUnhandledException(std::exception_ptr e) {
  detail::Step("RuntimeUnhandledException");
  State().exitCode = 1;
  const std::string line = "Quorvel stopped on an unhandled " + Describe(e);
  std::cerr << line << std::endl;
  if (detail::PlatformGuiIsUp()) detail::PlatformMessageBox("Quorvel", line);
}

void Quit(int code) {
  CheckUIThread("Quit");
  State().exitCode = code;
  State().quitRequested = true;
  ExitLoop(code);
}

bool RuntimeQuitRequested() { return State().quitRequested; }

int RuntimeExit() {
  detail::Step("RuntimeExit");
  return State().exitCode;
}

namespace detail {
void Step(const char* name) {
  auto& seams = TheSeams();
  if (seams.trace) seams.trace(name);
  auto fault = seams.faults.find(name);
  if (fault != seams.faults.end() && fault->second > 0) {
    --fault->second;
    throw RuntimeException(std::string("injected fault at ") + name);
  }
}
}  // namespace detail

namespace test {
ResetRegistration::ResetRegistration(std::function<void()> reset) { Resets().push_back(std::move(reset)); }

void ResetRuntime() {
  detail::CloseAllWindows();
  for (const auto& reset : Resets()) reset();
  State() = RunState();
  TheSeams() = Seams();
}

void SetTrace(std::function<void(const std::string&)> trace) { TheSeams().trace = std::move(trace); }
void FailAt(const std::string& step) { ++TheSeams().faults[step]; }
void ClearFaults() { TheSeams().faults.clear(); }
}  // namespace test

}  // namespace fw
