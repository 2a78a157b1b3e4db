#include "html_text.h"

#include "utf8_text.h"

#include <cmath>
#include <cstdio>

namespace site {

namespace {

// Appends one character (1 to 4 bytes, already valid) escaped for HTML.
void appendEscapedCharacter(std::string& out, std::string_view c) {
  switch (c[0]) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '"': out += "&quot;"; break;
    case '\'': out += "&#39;"; break;
    default: out += c;
  }
}

// Name colours of the game pages, by the colour code's character code modulo 8.
constexpr const char* kNameColours[8] = {"#555555", "#FF0000", "#00FF00", "#FFFF00",
                                         "#4444FF", "#00FFFF", "#FF00FF", "#FFFFFF"};

bool isDroppedCode(char c) { return c == 'F' || c == 'f' || c == 'B' || c == 'b' || c == 'N'; }

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool isHexColour(std::string_view six) {
  if (six.size() != 6) return false;
  for (char c : six) {
    if (!isHexDigit(c)) return false;
  }
  return true;
}

}  // namespace

void appendEscaped(std::string& out, std::string_view text) {
  // Most texts are plain ASCII needing no reference: appended whole.
  bool plain = true;
  for (char c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u > 0x7E || c == '&' || c == '<' || c == '>' || c == '"' || c == '\'') {
      plain = false;
      break;
    }
  }
  if (plain) {
    out.append(text);
    return;
  }
  forEachUtf8Character(text, [&](std::string_view c) { appendEscapedCharacter(out, c); });
}

std::string escaped(std::string_view text) {
  std::string out;
  appendEscaped(out, text);
  return out;
}

void appendColouredName(std::string& out, std::string_view name) {
  out += "<font color=#FFFFFF>";
  const std::size_t n = name.size();
  std::size_t i = 0;
  std::size_t run = 0;  // start of the plain text not yet written
  auto flush = [&](std::size_t end) { appendEscaped(out, name.substr(run, end - run)); };
  while (n > 0 && i < n - 1) {
    char c = name[i + 1];
    if (name[i] != '^' || c == '^') {
      i += 1;
      continue;
    }
    flush(i);
    if (isDroppedCode(c)) {
      i += 2;
    } else if ((c == 'X' || c == 'x') && n - i >= 7 && isHexColour(name.substr(i + 2, 6))) {
      out += "</font><font color=#";
      out += name.substr(i + 2, 6);
      out += ">";
      i += 8;
    } else {
      out += "</font><font color=";
      out += kNameColours[static_cast<unsigned char>(c) % 8];
      out += ">";
      i += 2;
    }
    run = i;
  }
  flush(n);
  out += "</font>";
}

std::string hexOf(std::string_view text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(text.size() * 2);
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 0x0F];
  }
  return out;
}

std::string urlEncoded(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                 c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kDigits[c >> 4];
      out += kDigits[c & 0x0F];
    }
  }
  return out;
}

std::string fixed(double value, int decimals) {
  if (!std::isfinite(value)) return "-";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string out = text;
  if (out.find_first_not_of("-0.") == std::string::npos && out[0] == '-') out.erase(0, 1);  // no "-0.00"
  return out;
}

std::string fixed(std::optional<double> value, int decimals) { return value ? fixed(*value, decimals) : "-"; }

std::string percent(std::optional<double> value) { return value ? fixed(*value, 1) + " %" : "-"; }

}  // namespace site
