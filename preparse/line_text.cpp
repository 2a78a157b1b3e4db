#include "line_text.h"

#include <array>
#include <cstring>
#include <limits>

namespace preparse {

namespace {
// White space as sscanf skips it in the "C" locale, as a table: every field
// of every event passes through it.
constexpr std::array<bool, 256> kSpace = [] {
  std::array<bool, 256> space{};
  for (unsigned char c : std::string_view(" \t\n\v\f\r")) space[c] = true;
  return space;
}();
bool isSpace(char c) { return kSpace[static_cast<unsigned char>(c)]; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool FieldScanner::word(std::string_view& out) {
  std::size_t start = 0;
  while (start < rest_.size() && isSpace(rest_[start])) ++start;
  if (start == rest_.size()) return false;
  std::size_t end = start;
  while (end < rest_.size() && !isSpace(rest_[end])) ++end;
  out = rest_.substr(start, end - start);
  rest_.remove_prefix(end);
  return true;
}

bool FieldScanner::word(FixedText* out) {
  std::string_view text;
  if (!word(text)) return false;
  if (out != nullptr) out->assign(text);
  return true;
}

bool FieldScanner::number(long long& out) {
  std::size_t at = 0;
  while (at < rest_.size() && isSpace(rest_[at])) ++at;
  bool negative = false;
  if (at < rest_.size() && (rest_[at] == '-' || rest_[at] == '+')) negative = rest_[at++] == '-';
  if (at == rest_.size() || !isDigit(rest_[at])) return false;
  constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 1;
  long long value = 0;
  for (; at < rest_.size() && isDigit(rest_[at]); ++at) {
    if (value < kLimit) value = value * 10 + (rest_[at] - '0');  // saturates far outside any slot
  }
  out = negative ? -value : value;
  rest_.remove_prefix(at);
  return true;
}

std::string_view fromKeyword(std::string_view line, std::string_view keyword) {
  std::size_t at = line.find(keyword);
  return at == std::string_view::npos ? std::string_view{} : line.substr(at);
}

std::string_view afterKeyword(std::string_view line, std::string_view keyword) {
  std::size_t at = line.find(keyword);
  return at == std::string_view::npos ? std::string_view{} : line.substr(at + keyword.size());
}

std::string_view upTo(std::string_view text, std::string_view end) {
  return text.substr(0, text.find(end));
}

std::size_t lastOccurrence(std::string_view text, std::string_view word) {
  if (word.size() < 2) return text.rfind(word);
  if (word.size() > text.size()) return std::string_view::npos;
  // The first two characters rule out nearly every place before a call.
  for (std::size_t at = text.size() - word.size() + 1; at-- > 0;) {
    if (text[at] == word[0] && text[at + 1] == word[1] &&
        std::memcmp(text.data() + at + 2, word.data() + 2, word.size() - 2) == 0) {
      return at;
    }
  }
  return std::string_view::npos;
}

bool readClientNumber(std::string_view line, std::string_view keyword, long long& number) {
  std::string_view from = fromKeyword(line, keyword);
  if (from.empty()) return false;
  FieldScanner scan(from);
  return scan.word() && scan.number(number);
}

std::string_view eventText(std::string_view line) {
  const std::size_t n = line.size();
  std::size_t at = 0;
  while (at < n && isBlank(line[at])) ++at;
  if (at < n && isDigit(line[at])) {
    std::size_t stamp_end = at + 1;
    while (stamp_end < n && (isDigit(line[stamp_end]) || line[stamp_end] == ':' || line[stamp_end] == '.')) {
      ++stamp_end;
    }
    // A stamp is a word of its own: blanks follow it.
    if (stamp_end < n && isBlank(line[stamp_end])) {
      at = stamp_end + 1;
      while (at < n && isBlank(line[at])) ++at;
    }
  }
  return line.substr(at);
}

bool containsIgnoringCase(std::string_view text, std::string_view lower_word) {
  if (lower_word.empty()) return true;
  if (text.size() < lower_word.size()) return false;
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t at = 0; at + lower_word.size() <= text.size(); ++at) {
    std::size_t i = 0;
    while (i < lower_word.size() && lower(text[at + i]) == lower_word[i]) ++i;
    if (i == lower_word.size()) return true;
  }
  return false;
}

bool isEvent(std::string_view line, std::string_view keyword) { return eventText(line).starts_with(keyword); }

}  // namespace preparse
