// Test windows and window counts shared by the tests, free of Qt so that
// the model-only tests and the probes use them as the GUI tests do.
//
// OneAreaWnd is a window of one text area, "Area", built as a layout
// builds a window: the window's list in Layout, then the area made, added
// and given its list in CreateControls. The lists are the test's; nothing
// else is set. It is not one of the program's windows: it has no menu bar
// of its own and no handler.
#pragma once

#include <string>
#include <utility>

#include "framework/Controls.h"
#include "framework/Properties.h"
#include "framework/Window.h"

namespace testsupport {

class OneAreaWnd : public fw::Window {
 public:
  static constexpr const char* kClassName = "OneAreaWnd";

  OneAreaWnd(fw::PropertyList windowList, fw::PropertyList areaList)
      : windowList_(std::move(windowList)), areaList_(std::move(areaList)) {}

  void Layout() override;
  void CreateControls() override;
  std::string ClassName() const override { return kClassName; }

  // The area; none before Constructor has made it.
  fw::Ref<fw::TextArea> Area() const;

 private:
  fw::PropertyList windowList_;
  fw::PropertyList areaList_;
};

// A new OneAreaWnd, constructed (and so shown unless its list says
// Visible False).
fw::Ref<OneAreaWnd> MakeOneAreaWnd(fw::PropertyList windowList, fw::PropertyList areaList);

// The page the print tests lay out: a 427 by 491 window without a menu bar,
// and a multi-line, read-only "Times" 12 area of 400 by 470 at (10, 10).
fw::PropertyList PrintPageWindowList();
fw::PropertyList PrintPageAreaList();

// How many open windows, shown or hidden, are of the class `className`.
int OpenWindowsOf(const std::string& className);

// The open window of the class W (named W::kClassName), shown or hidden, or
// none: unlike the program's own accessors, it never makes one.
template <class W>
fw::Ref<W> OpenWindow() {
  auto open = fw::RuntimeGetImplicitWindow(W::kClassName);
  return open ? fw::Cast<W>(open) : fw::Ref<W>();
}

}  // namespace testsupport
