// The About window's layout as data.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "framework/Properties.h"

namespace AboutWndLayout {

const fw::PropertyList& WindowList();
// The four controls in creation order: name and property list.
const std::vector<std::pair<std::string, fw::PropertyList>>& ControlLists();
const fw::PropertyList& ControlList(const std::string& name);

// The notice along the bottom edge.
inline constexpr const char* kNotice = "Version 2.0 - for information only, not medical advice";

}  // namespace AboutWndLayout
