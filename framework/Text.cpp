#include "framework/Text.h"

namespace fw::detail {

Decoded DecodeAt(const String& text, std::size_t at) {
  constexpr Decoded replacement{0xFFFD, 1};
  const auto* s = reinterpret_cast<const unsigned char*>(text.data()) + at;
  const std::size_t n = text.size() - at;
  if (s[0] < 0x80) return {s[0], 1};
  std::size_t length;
  char32_t code;
  if ((s[0] & 0xE0) == 0xC0) {
    length = 2;
    code = s[0] & 0x1F;
  } else if ((s[0] & 0xF0) == 0xE0) {
    length = 3;
    code = s[0] & 0x0F;
  } else if ((s[0] & 0xF8) == 0xF0) {
    length = 4;
    code = s[0] & 0x07;
  } else {
    return replacement;
  }
  if (n < length) return replacement;
  for (std::size_t i = 1; i < length; ++i) {
    if ((s[i] & 0xC0) != 0x80) return replacement;
    code = (code << 6) | (s[i] & 0x3F);
  }
  static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return replacement;
  return {code, length};
}

std::u32string Characters(const String& text) {
  std::u32string out;
  for (std::size_t at = 0; at < text.size();) {
    const auto d = DecodeAt(text, at);
    out += d.code;
    at += d.length;
  }
  return out;
}

std::int64_t CharacterCount(const String& text) {
  std::int64_t count = 0;
  for (std::size_t at = 0; at < text.size(); ++count) at += DecodeAt(text, at).length;
  return count;
}

String FirstCharacters(const String& text, std::int64_t count) {
  std::size_t at = 0;
  for (; at < text.size() && count > 0; --count) at += DecodeAt(text, at).length;
  return text.substr(0, at);
}

}  // namespace fw::detail
