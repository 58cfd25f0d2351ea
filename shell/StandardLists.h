// The property lists that the program's windows share in shape: every
// window's own list, and the lists of labels and canvases. Each builder
// gives its class's keys in its class's order; only the values differ.
#pragma once

#include <cstdint>

#include "framework/Properties.h"

namespace shell {

struct Place {
  std::int64_t left, top, width, height;
};

// What differs between the windows' own lists.
struct WindowData {
  std::int64_t width, height, maximumWidth, maximumHeight;
  std::int64_t type;  // 0 a normal window, 2 a dialog frame
  const char* title;
  bool hasCloseButton;
  bool menuBarVisible;
};
fw::PropertyList WindowList(const WindowData& d);

// The four Lock keys, all True or all False.
struct LabelData {
  const char* name;
  Place place;
  bool locked;
  std::int64_t tabIndex;
  bool tabStop;
  bool enabled;
  std::int64_t alignment;  // 0 default, 2 centred, 3 right
  fw::Color color;
  const char* value;
  bool visible;
  bool bold;
  float size;
  const char* parent;  // empty for the window
};
fw::PropertyList LabelList(const LabelData& d);

struct CanvasData {
  const char* name;
  Place place;
  bool locked;
  std::int64_t tabIndex;
  bool enabled;
  bool focusRing;
};
fw::PropertyList CanvasList(const CanvasData& d);

inline constexpr std::int64_t kNoIndex = -2147483648LL;  // not part of a control array
inline constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};

}  // namespace shell
