// The program's icon: drawn here in each of its seven sizes, written out as
// PNG files and one multi-size .ico by the icon tool, and read back from the
// files beside the program as the windows' icon. It draws no text, so the
// pictures do not depend on the fonts installed.
#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <vector>

namespace fw::detail {

inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};

// The icon at size x size pixels, non-premultiplied ARGB, as a PNG stores it.
QImage DrawProgramIcon(int size);

// An .ico file holding `images` as PNG-compressed entries, in their order.
QByteArray IcoFile(const std::vector<QImage>& images);

}  // namespace fw::detail
