// The calculator window's layout table: its own list, then the 16 controls
// in the order they are made, each with its class, its list and its event
// binding. The builders below fix the keys of the classes only this window
// has; labels and the canvas share theirs with the About window.
#include "calculator/ControlWndLayout.h"

#include <cstdint>
#include <string>
#include <vector>

#include "calculator/ControlWnd.h"
#include "framework/Controls.h"
#include "framework/Protocol.h"
#include "shell/Logos.h"
#include "shell/StandardLists.h"

namespace ControlWndLayout {
namespace {

using fw::Color;
using fw::PropertyList;
using shell::LabelList;
using shell::Place;
using I = std::int64_t;

constexpr Color kCaption{0x00, 0x00, 0x80, 0x00};
constexpr Color kGrey{0x7f, 0x7f, 0x7f, 0x00};
constexpr Color kBoxFill{0xe6, 0xe6, 0xe6, 0x00};

// The shaded box that the inputs and their captions stand in.
constexpr const char* kBox = "RoundRectangle1";

struct BoxList {
  Place place;
  PropertyList operator()(const std::string& name) const {
    PropertyList list = shell::ControlHead(name, place, shell::kNoneLocked, 0);
    list.insert(list.end(), {{"AllowAutoDeactivate", true},
                             {"BorderColor", shell::kBlack},
                             {"BorderThickness", 1.0},
                             {"Enabled", true},
                             {"FillColor", kBoxFill},
                             {"Tooltip", fw::String()},
                             {"CornerHeight", 16.0},
                             {"CornerWidth", 16.0},
                             {"Transparent", true},
                             {"Visible", true},
                             {"InitialParent", fw::String()}});
    return list;
  }
};

// An input field inside the box: digits only, up to `maxChars` of them.
struct FieldList {
  Place place;
  I tabIndex;
  const char* tooltip = "";
  bool multiline = false;
  bool styled = true;
  I maxChars;
  const char* mask;
  PropertyList operator()(const std::string& name) const {
    PropertyList list = shell::ControlHead(name, place, {true, true, true, false}, tabIndex);
    list.insert(list.end(), {{"TabStop", true},
                             {"AllowAutoDeactivate", true},
                             {"BackgroundColor", shell::kWhite},
                             {"HasBorder", true},
                             {"Enabled", true},
                             {"Format", fw::String()},
                             {"Tooltip", fw::String(tooltip)},
                             {"HideSelection", true},
                             {"LineHeight", 0.0},
                             {"LineSpacing", 1.0},
                             {"Multiline", multiline},
                             {"HasHorizontalScrollbar", false},
                             {"HasVerticalScrollbar", false},
                             {"AllowStyledText", styled},
                             {"TextColor", shell::kBlack},
                             {"Transparent", true},
                             {"AllowFocusRing", true},
                             {"Visible", true},
                             {"Bold", false},
                             {"Italic", false},
                             {"FontName", fw::String("Courier")},
                             {"FontSize", 14.0f},
                             {"FontUnit", fw::kFontUnitDefault},
                             {"Underline", false},
                             {"Value", fw::String()},
                             {"AllowTabs", false},
                             {"TextAlignment", fw::kAlignCentre},
                             {"AllowSpellChecking", true},
                             {"MaximumCharactersAllowed", maxChars},
                             {"ValidationMask", fw::String(mask)},
                             {"ReadOnly", false},
                             {"DataSource", fw::String()},
                             {"DataField", fw::String()},
                             {"InitialParent", fw::String(kBox)}});
    return list;
  }
};

// A button along the bottom edge; every one is a default button.
struct ButtonList {
  Place place;
  I tabIndex;
  const char* caption;
  PropertyList operator()(const std::string& name) const {
    PropertyList list = shell::ControlHead(name, place, {true, false, true, false}, tabIndex);
    list.insert(list.end(), {{"TabStop", false},
                             {"AllowAutoDeactivate", true},
                             {"MacButtonStyle", fw::kButtonStyleDefault},
                             {"Cancel", false},
                             {"Caption", fw::String(caption)},
                             {"Default", true},
                             {"Enabled", true},
                             {"Tooltip", fw::String()},
                             {"Transparent", true},
                             {"Visible", true},
                             {"FontName", fw::String("System")},
                             {"FontSize", 12.0f},
                             {"FontUnit", fw::kFontUnitDefault},
                             {"Bold", false},
                             {"Italic", false},
                             {"Underline", false},
                             {"InitialParent", fw::String()}});
    return list;
  }
};

using fw::kAlignCentre;
using fw::kAlignDefault;
using fw::kAlignRight;

using Row = fw::ControlRow<class ControlWnd>;

// The controls, in creation order.
std::vector<Row> Controls() {
  return {
      {.name = "RoundRectangle1", .make = fw::Make<fw::RoundRectangle>, .list = BoxList{.place = {50, 86, 600, 52}}},
      {.name = "StaticText5",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {249, 100, 47, 20},
                         .tabIndex = 0,
                         .alignment = kAlignRight,
                         .color = kCaption,
                         .value = "inches",
                         .bold = true,
                         .size = 12,
                         .parent = kBox}},
      {.name = "StaticText6",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {197, 100, 54, 20},
                         .tabIndex = 1,
                         .alignment = kAlignDefault,
                         .color = kCaption,
                         .value = "and",
                         .size = 12,
                         .parent = kBox}},
      {.name = "FeetFld",
       .make = fw::Make<fw::TextArea>,
       .list = FieldList{.place = {151, 100, 40, 20},
                         .tabIndex = 1,
                         .tooltip = "Height in feet of 4 to 6",
                         .maxChars = 1,
                         .mask = "#"},
       .bind = fw::Bind(fw::kTextAreaKeyDownEvent, &ControlWnd::FeetFld_KeyDown)},
      {.name = "StaticText4",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {112, 100, 35, 20},
                         .tabIndex = 3,
                         .tabStop = true,
                         .alignment = kAlignRight,
                         .color = kCaption,
                         .value = "feet",
                         .bold = true,
                         .size = 12,
                         .parent = kBox}},
      {.name = "StaticText2",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {61, 100, 54, 20},
                         .tabIndex = 4,
                         .alignment = kAlignDefault,
                         .color = kCaption,
                         .value = "Height:",
                         .bold = true,
                         .size = 14,
                         .parent = kBox}},
      {.name = "InchFld",
       .make = fw::Make<fw::TextArea>,
       .list = FieldList{.place = {301, 101, 40, 20},
                         .tabIndex = 2,
                         .tooltip = "Height in inches of 0-11",
                         .multiline = true,
                         .styled = false,
                         .maxChars = 2,
                         .mask = "##"},
       .bind = fw::Bind(fw::kTextAreaKeyDownEvent, &ControlWnd::InchFld_KeyDown)},
      {.name = "WeightFld",
       .make = fw::Make<fw::TextArea>,
       .list = FieldList{.place = {590, 101, 40, 20}, .tabIndex = 3, .maxChars = 3, .mask = "###"},
       .bind = fw::Bind(fw::kTextAreaKeyDownEvent, &ControlWnd::WeightFld_KeyDown)},
      {.name = "StaticText1",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {458, 100, 130, 20},
                         .tabIndex = 7,
                         .alignment = kAlignRight,
                         .color = kCaption,
                         .value = "Weight in pounds:",
                         .bold = true,
                         .size = 14,
                         .parent = kBox}},
      {.name = "ClearBtn",
       .make = fw::Make<fw::PushButton>,
       .list = ButtonList{.place = {310, 250, 100, 36}, .tabIndex = 2, .caption = "Clear"},
       .bind = fw::Bind(fw::kPushButtonActionEvent, &ControlWnd::ClearBtn_Action)},
      {.name = "CalculateBtn",
       .make = fw::Make<fw::PushButton>,
       .list = ButtonList{.place = {50, 250, 100, 36}, .tabIndex = 3, .caption = "Calculate"},
       .bind = fw::Bind(fw::kPushButtonActionEvent, &ControlWnd::CalculateBtn_Action)},
      {.name = "StaticText7",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {127, -6, 533, 54},
                         .tabIndex = 21,
                         .alignment = kAlignCentre,
                         .color = kCaption,
                         .value = "Quorvel",
                         .bold = true,
                         .size = 36}},
      {.name = "Canvas3",
       .make = fw::Make<fw::Canvas>,
       .beforeList = fw::Backdrop(&BMIsmall),
       .list = shell::CanvasList{.place = {20, 5, 106, 45}, .tabIndex = 22}},
      {.name = "StaticText8",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {50, 138, 600, 16},
                         .tabIndex = 23,
                         .enabled = false,
                         .alignment = kAlignCentre,
                         .color = kGrey,
                         .value = kNotice,
                         .size = 9}},
      // Only the press binds: the button answers the mouse going down,
      // not Action.
      {.name = "InfoBtn",
       .make = fw::Make<fw::PushButton>,
       .list = ButtonList{.place = {560, 250, 100, 36}, .tabIndex = 24, .caption = "Information"},
       .bind = fw::Bind(fw::kPushButtonMouseDownEvent, &ControlWnd::InfoBtn_MouseDown)},
      // The result line, empty and hidden until a calculation succeeds.
      {.name = "BMIFld",
       .make = fw::Make<fw::Label>,
       .list = LabelList{.place = {50, 190, 600, 20},
                         .tabIndex = 26,
                         .alignment = kAlignCentre,
                         .color = shell::kBlack,
                         .visible = false,
                         .size = 14}},
  };
}

// The window's own list: titled, with a close box, its size bounded.
constexpr shell::WindowData kWindow{.width = 680,
                                    .height = 300,
                                    .maximumWidth = 700,
                                    .maximumHeight = 600,
                                    .type = fw::kDocumentWindow,
                                    .title = "Quorvel"};

const fw::LayoutTable<class ControlWnd>& Table() {
  static const fw::LayoutTable<class ControlWnd> table({.list = shell::WindowList(kWindow), .controls = Controls()});
  return table;
}

}  // namespace

const fw::LayoutLists& Lists() { return Table(); }

}  // namespace ControlWndLayout

void ControlWnd::Layout() { ControlWndLayout::Table().ApplyWindowList(*this); }

void ControlWnd::CreateControls() { fw::SharedCreateControls(*this); }

void ControlWnd::_CreateControls0() { ControlWndLayout::Table().MakeControls(*this); }
