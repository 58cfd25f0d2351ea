// A row of calculator cases: the text in the three fields, and what
// Calculate then shows, the result line or else one message box.
#pragma once

namespace testsupport {

struct Calculation {
  const char* feet;
  const char* inches;
  const char* weight;
  const char* line;  // the result line, or nullptr when `box` is expected
  const char* box = nullptr;
};

}  // namespace testsupport
