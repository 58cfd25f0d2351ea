// The property-list builders that more than one window uses: the window's
// own list, the keys every control list begins with, and the lists of
// labels and canvases. Each builder writes its class's keys in its class's
// order, with the values it fixes for every control of the class in plain
// sight; a layout row gives only what varies, by field name, and the row's
// control name.
//
// They say nothing of which controls a window has: that is each window's
// layout table.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Properties.h"

namespace shell {

struct Place {
  std::int64_t left, top, width, height;
};

// The anchors of the four LockLeft, LockTop, LockRight, LockBottom keys.
struct Locks {
  bool left, top, right, bottom;
};
inline constexpr Locks kAllLocked{true, true, true, true};
inline constexpr Locks kNoneLocked{false, false, false, false};

// The colours more than one window's layout uses.
inline constexpr fw::Color kBlack{0x00, 0x00, 0x00, 0x00};
inline constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};

// The twelve keys every control list begins with: Name, Index, the place,
// the four locks, TabIndex and TabPanelIndex.
fw::PropertyList ControlHead(const std::string& name, Place place, Locks locks, std::int64_t tabIndex);

// A window's own list.
struct WindowData {
  std::int64_t width, height, maximumWidth, maximumHeight;
  std::int64_t type;  // fw::kDocumentWindow or fw::kDialogWindow
  const char* title = "";
  bool hasCloseButton = true;
  bool visible = true;  // False: made hidden, shown by whoever asks for it
  bool hasBackgroundColor = true;
  bool menuBarVisible = true;
};
fw::PropertyList WindowList(const WindowData& d);

// A label's list; the four locks are all `locked`.
struct LabelList {
  Place place;
  bool locked = false;
  std::int64_t tabIndex;
  bool tabStop = false;
  bool enabled = true;
  std::int64_t alignment;
  fw::Color color;
  const char* value = "";
  bool visible = true;
  bool bold = false;
  float size;
  const char* parent = "";  // empty for the window
  fw::PropertyList operator()(const std::string& name) const;
};

// A canvas's list; the four locks are all `locked`. The picture is no key:
// it is the row's step before the list.
struct CanvasList {
  Place place;
  bool locked = false;
  std::int64_t tabIndex;
  bool enabled = true;
  bool focusRing = true;
  fw::PropertyList operator()(const std::string& name) const;
};

}  // namespace shell
