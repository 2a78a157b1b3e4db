// UTF-8 for texts that leave the program for readers that expect it
// (web pages, JSON): every byte sequence is taken as UTF-8, and what is not
// valid UTF-8 becomes the replacement character U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length of the valid UTF-8 sequence at the start of `s`, 0 when invalid (an
// overlong form, a surrogate, a code point beyond U+10FFFF, a lone or
// missing continuation byte).
std::size_t validUtf8Sequence(std::string_view s);

// The replacement character, as UTF-8.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Calls `each` with every character of `text`: valid sequences as they are;
// anything else, and every control character but tab, as U+FFFD.
template <typename Each>
void forEachUtf8Character(std::string_view text, Each each) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = validUtf8Sequence(text.substr(i));
    unsigned char first = static_cast<unsigned char>(text[i]);
    bool control = n == 1 && ((first < 0x20 && first != '\t') || first == 0x7F);
    if (n == 0 || control) {
      each(kUtf8Replacement);
      i += n == 0 ? 1 : n;
    } else {
      each(text.substr(i, n));
      i += n;
    }
  }
}

// `text` as valid UTF-8 (see forEachUtf8Character).
std::string validUtf8(std::string_view text);
