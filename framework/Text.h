// UTF-8 text as characters: the one decoder that the string services and
// the text areas' limits and masks count with. Internal to framework/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/Object.h"

namespace fw::detail {

// The code point that starts at byte `at` of `text` and its length in
// bytes. A malformed or cut-off sequence gives U+FFFD and one byte, so that
// every byte counts as at most one character.
struct Decoded {
  char32_t code;
  std::size_t length;
};
Decoded DecodeAt(const String& text, std::size_t at);

// The code points of `text`.
std::u32string Characters(const String& text);
std::int64_t CharacterCount(const String& text);
// The first `count` characters of `text` (all of it when it is shorter).
String FirstCharacters(const String& text, std::int64_t count);

}  // namespace fw::detail
