// The runtime's string and number services, the message box and the bell.
#pragma once

#include <cstdint>

#include "framework/Object.h"

namespace fw {

// The longest prefix after leading blanks that reads as a decimal number
// (sign, digits, fraction, exponent), in the C locale; 0 when there is
// none; an infinity when it is too large. "inf" and "nan" are no number.
double Val(const String& text);

// Truncates toward zero; a NaN or a value outside the 64-bit range gives
// the smallest 64-bit integer.
std::int64_t RuntimeDoubleToInt64(double value);

// Formats `value` by `pattern`: "#" an optional digit, "0" a required
// digit, "." the decimal point (always a full stop). Rounds the double's
// exact value, halves away from zero. Other characters stand for themselves.
String Format(double value, const String& pattern);

// The code point of the first character; 0 for an empty text.
std::int64_t Asc(const String& text);

// Byte order of UTF-8 after ASCII case folding: <0, 0 or >0.
int RuntimeStringCompare(const String& a, const String& b);

String RuntimeAddString(const String& a, const String& b);
double RuntimePow(double base, double exponent);

// A modal box with one line of text and an OK button, titled with the
// application's name.
void MsgBox(const String& text);
void Beep();

}  // namespace fw
