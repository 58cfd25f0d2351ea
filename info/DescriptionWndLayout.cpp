// The description window's layout table: the program's menu bar installed as
// the window's own, the window's list, then its two text areas, made in the
// order DescribeFld, DescribeFld2. Both areas sit at (-1, -1), so that their
// borders outside the window are clipped away.
#include "info/DescriptionWndLayout.h"

#include <string>
#include <vector>

#include "framework/Protocol.h"
#include "info/DescriptionWnd.h"
#include "shell/Menu.h"
#include "shell/StandardLists.h"

namespace DescriptionWndLayout {
namespace {

using fw::PropertyList;
using I = std::int64_t;

// A read-only, multi-line, scrolling text area with all four anchors set;
// its keys come in this window's own order.
struct AreaList {
  shell::Place place;
  I tabIndex;
  bool styled;
  const char* fontName;
  float fontSize;
  fw::String value;
  I alignment;  // a TextAlignment: fw::kAlignDefault or fw::kAlignLeft
  PropertyList operator()(const std::string& name) const {
    PropertyList list = shell::ControlHead(name, place, shell::kAllLocked, tabIndex);
    list.insert(list.end(), {{"TabStop", true},
                             {"Enabled", true},
                             {"Format", fw::String()},
                             {"HideSelection", true},
                             {"LineHeight", 0.0},
                             {"LineSpacing", 1.0},
                             {"Multiline", true},
                             {"TextColor", shell::kBlack},
                             {"Transparent", true},
                             {"Visible", true},
                             {"Bold", false},
                             {"Italic", false},
                             {"Underline", false},
                             {"ReadOnly", true},
                             {"DataSource", fw::String()},
                             {"DataField", fw::String()},
                             {"InitialParent", fw::String()},
                             {"AllowAutoDeactivate", true},
                             {"BackgroundColor", shell::kWhite},
                             {"HasBorder", true},
                             {"Tooltip", fw::String()},
                             {"HasHorizontalScrollbar", false},
                             {"HasVerticalScrollbar", true},
                             {"AllowStyledText", styled},
                             {"AllowFocusRing", false},
                             {"FontName", fw::String(fontName)},
                             {"FontSize", fontSize},
                             {"FontUnit", fw::kFontUnitDefault},
                             {"Value", value},
                             {"AllowTabs", false},
                             {"TextAlignment", alignment},
                             {"AllowSpellChecking", true},
                             {"MaximumCharactersAllowed", I{0}},
                             {"ValidationMask", fw::String()}});
    return list;
  }
};

using Row = fw::ControlRow<class DescriptionWnd>;

// The controls, in creation order; no event of either is bound.
std::vector<Row> Controls() {
  return {
      {.name = "DescribeFld",
       .make = fw::Make<fw::TextArea>,
       .list = AreaList{.place = {-1, -1, 427, 478},
                        .tabIndex = 0,
                        .styled = false,
                        .fontName = "Courier",
                        .fontSize = 10,
                        .value = "\r\n",
                        .alignment = fw::kAlignDefault}},
      {.name = "DescribeFld2",
       .make = fw::Make<fw::TextArea>,
       .list = AreaList{.place = {-1, -1, 429, 476},
                        .tabIndex = 1,
                        .styled = true,
                        .fontName = "Times",
                        .fontSize = 12,
                        .value = DescriptionText(),
                        .alignment = fw::kAlignLeft}},
  };
}

// The window's own list: made hidden (the caller shows it), on the system's
// background, carrying its menu bar without displaying it.
constexpr shell::WindowData kWindow{.width = 427,
                                    .height = 491,
                                    .maximumWidth = 32000,
                                    .maximumHeight = 32000,
                                    .type = fw::kDocumentWindow,
                                    .title = "Description",
                                    .visible = false,
                                    .hasBackgroundColor = false,
                                    .menuBarVisible = false};

const fw::LayoutTable<class DescriptionWnd>& Table() {
  static const fw::LayoutTable<class DescriptionWnd> table(
      {.beforeList = [](class DescriptionWnd& window) { window.MenuBar(::Menu()); },
       .list = shell::WindowList(kWindow),
       .controls = Controls()});
  return table;
}

}  // namespace

const fw::LayoutLists& Lists() { return Table(); }

}  // namespace DescriptionWndLayout

void DescriptionWnd::Layout() { DescriptionWndLayout::Table().ApplyWindowList(*this); }

void DescriptionWnd::CreateControls() { fw::SharedCreateControls(*this); }

void DescriptionWnd::_CreateControls0() { DescriptionWndLayout::Table().MakeControls(*this); }
