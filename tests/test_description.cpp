// The description window's layout data: its text as built into the
// program, the heading length the window relies on, the window's list as
// it differs from the calculator window's, and the two text areas' lists,
// key by key with types and values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "calculator/ControlWndLayout.h"
#include "framework/Properties.h"
#include "framework/Protocol.h"
#include "info/DescriptionWndLayout.h"
#include "tests/support/PropertyLists.h"

namespace {

using fw::PropertyList;
using testsupport::ExpectList;
using testsupport::kBlack;
using testsupport::kWhite;
using I = std::int64_t;

const std::string kLine3 =
    "Body Mass Index is an easily calculated index of body fat for adults that uses only height and weight. The "
    "formula used in this Calculator is (Weight in Pounds \u00f7 Height in Inches squared) x 703. The definitional "
    "formula is Weight in Kilograms \u00f7 Height in Meters squared.";
const std::string kLine5 =
    "Because the BMI uses only height and weight, it does not take into account the distribution of muscle and "
    "bone mass. Thus, it may be incorrect for athletes or the elderly who generally exhibit unusual distributions "
    "of muscle and bone mass. The BMI should be considered in the context of other variables and used with "
    "caution, following consultation with a physician. ";
const std::string kLine7 =
    "The World Health Organization has separated the BMI index into Underweight (< 18.50), Normal (18.50-24.99), "
    "Overweight (25.00-29.99), and Obese (\u2265 30.00) categories.";

std::vector<std::string> SplitAtCrLf(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2) {
    pieces.push_back(text.substr(from, at - from));
  }
  pieces.push_back(text.substr(from));
  return pieces;
}

int Count(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++n;
  return n;
}

// The characters outside ASCII, as UTF-8 sequences.
std::vector<std::string> NonAscii(const std::string& text) {
  std::vector<std::string> found;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = byte >= 0xf0 ? 4 : byte >= 0xe0 ? 3 : 2;
    found.push_back(text.substr(i, length));
    i += length;
  }
  return found;
}

TEST(DescriptionText, HasFourteenLinesJoinedByCrLfWithTheQuotedParagraphs) {
  const std::string& text = DescriptionWndLayout::DescriptionText();
  const auto lines = SplitAtCrLf(text);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_FALSE(lines.back().empty()) << "a line break after the last line";
  EXPECT_EQ(lines[0], "Quorvel");
  for (int empty : {1, 3, 5, 7, 10, 12}) EXPECT_EQ(lines[empty], "") << "line " << empty + 1;
  EXPECT_EQ(lines[2], kLine3);
  EXPECT_EQ(lines[4], kLine5);
  EXPECT_EQ(lines[4].back(), ' ');
  EXPECT_EQ(lines[6], kLine7);
  EXPECT_EQ(lines[8], std::string(67, '*'));
  EXPECT_EQ(Count(lines[9], "Quorvel"), 1) << "the rights notice";
  EXPECT_EQ(Count(lines[11], "Quorvel"), 1) << "the citation line";
  EXPECT_EQ(Count(lines[13], "Quorvel"), 5) << "the disclaimer";
  EXPECT_EQ(Count(text, "Quorvel"), 8);
  // No stray breaks or tabs: every CR is followed by LF, every LF preceded by CR.
  EXPECT_EQ(text.find('\t'), std::string::npos);
  EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\r')), 13);
  EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\n')), 13);
  EXPECT_EQ(NonAscii(text), (std::vector<std::string>{"\u00f7", "\u00f7", "\u2265"}));
}

TEST(DescriptionText, TheDisclaimerMakesEveryPoint) {
  const std::string disclaimer = SplitAtCrLf(DescriptionWndLayout::DescriptionText()).back();
  for (const char* point :
       {"without warranty", "expressed or implied", "merchantability", "fitness for a particular purpose", "with care",
        "judgment", "classifications", "recommendations", "qualifications", "skills", "complete responsibility",
        "decision", "report", "no liability", "third party", "miscalculation", "misuse"}) {
    EXPECT_NE(disclaimer.find(point), std::string::npos) << point;
  }
}

TEST(DescriptionText, TheHeadingLengthIsTheFirstLinesLength) {
  const std::string& text = DescriptionWndLayout::DescriptionText();
  EXPECT_EQ(static_cast<std::size_t>(DescriptionWndLayout::kHeadingLength), text.find("\r\n"));
}

// Against the calculator's list as the program has it: what the two lists
// share is the calculator's test to hold.
TEST(DescriptionLayout, TheWindowListDiffersFromTheCalculatorsInSizeTitleAndShowing) {
  ExpectList(DescriptionWndLayout::Lists().WindowList(),
             testsupport::With(ControlWndLayout::Lists().WindowList(), {{"Width", I{427}},
                                                                        {"Height", I{491}},
                                                                        {"MaximumWidth", I{32000}},
                                                                        {"MaximumHeight", I{32000}},
                                                                        {"Title", fw::String("Description")},
                                                                        {"Visible", false},
                                                                        {"HasBackgroundColor", false},
                                                                        {"MenuBarVisible", false}}),
             "DescriptionWnd");
}

// The 46 keys of both text areas, with the values in which they differ.
PropertyList AreaList(const char* name, testsupport::Place place, I tabIndex, bool styled, const char* font, float size,
                      const std::string& value, I alignment) {
  PropertyList list = testsupport::ControlHead(name, place, tabIndex);
  list.insert(list.end(), {{"TabStop", true},
                           {"Enabled", true},
                           {"Format", fw::String()},
                           {"HideSelection", true},
                           {"LineHeight", 0.0},
                           {"LineSpacing", 1.0},
                           {"Multiline", true},
                           {"TextColor", kBlack},
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
                           {"BackgroundColor", kWhite},
                           {"HasBorder", true},
                           {"Tooltip", fw::String()},
                           {"HasHorizontalScrollbar", false},
                           {"HasVerticalScrollbar", true},
                           {"AllowStyledText", styled},
                           {"AllowFocusRing", false},
                           {"FontName", fw::String(font)},
                           {"FontSize", size},
                           {"FontUnit", fw::kFontUnitDefault},
                           {"Value", value},
                           {"AllowTabs", false},
                           {"TextAlignment", alignment},
                           {"AllowSpellChecking", true},
                           {"MaximumCharactersAllowed", I{0}},
                           {"ValidationMask", fw::String()}});
  return list;
}

TEST(DescriptionLayout, BothTextAreasHaveTheirFortySixKeysInOrder) {
  const auto& lists = DescriptionWndLayout::Lists().ControlLists();
  ASSERT_EQ(lists.size(), 2u);
  EXPECT_EQ(lists[0].first, "DescribeFld");
  EXPECT_EQ(lists[1].first, "DescribeFld2");
  ExpectList(lists[0].second,
             AreaList("DescribeFld", {-1, -1, 427, 478}, 0, false, "Courier", 10.0f, "\r\n", fw::kAlignDefault),
             "DescribeFld");
  ExpectList(lists[1].second,
             AreaList("DescribeFld2", {-1, -1, 429, 476}, 1, true, "Times", 12.0f,
                      DescriptionWndLayout::DescriptionText(), fw::kAlignLeft),
             "DescribeFld2");
}

}  // namespace
