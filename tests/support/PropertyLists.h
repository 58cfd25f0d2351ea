// Property lists as the layout tests compare them: a value shown with its
// type, two lists compared key by key, a list with some of its values
// replaced, and the twelve keys every control list begins with.
//
// The expected lists are the tests' own, written out from what each window
// must hold; nothing here reads a layout of the program or knows a window.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Properties.h"

namespace testsupport {

inline constexpr fw::Color kBlack{0x00, 0x00, 0x00, 0x00};
inline constexpr fw::Color kWhite{0xff, 0xff, 0xff, 0x00};

// The value as a failure message shows it; every type reads differently.
std::string Show(const fw::PropertyValue& value);

// Fails the test, under `what`, for each entry of `actual` whose key or
// value (type included) is not the entry of `expected` at the same place.
void ExpectList(const fw::PropertyList& actual, const fw::PropertyList& expected, const std::string& what);

// `list` with each key of `changes` given its value there; a key that
// `list` lacks fails the test, so that a change cannot miss its mark.
fw::PropertyList With(fw::PropertyList list, const fw::PropertyList& changes);

struct Place {
  std::int64_t left, top, width, height;
};

// The twelve keys every control list begins with: Name, Index (no control
// array), the place, LockLeft, LockTop, LockRight and LockBottom all
// `locked`, TabIndex and TabPanelIndex 0.
fw::PropertyList ControlHead(const std::string& name, Place place, std::int64_t tabIndex, bool locked = true);

}  // namespace testsupport
