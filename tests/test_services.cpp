// The runtime's string and number services: Val, the double-to-integer
// conversion, Format, Asc and the string order.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale>
#include <string>
#include <vector>

#include "framework/Services.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

struct ValCase {
  std::string text;
  double expected;
};

void ExpectVal(const std::vector<ValCase>& cases) {
  for (const auto& c : cases) {
    const double got = fw::Val(c.text);
    const std::string shown =
        c.text.size() > 40 ? c.text.substr(0, 40) + "... (" + std::to_string(c.text.size()) + " bytes)" : c.text;
    EXPECT_EQ(got, c.expected) << "Val(\"" << shown << "\")";
  }
}

TEST(Val, ReadsTheLongestDecimalPrefix) {
  ExpectVal({
      // No number at all.
      {"", 0},
      {"   ", 0},
      {"-", 0},
      {"+", 0},
      {".", 0},
      {"-.", 0},
      {"--5", 0},
      {"+-5", 0},
      {"e5", 0},
      {"abc", 0},
      // Blanks before, signs, fractions.
      {"42", 42},
      {"   42", 42},
      {"+5", 5},
      {"-5", -5},
      {"  -7.25", -7.25},
      {"3.75", 3.75},
      {".5", 0.5},
      {"-.5", -0.5},
      {"5.", 5},
      {"007", 7},
      // Exponents, and exponent marks with nothing after them.
      {"1e3", 1000},
      {"1E3", 1000},
      {"2.5e-1", 0.25},
      {"1e+2", 100},
      {"1e", 1},
      {"1e+", 1},
      {"1e-", 1},
      {"4E", 4},
      {"1e-999", 0},
      // Too large: an infinity.
      {"1e999", kInf},
      {"-1e999", -kInf},
      // Trailing text ends the number.
      {"12abc", 12},
      {"12 34", 12},
      {"3.5.6", 3.5},
      {"7,5", 7},
      {"160lb", 160},
      {"1e2x", 100},
      {"0x10", 0},
      // Infinity and NaN spelt out are no number.
      {"inf", 0},
      {"INF", 0},
      {"-inf", 0},
      {"infinity", 0},
      {"nan", 0},
      {"NaN", 0},
      {"-nan", 0},
      // A digit of another script is no digit.
      {"\xd9\xa3", 0},  // ARABIC-INDIC DIGIT THREE
      // Invalid UTF-8 before or after the number.
      {"\xff"
       "12",
       0},
      {"12\xff", 12},
      {"\xc3\x28", 0},
      {"5\xc3", 5},
  });
}

TEST(Val, ReadsTenThousandDigits) {
  ExpectVal({
      {std::string(9999, '0') + "7", 7},
      {"1" + std::string(9999, '0'), kInf},
      {"-" + std::string(10000, '9'), -kInf},
      {"0." + std::string(9999, '0') + "5", 0},
      {"2." + std::string(10000, '5'), 23.0 / 9.0},
      {std::string(10000, ' ') + "8", 8},
  });
}

// The decimal point is a full stop whatever the locale of the process.
TEST(Val, IgnoresTheProcessLocale) {
  const char* const candidates[] = {"de_DE.UTF-8", "de_DE.utf8",  "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8",
                                    "ru_RU.UTF-8", "es_ES.UTF-8", "it_IT.UTF-8", "de_DE",      "fr_FR"};
  const char* found = nullptr;
  for (const char* name : candidates) {
    if (std::setlocale(LC_ALL, name) && std::localeconv()->decimal_point == std::string(",")) {
      found = name;
      break;
    }
  }
  // scripts/test.sh builds de_DE.UTF-8 when the machine has none.
  ASSERT_NE(found, nullptr) << "no locale with a decimal comma is installed; scripts/test.sh builds de_DE.UTF-8";
  try {
    std::locale::global(std::locale(found));
  } catch (const std::exception&) {
    // The C locale set above is what the C library reads; keep going.
  }
  std::setlocale(LC_ALL, found);
  std::setlocale(LC_NUMERIC, found);

  EXPECT_EQ(fw::Val("3.5"), 3.5);
  EXPECT_EQ(fw::Val("3,5"), 3);
  EXPECT_EQ(fw::Val("-2.5e1"), -25);
  EXPECT_EQ(fw::Format(14.25, "##.0"), "14.3");
  EXPECT_EQ(fw::Format(3.14159, "0.00"), "3.14");

  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, "C");
}

