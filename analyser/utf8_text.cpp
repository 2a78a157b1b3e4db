#include "utf8_text.h"

std::size_t validUtf8Sequence(std::string_view s) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  auto continuation = [&](std::size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
  unsigned char b = byte(0);
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return continuation(1) ? 2 : 0;
  if (b >= 0xE0 && b <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    if (b == 0xE0 && byte(1) < 0xA0) return 0;  // overlong
    if (b == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (b >= 0xF0 && b <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    if (b == 0xF0 && byte(1) < 0x90) return 0;  // overlong
    if (b == 0xF4 && byte(1) >= 0x90) return 0;  // beyond U+10FFFF
    return 4;
  }
  return 0;
}

std::string validUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  forEachUtf8Character(text, [&](std::string_view c) { out += c; });
  return out;
}
