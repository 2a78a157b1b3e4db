#include "config_line.h"

#include <charconv>
#include <climits>
#include <cstddef>

namespace cvarsmith {

namespace {

bool isConfigBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Walks a line word by word; every step leaves the position after what it read.
class LineCursor {
 public:
  explicit LineCursor(std::string_view line) : line_(line) {}

  // Skips blanks; false when the line ends there.
  bool skipBlanks() {
    while (pos_ < line_.size() && isConfigBlank(line_[pos_])) ++pos_;
    return pos_ < line_.size();
  }

  bool atQuote() const { return line_[pos_] == '"'; }

  // Reads the text after an opening double quote up to the closing one or a
  // line feed; true when the closing quote was found (and is consumed).
  bool readQuoted(std::string& out) {
    ++pos_;
    const std::size_t end = line_.find_first_of("\"\n", pos_);
    const std::size_t stop = end == std::string_view::npos ? line_.size() : end;
    out.assign(line_.substr(pos_, stop - pos_));
    pos_ = stop;
    if (stop < line_.size() && line_[stop] == '"') {
      ++pos_;
      return true;
    }
    return false;
  }

  // Reads up to the next blank; with `stopAtComment` also up to a "//".
  void readBare(std::string& out, bool stopAtComment) {
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !isConfigBlank(line_[pos_])) {
      if (stopAtComment && line_.substr(pos_, 2) == "//") break;
      ++pos_;
    }
    out.assign(line_.substr(start, pos_ - start));
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
};

}  // namespace

ConfigLineWords splitConfigLine(std::string_view line) {
  ConfigLineWords words;
  LineCursor cursor(line);
  if (!cursor.skipBlanks()) return words;
  cursor.readBare(words.keyword, false);
  if (!cursor.skipBlanks()) return words;  // one word is not a command

  if (cursor.atQuote()) {
    if (!cursor.readQuoted(words.name)) return words;
  } else {
    cursor.readBare(words.name, false);
  }
  if (!cursor.skipBlanks()) {
    words.complete = true;  // a name without a value
    return words;
  }

  if (cursor.atQuote()) {
    words.complete = cursor.readQuoted(words.value);
  } else {
    cursor.readBare(words.value, true);
    words.complete = true;
  }
  return words;
}

bool fitsInConfigLine(std::string_view text) {
  return text.find_first_of("\"\r\n") == std::string_view::npos;
}

int configInteger(std::string_view value) {
  std::size_t pos = 0;
  while (pos < value.size() && isConfigBlank(value[pos])) ++pos;
  bool negative = false;
  if (pos < value.size() && (value[pos] == '+' || value[pos] == '-')) {
    negative = value[pos] == '-';
    ++pos;
  }
  long long magnitude = 0;
  for (; pos < value.size() && isDigit(value[pos]); ++pos) {
    magnitude = magnitude * 10 + (value[pos] - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) break;  // clamped below
  }
  if (negative) return magnitude > static_cast<long long>(INT_MAX) ? INT_MIN
                                                                   : -static_cast<int>(magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

double configReal(std::string_view value) {
  std::size_t pos = 0;
  while (pos < value.size() && isConfigBlank(value[pos])) ++pos;
  if (pos < value.size() && value[pos] == '+') ++pos;  // from_chars takes only '-'
  const std::size_t numberStart = pos;
  if (pos < value.size() && value[pos] == '-') ++pos;
  // Only a decimal number counts: no "inf", "nan" or hexadecimal forms.
  if (pos >= value.size() || !(isDigit(value[pos]) || value[pos] == '.')) return 0.0;
  double result = 0.0;
  const char* first = value.data() + numberStart;
  const std::from_chars_result parsed =
      std::from_chars(first, value.data() + value.size(), result, std::chars_format::general);
  return parsed.ec == std::errc() ? result : 0.0;
}

}  // namespace cvarsmith