TEST(RuntimeDoubleToInt64, TruncatesTowardZeroAndMapsTheRestToTheSmallest) {
  constexpr double two63 = 9223372036854775808.0;
  const struct {
    double value;
    std::int64_t expected;
  } cases[] = {
      {0.0, 0},
      {-0.0, 0},
      {0.5, 0},
      {-0.5, 0},
      {0.9999999, 0},
      {1.9, 1},
      {-1.9, -1},
      {99.999, 99},
      {300.0, 300},
      {-300.7, -300},
      {1e18, 1000000000000000000LL},
      // The edges of the 64-bit range.
      {std::nextafter(two63, 0.0), 9223372036854774784LL},
      {two63, kMin},
      {-two63, kMin},  // exactly the smallest, in range
      {std::nextafter(-two63, 0.0), -9223372036854774784LL},
      {std::nextafter(-two63, -kInf), kMin},
      {1e300, kMin},
      {-1e300, kMin},
      // No number.
      {kNaN, kMin},
      {-kNaN, kMin},
      {kInf, kMin},
      {-kInf, kMin},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fw::RuntimeDoubleToInt64(c.value), c.expected) << "value " << c.value;
  }
  EXPECT_NE(fw::RuntimeDoubleToInt64(std::nextafter(two63, 0.0)), kMax);  // no saturation either
}

