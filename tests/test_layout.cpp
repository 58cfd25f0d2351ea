// The layout data of the calculator and About windows: the windows' own
// lists, each control list's keys and types in its class's order, the
// creation order and the values the windows' behaviour rests on; and, for
// every window's table, the look-up of a control it has no row for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "calculator/ControlWndLayout.h"
#include "framework/Properties.h"
#include "framework/Protocol.h"
#include "info/AboutWndLayout.h"
#include "info/DescriptionWndLayout.h"
#include "tests/support/PropertyLists.h"

namespace {

using fw::Color;
using fw::PropertyList;
using fw::PropertyValue;
using testsupport::ExpectList;
using testsupport::kBlack;
using testsupport::kWhite;
using testsupport::Show;
using I = std::int64_t;
using Lists = std::vector<std::pair<std::string, PropertyList>>;

// Every list of one class has these keys, in this order, with these types.
using Schema = std::vector<std::pair<std::string, const char*>>;
constexpr const char* S = "String";
constexpr const char* N = "Integer";
constexpr const char* B = "Boolean";
constexpr const char* D = "Double";
constexpr const char* F = "Single";
constexpr const char* C = "Color";
constexpr const char* E = "Enumeration";

Schema Joined(const Schema& head, const Schema& tail) {
  Schema s = head;
  s.insert(s.end(), tail.begin(), tail.end());
  return s;
}

Schema SchemaOf(const PropertyList& list) {
  Schema s;
  for (const auto& p : list) s.emplace_back(p.key, fw::PropertyTypeName(p.value));
  return s;
}

// The twelve keys every control list begins with.
const Schema kHead = SchemaOf(testsupport::ControlHead("", {0, 0, 0, 0}, 0));
// The sixteen that label and canvas lists begin with.
const Schema kLeading = Joined(kHead, {{"TabStop", B}, {"AllowAutoDeactivate", B}, {"Enabled", B}, {"Tooltip", S}});

const Schema kRoundRectangle = Joined(kHead, {{"AllowAutoDeactivate", B},
                                              {"BorderColor", C},
                                              {"BorderThickness", D},
                                              {"Enabled", B},
                                              {"FillColor", C},
                                              {"Tooltip", S},
                                              {"CornerHeight", D},
                                              {"CornerWidth", D},
                                              {"Transparent", B},
                                              {"Visible", B},
                                              {"InitialParent", S}});

const Schema kLabel = Joined(kLeading, {{"Multiline", B},
                                        {"Selectable", B},
                                        {"TextAlignment", N},
                                        {"TextColor", C},
                                        {"Transparent", B},
                                        {"Value", S},
                                        {"Visible", B},
                                        {"Bold", B},
                                        {"Italic", B},
                                        {"FontName", S},
                                        {"Underline", B},
                                        {"FontSize", F},
                                        {"FontUnit", E},
                                        {"DataSource", S},
                                        {"DataField", S},
                                        {"InitialParent", S}});

const Schema kTextArea = Joined(kHead, {{"TabStop", B},
                                        {"AllowAutoDeactivate", B},
                                        {"BackgroundColor", C},
                                        {"HasBorder", B},
                                        {"Enabled", B},
                                        {"Format", S},
                                        {"Tooltip", S},
                                        {"HideSelection", B},
                                        {"LineHeight", D},
                                        {"LineSpacing", D},
                                        {"Multiline", B},
                                        {"HasHorizontalScrollbar", B},
                                        {"HasVerticalScrollbar", B},
                                        {"AllowStyledText", B},
                                        {"TextColor", C},
                                        {"Transparent", B},
                                        {"AllowFocusRing", B},
                                        {"Visible", B},
                                        {"Bold", B},
                                        {"Italic", B},
                                        {"FontName", S},
                                        {"FontSize", F},
                                        {"FontUnit", E},
                                        {"Underline", B},
                                        {"Value", S},
                                        {"AllowTabs", B},
                                        {"TextAlignment", N},
                                        {"AllowSpellChecking", B},
                                        {"MaximumCharactersAllowed", N},
                                        {"ValidationMask", S},
                                        {"ReadOnly", B},
                                        {"DataSource", S},
                                        {"DataField", S},
                                        {"InitialParent", S}});

const Schema kPushButton = Joined(kHead, {{"TabStop", B},
                                          {"AllowAutoDeactivate", B},
                                          {"MacButtonStyle", N},
                                          {"Cancel", B},
                                          {"Caption", S},
                                          {"Default", B},
                                          {"Enabled", B},
                                          {"Tooltip", S},
                                          {"Transparent", B},
                                          {"Visible", B},
                                          {"FontName", S},
                                          {"FontSize", F},
                                          {"FontUnit", E},
                                          {"Bold", B},
                                          {"Italic", B},
                                          {"Underline", B},
                                          {"InitialParent", S}});

// Transparent is named twice.
const Schema kCanvas = Joined(kLeading, {{"AllowFocusRing", B},
                                         {"Visible", B},
                                         {"AllowFocus", B},
                                         {"AllowTabs", B},
                                         {"Transparent", B},
                                         {"DoubleBuffer", B},
                                         {"Transparent", B},
                                         {"InitialParent", S}});

void ExpectSchema(const PropertyList& list, const Schema& schema, const std::string& control) {
  SCOPED_TRACE(control);
  ASSERT_EQ(list.size(), schema.size());
  for (std::size_t i = 0; i < schema.size(); ++i) {
    EXPECT_EQ(list[i].key, schema[i].first) << "key #" << i;
    EXPECT_STREQ(fw::PropertyTypeName(list[i].value), schema[i].second) << "key #" << i << " " << list[i].key;
  }
}

// Fails the test unless `list` holds `key` and every entry of it has
// `expected`.
void ExpectValue(const PropertyList& list, const std::string& key, const PropertyValue& expected,
                 const std::string& control) {
  bool found = false;
  for (const auto& p : list) {
    if (p.key != key) continue;
    found = true;
    EXPECT_TRUE(p.value == expected) << control << "." << key << " is " << Show(p.value) << ", not " << Show(expected);
  }
  EXPECT_TRUE(found) << control << " has no key " << key;
}

const PropertyList& ListOf(const Lists& lists, const std::string& name) {
  for (const auto& [n, list] : lists) {
    if (n == name) return list;
  }
  static const PropertyList none;
  ADD_FAILURE() << "no list for " << name;
  return none;
}

// ---- The windows' own lists ------------------------------------------------

const PropertyList kCalculatorWindow = {
    {"Width", I{680}},
    {"Height", I{300}},
    {"MinimumWidth", I{64}},
    {"MinimumHeight", I{64}},
    {"MaximumWidth", I{700}},
    {"MaximumHeight", I{600}},
    {"Type", fw::kDocumentWindow},
    {"Title", fw::String("Quorvel")},
    {"HasCloseButton", true},
    {"HasMaximizeButton", false},
    {"HasMinimizeButton", true},
    {"HasFullScreenButton", false},
    {"Resizeable", false},
    {"Composite", false},
    {"MacProcID", I{0}},
    {"FullScreen", false},
    {"DefaultLocation", fw::kCentredOnScreen},
    {"Visible", true},
    {"HasBackgroundColor", true},
    {"BackgroundColor", kWhite},
    {"MenuBarVisible", true},
    {"Left", I{0}},
    {"Top", I{0}},
    {"_mInitialControlsCreated", I{0}},
    {"LiveResize", false},
};

TEST(CalculatorLayout, WindowList) {
  ASSERT_EQ(kCalculatorWindow.size(), 25u);
  ExpectList(ControlWndLayout::Lists().WindowList(), kCalculatorWindow, "ControlWnd");
}

// Against the calculator's list as the program has it: what the two lists
// share is the test above's to hold.
TEST(AboutLayout, WindowListDiffersFromTheCalculatorsOnlyInItsFrame) {
  ExpectList(AboutWndLayout::Lists().WindowList(),
             testsupport::With(ControlWndLayout::Lists().WindowList(), {{"Width", I{300}},
                                                                        {"Height", I{200}},
                                                                        {"MaximumWidth", I{32000}},
                                                                        {"MaximumHeight", I{32000}},
                                                                        {"Type", fw::kDialogWindow},
                                                                        {"Title", fw::String()},
                                                                        {"HasCloseButton", false}}),
             "AboutWnd");
}

// ---- The calculator window's controls ---------------------------------------

struct Summary {
  const char* name;
  const Schema* schema;
  const char* parent;
  I left, top, width, height, tabIndex;
  const char* text;  // Value or Caption; nullptr: none (or the notice)
  const char* font;  // nullptr: the class has no font keys
  float size;
  bool bold;
};

constexpr const char* kBox = "RoundRectangle1";

// In creation order.
const Summary kControls[] = {
    {"RoundRectangle1", &kRoundRectangle, "", 50, 86, 600, 52, 0, nullptr, nullptr, 0, false},
    {"StaticText5", &kLabel, kBox, 249, 100, 47, 20, 0, "inches", "System", 12, true},
    {"StaticText6", &kLabel, kBox, 197, 100, 54, 20, 1, "and", "System", 12, false},
    {"FeetFld", &kTextArea, kBox, 151, 100, 40, 20, 1, "", "Courier", 14, false},
    {"StaticText4", &kLabel, kBox, 112, 100, 35, 20, 3, "feet", "System", 12, true},
    {"StaticText2", &kLabel, kBox, 61, 100, 54, 20, 4, "Height:", "System", 14, true},
    {"InchFld", &kTextArea, kBox, 301, 101, 40, 20, 2, "", "Courier", 14, false},
    {"WeightFld", &kTextArea, kBox, 590, 101, 40, 20, 3, "", "Courier", 14, false},
    {"StaticText1", &kLabel, kBox, 458, 100, 130, 20, 7, "Weight in pounds:", "System", 14, true},
    {"ClearBtn", &kPushButton, "", 310, 250, 100, 36, 2, "Clear", "System", 12, false},
    {"CalculateBtn", &kPushButton, "", 50, 250, 100, 36, 3, "Calculate", "System", 12, false},
    {"StaticText7", &kLabel, "", 127, -6, 533, 54, 21, "Quorvel", "System", 36, true},
    {"Canvas3", &kCanvas, "", 20, 5, 106, 45, 22, nullptr, nullptr, 0, false},
    {"StaticText8", &kLabel, "", 50, 138, 600, 16, 23, nullptr, "System", 9, false},
    {"InfoBtn", &kPushButton, "", 560, 250, 100, 36, 24, "Information", "System", 12, false},
    {"BMIFld", &kLabel, "", 50, 190, 600, 20, 26, "", "System", 14, false},
};

TEST(CalculatorLayout, SixteenControlsInCreationOrderEachWithItsClassKeys) {
  const auto& lists = ControlWndLayout::Lists().ControlLists();
  ASSERT_EQ(lists.size(), std::size(kControls));
  for (std::size_t i = 0; i < lists.size(); ++i) {
    const Summary& s = kControls[i];
    EXPECT_EQ(lists[i].first, s.name) << "control #" << i + 1;
    ExpectSchema(lists[i].second, *s.schema, s.name);
    EXPECT_EQ(&ControlWndLayout::Lists().ControlList(s.name), &lists[i].second);
  }
}

TEST(CalculatorLayout, PlacesTextsAndFontsOfEveryControl) {
  for (const Summary& s : kControls) {
    const PropertyList& list = ListOf(ControlWndLayout::Lists().ControlLists(), s.name);
    ExpectValue(list, "Name", fw::String(s.name), s.name);
    ExpectValue(list, "Index", fw::kNoIndex, s.name);
    ExpectValue(list, "InitialParent", fw::String(s.parent), s.name);
    ExpectValue(list, "Left", s.left, s.name);
    ExpectValue(list, "Top", s.top, s.name);
    ExpectValue(list, "Width", s.width, s.name);
    ExpectValue(list, "Height", s.height, s.name);
    ExpectValue(list, "TabIndex", s.tabIndex, s.name);
    // Only the notice line is disabled, only the result line hidden.
    ExpectValue(list, "Enabled", std::string(s.name) != "StaticText8", s.name);
    ExpectValue(list, "Visible", std::string(s.name) != "BMIFld", s.name);
    if (s.text) ExpectValue(list, s.schema == &kPushButton ? "Caption" : "Value", fw::String(s.text), s.name);
    if (s.font) {
      ExpectValue(list, "FontName", fw::String(s.font), s.name);
      ExpectValue(list, "FontSize", s.size, s.name);
      ExpectValue(list, "Bold", s.bold, s.name);
      ExpectValue(list, "Italic", false, s.name);
      ExpectValue(list, "Underline", false, s.name);
      ExpectValue(list, "FontUnit", fw::kFontUnitDefault, s.name);
    }
  }
}

struct Particular {
  const char* key;
  PropertyValue value;
  std::vector<const char*> controls;
};

constexpr Color kNavy{0x00, 0x00, 0x80, 0x00};
constexpr Color kGrey{0x7f, 0x7f, 0x7f, 0x00};

TEST(CalculatorLayout, ValuesTheWindowsBehaviourRestsOn) {
  const Particular rows[] = {
      // The input fields: length limits, masks, tooltips, lines.
      {"MaximumCharactersAllowed", I{1}, {"FeetFld"}},
      {"MaximumCharactersAllowed", I{2}, {"InchFld"}},
      {"MaximumCharactersAllowed", I{3}, {"WeightFld"}},
      {"ValidationMask", fw::String("#"), {"FeetFld"}},
      {"ValidationMask", fw::String("##"), {"InchFld"}},
      {"ValidationMask", fw::String("###"), {"WeightFld"}},
      {"Tooltip", fw::String("Height in feet of 4 to 6"), {"FeetFld"}},
      {"Tooltip", fw::String("Height in inches of 0-11"), {"InchFld"}},
      {"Tooltip",
       fw::String(),
       {"RoundRectangle1", "StaticText5", "StaticText6", "StaticText4", "StaticText2", "WeightFld", "StaticText1",
        "ClearBtn", "CalculateBtn", "StaticText7", "Canvas3", "StaticText8", "InfoBtn", "BMIFld"}},
      {"Multiline", true, {"InchFld"}},
      {"Multiline", false, {"FeetFld", "WeightFld", "StaticText5", "BMIFld"}},
      {"AllowStyledText", false, {"InchFld"}},
      {"AllowStyledText", true, {"FeetFld", "WeightFld"}},
      {"AllowTabs", false, {"FeetFld", "InchFld", "WeightFld", "Canvas3"}},
      {"HasHorizontalScrollbar", false, {"FeetFld", "InchFld", "WeightFld"}},
      {"HasVerticalScrollbar", false, {"FeetFld", "InchFld", "WeightFld"}},
      {"ReadOnly", false, {"FeetFld", "InchFld", "WeightFld"}},
      {"Value", fw::String(), {"FeetFld", "InchFld", "WeightFld", "BMIFld"}},
      {"TextAlignment", fw::kAlignCentre, {"FeetFld", "InchFld", "WeightFld", "StaticText7", "StaticText8", "BMIFld"}},
      {"TextAlignment", fw::kAlignRight, {"StaticText5", "StaticText4", "StaticText1"}},
      {"TextAlignment", fw::kAlignDefault, {"StaticText6", "StaticText2"}},
      // Tab stops: the fields, one caption and the logo; never a button.
      {"TabStop", true, {"FeetFld", "InchFld", "WeightFld", "StaticText4", "Canvas3"}},
      {"TabStop",
       false,
       {"StaticText5", "StaticText6", "StaticText2", "StaticText1", "StaticText7", "StaticText8", "BMIFld", "ClearBtn",
        "CalculateBtn", "InfoBtn"}},
      {"AllowFocus", false, {"Canvas3"}},
      {"Transparent", true, {"Canvas3"}},  // both entries
      // All three buttons are default buttons; none cancels.
      {"Default", true, {"ClearBtn", "CalculateBtn", "InfoBtn"}},
      {"Cancel", false, {"ClearBtn", "CalculateBtn", "InfoBtn"}},
      {"MacButtonStyle", fw::kButtonStyleDefault, {"ClearBtn", "CalculateBtn", "InfoBtn"}},
      // Colours, as stored.
      {"TextColor", kNavy, {"StaticText5", "StaticText6", "StaticText4", "StaticText2", "StaticText1", "StaticText7"}},
      {"TextColor", kGrey, {"StaticText8"}},
      {"TextColor", kBlack, {"BMIFld", "FeetFld", "InchFld", "WeightFld"}},
      {"BackgroundColor", kWhite, {"FeetFld", "InchFld", "WeightFld"}},
      {"FillColor", Color{0xe6, 0xe6, 0xe6, 0x00}, {"RoundRectangle1"}},
      {"BorderColor", kBlack, {"RoundRectangle1"}},
      {"BorderThickness", 1.0, {"RoundRectangle1"}},
      {"CornerWidth", 16.0, {"RoundRectangle1"}},
      {"CornerHeight", 16.0, {"RoundRectangle1"}},
      {"LineHeight", 0.0, {"FeetFld", "InchFld", "WeightFld"}},
      {"LineSpacing", 1.0, {"FeetFld", "InchFld", "WeightFld"}},
      // Anchors.
      {"LockLeft", true, {"FeetFld", "InchFld", "WeightFld", "ClearBtn", "CalculateBtn", "InfoBtn"}},
      {"LockTop", true, {"FeetFld", "InchFld", "WeightFld"}},
      {"LockTop", false, {"ClearBtn", "CalculateBtn", "InfoBtn", "RoundRectangle1", "StaticText7", "Canvas3"}},
      {"LockRight", true, {"FeetFld", "InchFld", "WeightFld", "ClearBtn", "CalculateBtn", "InfoBtn"}},
      {"LockBottom", false, {"FeetFld", "InchFld", "WeightFld", "ClearBtn", "CalculateBtn", "InfoBtn", "BMIFld"}},
      {"TabPanelIndex", I{0}, {"RoundRectangle1", "FeetFld", "StaticText8", "ClearBtn", "Canvas3"}},
  };
  for (const auto& row : rows) {
    for (const char* control : row.controls) {
      ExpectValue(ControlWndLayout::Lists().ControlList(control), row.key, row.value, control);
    }
  }
}

TEST(LayoutLists, ALookUpForAControlWithoutARowFailsNamingIt) {
  for (const fw::LayoutLists* lists :
       {&ControlWndLayout::Lists(), &AboutWndLayout::Lists(), &DescriptionWndLayout::Lists()}) {
    try {
      lists->ControlList("NoSuchControl");
      ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& e) {
      EXPECT_NE(std::string(e.what()).find("NoSuchControl"), std::string::npos) << e.what();
    }
  }
}

// ---- The About window's controls ----------------------------------------------

TEST(AboutLayout, ThreeVisibleControlsAndTheTimerInCreationOrder) {
  const auto& lists = AboutWndLayout::Lists().ControlLists();
  ASSERT_EQ(lists.size(), 4u);
  const struct {
    const char* name;
    const Schema* schema;
    testsupport::Place place;
    I tabIndex;
    bool tabStop, enabled;
  } rows[] = {
      {"StaticText5", &kLabel, {1, 183, 298, 15}, 0, false, true},
      {"Canvas1", &kCanvas, {47, 61, 207, 78}, 1, true, false},
      {"StaticText1", &kLabel, {1, 6, 298, 36}, 3, false, true},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const auto& r = rows[i];
    const auto& [name, list] = lists[i];
    EXPECT_EQ(name, r.name);
    ExpectSchema(list, *r.schema, r.name);
    PropertyList expected = testsupport::ControlHead(r.name, r.place, r.tabIndex);
    expected.insert(
        expected.end(),
        {{"TabStop", r.tabStop}, {"AllowAutoDeactivate", true}, {"Enabled", r.enabled}, {"Tooltip", fw::String()}});
    ExpectList(PropertyList(list.begin(), list.begin() + std::min(list.size(), expected.size())), expected, r.name);
    ExpectValue(list, "InitialParent", fw::String(), r.name);
    ExpectValue(list, "Visible", true, r.name);
  }
  EXPECT_EQ(lists[3].first, "Timer1");
  ExpectList(lists[3].second, {{"RunMode", fw::kTimerOnce}, {"Period", I{4000}}}, "Timer1");
}

TEST(AboutLayout, LabelAndCanvasValues) {
  const Particular rows[] = {
      {"Value", fw::String("Quorvel"), {"StaticText1"}},
      {"Bold", true, {"StaticText1"}},
      {"Bold", false, {"StaticText5"}},
      {"FontSize", 22.0f, {"StaticText1"}},
      {"FontSize", 10.0f, {"StaticText5"}},
      {"FontName", fw::String("System"), {"StaticText1", "StaticText5"}},
      {"TextAlignment", fw::kAlignCentre, {"StaticText1", "StaticText5"}},
      {"TextColor", Color{0x02, 0x00, 0x80, 0x00}, {"StaticText1", "StaticText5"}},
      {"Multiline", false, {"StaticText1", "StaticText5"}},
      {"Italic", false, {"StaticText1", "StaticText5"}},
      {"Underline", false, {"StaticText1", "StaticText5"}},
      {"FontUnit", fw::kFontUnitDefault, {"StaticText1", "StaticText5"}},
      {"AllowFocusRing", false, {"Canvas1"}},
      {"AllowFocus", false, {"Canvas1"}},
      {"DoubleBuffer", false, {"Canvas1"}},
      {"Transparent", true, {"Canvas1"}},  // both entries
  };
  for (const auto& row : rows) {
    for (const char* control : row.controls) {
      ExpectValue(AboutWndLayout::Lists().ControlList(control), row.key, row.value, control);
    }
  }
}

// ---- Both windows -------------------------------------------------------------

TEST(NoticeLines, EachIsOneLineOfText) {
  const std::pair<const fw::LayoutLists*, const char*> notices[] = {
      {&ControlWndLayout::Lists(), "StaticText8"},
      {&AboutWndLayout::Lists(), "StaticText5"},
  };
  for (const auto& [lists, control] : notices) {
    SCOPED_TRACE(control);
    const PropertyList& list = lists->ControlList(control);
    const auto value = std::find_if(list.begin(), list.end(), [](const fw::Property& p) { return p.key == "Value"; });
    ASSERT_NE(value, list.end());
    const auto* text = std::get_if<fw::String>(&value->value);
    ASSERT_TRUE(text);
    EXPECT_FALSE(text->empty());
    EXPECT_EQ(text->find_first_of("\r\n"), std::string::npos);
  }
}

}  // namespace
