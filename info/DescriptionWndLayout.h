// The description window's layout as data: the program's menu bar as the
// window's own, the window's property list, the two text areas' lists in
// creation order, and the text itself, which is built into the program from
// resources/DescriptionText.txt.
#pragma once

#include <cstdint>

#include "framework/LayoutTable.h"

namespace DescriptionWndLayout {

const fw::LayoutLists& Lists();

// The text of DescribeFld2: 14 lines joined by CR LF, no break after the last.
const fw::String& DescriptionText();

// The characters of the text's first line, the heading that opens in bold.
inline constexpr std::int64_t kHeadingLength = 7;

}  // namespace DescriptionWndLayout
