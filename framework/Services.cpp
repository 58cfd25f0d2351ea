#include "framework/Services.h"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/TestSeams.h"
#include "framework/Text.h"

namespace fw {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The C locale, so that a full stop is the decimal point whatever the
// user's locale says.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// Adds one unit in the last place to a string of decimal digits.
void Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

int beeps = 0;

}  // namespace

double Val(const String& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
  const std::size_t start = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t intDigits = 0;
  while (i < n && IsDigit(text[i])) {
    ++i;
    ++intDigits;
  }
  std::size_t fracDigits = 0;
  if (i < n && text[i] == '.') {
    std::size_t j = i + 1;
    while (j < n && IsDigit(text[j])) {
      ++j;
      ++fracDigits;
    }
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t k = i + 1;
    if (k < n && (text[k] == '+' || text[k] == '-')) ++k;
    if (k < n && IsDigit(text[k])) {
      while (k < n && IsDigit(text[k])) ++k;
      i = k;
    }
  }
  // The prefix is a plain decimal number now, so strtod reads exactly it.
  const std::string number = text.substr(start, i - start);
  return strtod_l(number.c_str(), nullptr, CLocale());
}

std::int64_t RuntimeDoubleToInt64(double value) {
  constexpr double two63 = 9223372036854775808.0;
  if (std::isnan(value) || value >= two63 || value < -two63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);  // truncates toward zero
}

String Format(double value, const String& pattern) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

  // The pattern: literal text around a run of digit places with an
  // optional decimal point.
  const auto first = pattern.find_first_of("#0.");
  if (first == String::npos) return pattern;
  const auto last = pattern.find_last_of("#0.");
  const String prefix = pattern.substr(0, first), suffix = pattern.substr(last + 1);
  const String places = pattern.substr(first, last - first + 1);
  const auto point = places.find('.');
  const String intPlaces = places.substr(0, point);
  const String fracPlaces = point == String::npos ? String() : places.substr(point + 1);
  const auto fracCount = static_cast<std::size_t>(
      std::count_if(fracPlaces.begin(), fracPlaces.end(), [](char c) { return c == '#' || c == '0'; }));
  const auto lastRequired = fracPlaces.find_last_of('0');
  const std::size_t fracRequired = lastRequired == String::npos ? 0 : lastRequired + 1;
  const auto minIntDigits = static_cast<std::size_t>(std::count(intPlaces.begin(), intPlaces.end(), '0'));

  // The exact decimal expansion of the double: every double has a finite
  // one, at most 1074 digits after the point.
  char buffer[1500];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 1074);
  const std::string exact(buffer, result.ptr);
  const auto dot = exact.find('.');
  std::string digits = exact.substr(0, dot) + exact.substr(dot + 1, fracCount);
  // Halves away from zero: the first dropped digit decides, as the
  // expansion is exact.
  if (exact[dot + 1 + fracCount] >= '5') Increment(digits);
  std::string intPart = digits.substr(0, digits.size() - fracCount);
  std::string fracPart = digits.substr(digits.size() - fracCount);

  intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size()));
  if (intPart.size() < minIntDigits) intPart.insert(0, minIntDigits - intPart.size(), '0');
  while (fracPart.size() > fracRequired && fracPart.back() == '0') fracPart.pop_back();

  const bool zero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
  String out = prefix;
  if (value < 0 && !zero) out += '-';
  out += intPart;
  if (!fracPart.empty()) out += '.' + fracPart;
  if (out.size() == prefix.size() + ((value < 0 && !zero) ? 1 : 0)) out += '0';  // never print nothing
  return out + suffix;
}

std::int64_t Asc(const String& text) { return text.empty() ? 0 : detail::DecodeAt(text, 0).code; }

int RuntimeStringCompare(const String& a, const String& b) {
  auto fold = [](char c) -> unsigned char {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
  };
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = fold(a[i]), y = fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

String RuntimeAddString(const String& a, const String& b) { return a + b; }

double RuntimePow(double base, double exponent) { return std::pow(base, exponent); }

void MsgBox(const String& text) {
  CheckUIThread("MsgBox");
  const auto app = getAppObject();
  detail::PlatformMessageBox(app ? app->ShortVersion() : String(), text);
}

void Beep() {
  ++beeps;
  detail::PlatformBeep();
}

namespace test {
int BeepCount() { return beeps; }
}  // namespace test

}  // namespace fw
