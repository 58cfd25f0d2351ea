// The About window's layout as data: the window's property list and its
// four controls' lists, keyed by control name, in creation order.
#pragma once

#include "framework/LayoutTable.h"

namespace AboutWndLayout {

const fw::LayoutLists& Lists();

// The notice along the bottom edge.
inline constexpr const char* kNotice = "Version 2.0 - for information only, not medical advice";

}  // namespace AboutWndLayout
