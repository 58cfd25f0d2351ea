// The calculator window's layout as data: the window's property list and
// the 16 controls' lists, keyed by control name, in creation order.
#pragma once

#include "framework/LayoutTable.h"

namespace ControlWndLayout {

const fw::LayoutLists& Lists();

// The notice under the input box.
inline constexpr const char* kNotice = "For adults; a screening figure, not a diagnosis.";

}  // namespace ControlWndLayout