TEST(Format, RoundsTheExactValueHalvesAwayFromZero) {
  const struct {
    double value;
    const char* pattern;
    const char* expected;
  } cases[] = {
      // Exactly halfway in binary: away from zero.
      {14.25, "##.0", "14.3"},
      {23.75, "##.0", "23.8"},
      {27.75, "##.0", "27.8"},
      {33.25, "##.0", "33.3"},
      {-14.25, "##.0", "-14.3"},
      {-23.75, "##.0", "-23.8"},
      // Stored just below or above the half: the stored value decides.
      {22.95, "##.0", "22.9"},  // 22.949999...
      {18.486486486486484, "##.0", "18.5"},
      {22.955102040816328, "##.0", "23.0"},
      {25.74462890625, "##.0", "25.7"},
      {10.204674118159383, "##.0", "10.2"},
      {91.53645833333334, "##.0", "91.5"},
      {18.5, "##.0", "18.5"},
      {24.995555555555555, "##.0", "25.0"},
      {29.99271592091571, "##.0", "30.0"},
      {0.05, "##.0", ".1"},  // 0.05000000000000000277
      {0.15, "##.0", ".1"},  // 0.1499999999999999944
      {0.25, "##.0", ".3"},
      // Carries, and more digits than the pattern has places.
      {99.96, "##.0", "100.0"},
      {9.95, "##.0", "9.9"},  // 9.949999...
      {9.96, "##.0", "10.0"},
      {100.25, "##.0", "100.3"},
      {5.0, "##.0", "5.0"},
      // Zero and values that round to zero: no integer digit, no sign.
      {0.0, "##.0", ".0"},
      {-0.0, "##.0", ".0"},
      {0.04, "##.0", ".0"},
      {-0.04, "##.0", ".0"},
      // Required digits.
      {3.14159, "0.00", "3.14"},
      {0.0, "0.00", "0.00"},
      {-1.5, "0.00", "-1.50"},
      {0.125, "0.00", "0.13"},
      {2.675, "0.00", "2.67"},  // 2.67499999...
      {1.005, "0.00", "1.00"},  // 1.00499999...
      {0.005, "0.00", "0.01"},  // 0.00500000000000000010
      {-0.001, "0.00", "0.00"},
      // Whole numbers.
      {2.5, "#", "3"},
      {0.5, "#", "1"},
      {3.5, "#", "4"},
      {-2.5, "#", "-3"},
      {1234.4, "#", "1234"},
      {7.0, "000", "007"},
      // Text around the places stands for itself.
      {14.25, "BMI ##.0 kg", "BMI 14.3 kg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fw::Format(c.value, c.pattern), c.expected) << "Format(" << std::hexfloat << c.value << std::defaultfloat
                                                          << " = " << c.value << ", \"" << c.pattern << "\")";
  }
}

TEST(Asc, GivesTheFirstCodePoint) {
  const struct {
    std::string text;
    std::int64_t expected;
  } cases[] = {
      {"", 0},
      {std::string(1, '\0'), 0},
      {"A", 65},
      {"abc", 97},
      {"0", 48},
      {"9", 57},
      {" ", 32},
      {"\t", 9},
      {"\r", 13},
      {"\x7f", 127},
      {"\xc3\xa9", 0xE9},  // é
      {"\xc3\xa9z", 0xE9},
      {"\xe2\x82\xac", 0x20AC},        // €
      {"\xd9\xa3", 0x663},             // ARABIC-INDIC DIGIT THREE
      {"\xf0\x9f\x98\x80", 0x1F600},   // an emoji, beyond the BMP
      {"\xf4\x8f\xbf\xbf", 0x10FFFF},  // the last code point
      // Invalid UTF-8: the replacement character.
      {"\xff", 65533},
      {"\x80", 65533},  // a lone continuation byte
      {"\xc3", 65533},  // cut short
      {"\xe2\x82", 65533},
      {"\xc3\x28", 65533},              // a continuation byte missing
      {"\xc0\xaf", 65533},              // overlong
      {"\xe0\x80\xaf", 65533},          // overlong
      {"\xed\xa0\x80", 65533},          // a surrogate
      {"\xf4\x90\x80\x80", 65533},      // beyond U+10FFFF
      {"\xf8\x88\x80\x80\x80", 65533},  // five-byte form
  };
  for (const auto& c : cases) {
    std::string hex;
    for (unsigned char b : c.text) hex += " " + std::to_string(b);
    EXPECT_EQ(fw::Asc(c.text), c.expected) << "bytes:" << hex;
  }
}

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(RuntimeStringCompare, ByteOrderAfterAsciiCaseFolding) {
  const struct {
    std::string a, b;
    int sign;
  } cases[] = {
      {"", "", 0},
      {"a", "a", 0},
      {"A", "a", 0},
      {"abc", "ABC", 0},
      {"Height", "hEIGHT", 0},
      {"a", "b", -1},
      {"B", "a", 1},
      {"Z", "a", 1},   // folded: z after a, though 'Z' < 'a' as bytes
      {"[", "A", -1},  // folded: '[' (5B) before 'a' (61)
      {"_", "a", -1},
      // Prefixes come first.
      {"", "a", -1},
      {"a", "", 1},
      {"ab", "abc", -1},
      {"ABC", "ab", 1},
      // Keys against the digit bounds of the key filter.
      {"5", "0", 1},
      {"5", "9", -1},
      {"0", "0", 0},
      {"9", "9", 0},
      {"/", "0", -1},
      {":", "9", 1},
      {"10", "9", -1},
      {"a", "9", 1},
      {" ", "0", -1},
      {"\xd9\xa3", "9", 1},  // a non-ASCII digit lies beyond "9"
      // Bytes of UTF-8 compare unsigned, and only ASCII is folded.
      {"\x80", "a", 1},
      {"\xc3\xa9", "z", 1},
      {"\xc3\x89", "\xc3\xa9", -1},  // É before é: no folding beyond ASCII
      {std::string("a\0b", 3), std::string("a\0c", 3), -1},
      {std::string("a\0", 2), "a", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(fw::RuntimeStringCompare(c.a, c.b)), c.sign) << "\"" << c.a << "\" vs \"" << c.b << "\"";
    EXPECT_EQ(Sign(fw::RuntimeStringCompare(c.b, c.a)), -c.sign) << "\"" << c.b << "\" vs \"" << c.a << "\"";
  }
}

}  // namespace
