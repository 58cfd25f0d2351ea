// Writing and installing the program's icon files, without Qt types, for
// the icon tool and the framework's start-up.
#pragma once

#include <string>

namespace fw::detail {

// Writes DIR/icons/quorvel-N.png for each size and DIR/quorvel.ico; throws
// std::runtime_error naming the file it could not write.
void WriteProgramIconFiles(const std::string& dir);

// Gives the application the icon files of 16 to 64 pixels found beside the
// program (its resources/icons/, or the hicolor theme under ../share/icons/
// when installed) as every window's icon, once the event loop runs. Without
// the files the windows keep the platform's default icon.
void InstallProgramIcon();

}  // namespace fw::detail
