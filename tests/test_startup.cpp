// The start-up order, its failure paths and the exit code, watched through
// the real program entry run as a separate process (the start-up probe).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct ProbeRun {
  std::vector<std::string> steps;  // "step NAME" lines
  std::vector<std::string> boxes;  // "box TEXT" lines
  std::string output;              // everything, stderr included
  int exitCode = -1;
};

ProbeRun RunProbe(const std::string& args) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ProbeRun run;
  const std::string command = std::string(STARTUP_PROBE) + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  std::string line;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    line += buffer;
    if (line.back() != '\n') continue;
    line.pop_back();
    run.output += line + "\n";
    if (line.rfind("step ", 0) == 0) run.steps.push_back(line.substr(5));
    if (line.rfind("box ", 0) == 0) run.boxes.push_back(line.substr(4));
    line.clear();
  }
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

// The steps of a start-up that runs to the end of the event loop.
std::vector<std::string> FullStartup() {
  std::vector<std::string> steps = {
      "RuntimeInit", "RuntimePerformInitializers", "RuntimeSetExceptionHelper", "RuntimeRecordToolchainVersion",
      // _EarlyStartup
      "Application._SetSupportsHiDPI", "RuntimeInitExternalClasses", "InitPluginEntrypoints",
      "FileType.Operator_Convert", "FileType.Operator_Convert",  // the two file types
      "Application._x_SetVersionData"};
  // The menu bar: five menus and sixteen items.
  for (int i = 0; i < 21; ++i) steps.push_back("MenuItem.AddMenu");
  for (const char* step : {"RuntimeRegisterAppObject", "Application._AddMenuHandler", "Application._AddMenuHandler",
                           // the ready callback opens the About window
                           "RunFrameworkInitialization", "ReadyCallback", "Window.Constructor",
                           "RuntimeGetPictureFromResourceManager", "RuntimeRun", "RuntimeRun.end"}) {
    steps.push_back(step);
  }
  return steps;
}

std::string Joined(const std::vector<std::string>& steps) {
  std::string text;
  for (const auto& step : steps) text += step + "\n";
  return text;
}

TEST(Startup, RunsEachStepInOrderAndStopsAtTheFirstFault) {
  struct Case {
    const char* args;
    const char* fault;  // the step that fails, or null
    bool reportBox;     // the report comes after the GUI is up
  };
  const Case cases[] = {
      {"none quit", nullptr, false},
      {"none ctrl-q", nullptr, false},
      {"none quit -x /y \"two words\"", nullptr, false},
      {"RuntimePerformInitializers", "RuntimePerformInitializers", false},
      {"FileType.Operator_Convert", "FileType.Operator_Convert", false},
      {"Application._x_SetVersionData", "Application._x_SetVersionData", false},
      {"MenuItem.AddMenu", "MenuItem.AddMenu", false},
      {"Application._AddMenuHandler", "Application._AddMenuHandler", false},
      {"Window.Constructor", "Window.Constructor", true},
      {"RuntimeRun.end", "RuntimeRun.end", true},
      {"RuntimeRun.end quit more args", "RuntimeRun.end", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    const auto run = RunProbe(c.args);
    auto expected = FullStartup();
    if (c.fault) {
      // Everything up to and including the failing step, then the report.
      auto at = expected.begin();
      while (at != expected.end() && *at != c.fault) ++at;
      ASSERT_NE(at, expected.end());
      expected.erase(at + 1, expected.end());
      expected.push_back("RuntimeUnhandledException");
    } else if (std::string(c.args).rfind("none ctrl-q", 0) == 0) {
      // The probe itself makes the calculator window to type into.
      auto loop = expected.end() - 1;
      expected.insert(loop, {"Window.Constructor", "RuntimeGetPictureFromResourceManager"});
    }
    expected.push_back("RuntimePerformFinalizers");
    expected.push_back("RuntimeExit");

    EXPECT_EQ(Joined(run.steps), Joined(expected)) << run.output;
    if (c.fault) {
      EXPECT_EQ(run.exitCode, 1);
      const std::string report = std::string("injected fault at ") + c.fault;
      EXPECT_NE(run.output.find(report), std::string::npos) << run.output;
      ASSERT_EQ(run.boxes.size(), c.reportBox ? 1u : 0u) << run.output;
      if (c.reportBox) {
        EXPECT_NE(run.boxes[0].find(report), std::string::npos);
      }
    } else {
      EXPECT_EQ(run.exitCode, 0) << run.output;
      EXPECT_TRUE(run.boxes.empty()) << run.output;
      EXPECT_EQ(run.output.find("did not quit"), std::string::npos) << run.output;
      EXPECT_EQ(run.output.find("not active"), std::string::npos) << run.output;
    }
  }
}

// What the runtime keeps of the start-up: the command line and show mode
// exactly as wWinMain received them (the probe passes show mode 10), and the
// toolchain version the start-up records.
TEST(Startup, KeepsTheStartUpArgumentsAsReceivedAndRecordsTheToolchainVersion) {
  const auto run = RunProbe("none quit -x /y \"two  words\"");
  EXPECT_NE(run.output.find("\narguments [-x /y two  words] 10\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("\ntoolchain 2019.031\n"), std::string::npos) << run.output;
}

}  // namespace
