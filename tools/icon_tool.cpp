// Draws the program's icon files into a folder: icons/quorvel-N.png for the
// seven sizes and quorvel.ico holding them all. The `icons` build target
// runs it on resources/, whose files are committed.
#include <exception>
#include <iostream>

#include "framework/qt/IconFiles.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: icon_tool OUTPUT-FOLDER\n";
    return 2;
  }
  try {
    fw::detail::WriteProgramIconFiles(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "icon_tool: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
