// Outside Windows the process starts here and hands wWinMain the four
// start-up arguments Windows would: no instance handles, the command line
// after the program's name, and "show default".
#include <string>

#include "shell/Startup.h"

int main(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  std::wstring commandLine(line.begin(), line.end());
  constexpr int kShowDefault = 10;
  return wWinMain(nullptr, nullptr, commandLine.data(), kShowDefault);
}
