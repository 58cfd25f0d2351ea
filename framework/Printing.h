// Printing: the system's print dialog, the page graphics of one print job
// and the styled-text printer that lays a text area's styled text out on it
// block by block.
//
// Units are those of the page graphics: 72 to the inch, with the origin at
// the top-left of the printable area. A job ends, and is sent to the
// printer, when the last reference to its page graphics goes; there is no
// call to end it. A job that cannot start or finish is told in one message
// box; only a page that cannot begin raises (Graphics::NextPage). Nothing here draws headers, footers or page
// numbers.
#pragma once

// The printer's EOF is a name of the program's; the C library's macro of
// that name is not used in Quorvel, so it goes once <cstdio> is in.
#include <cstdio>
#undef EOF

#include <cstdint>

#include "framework/Object.h"

namespace fw {

class Window;

// The pages of one print job.
class Graphics : public Object {
 public:
  // Finishes the current page and begins a new one.
  virtual void NextPage() = 0;
  std::string ClassName() const override { return "Graphics"; }
};

// Draws a copy of a text area's styled text, in whole lines, at the width
// it was made with.
class StyledTextPrinter : public Object {
 public:
  // True once every line has been drawn.
  virtual bool EOF() = 0;
  // Draws the next lines that fit `height` (at least one) with their
  // top-left corner at (x, y) of the current page.
  virtual void DrawBlock(std::int64_t x, std::int64_t y, std::int64_t height) = 0;
  std::string ClassName() const override { return "StyledTextPrinter"; }
};

// Shows the system's print dialog; the page graphics of a new job, named
// after the application and the window that prints (`parent`, or else the
// front window), or none when the user cancels, when the print service does
// not answer or when the job cannot start (both told in a message box).
// `pageSetup` and `parent` may be none.
Ref<Graphics> OpenPrinterDialog(const Ref<Object>& pageSetup = {}, const Ref<Window>& parent = {});

// Lets the event loop handle the pending events other than user input
// (paints, timers) once.
void RuntimeBackgroundTask();

}  // namespace fw
