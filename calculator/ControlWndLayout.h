// The calculator window's layout as data: the window's property list and
// each control's, keyed by control name, in creation order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/Properties.h"

namespace ControlWndLayout {

const fw::PropertyList& WindowList();
// The 16 controls in creation order: name and property list.
const std::vector<std::pair<std::string, fw::PropertyList>>& ControlLists();
const fw::PropertyList& ControlList(const std::string& name);

// The notice under the input box.
inline constexpr const char* kNotice = "For adults; a screening figure, not a diagnosis.";

}  // namespace ControlWndLayout
