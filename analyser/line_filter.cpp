#include "line_filter.h"

#include "text.h"

bool hasAServerKeyword(const LineScan& line) { return line.containsAny(server_keyword); }

bool validLine(const LineScan& line, KeywordTable valid) {
  if (line.text().size() > 500 || line.text().size() < 2) return false;
  int entry = line.firstContained(valid);
  if (entry < 0 || hasAServerKeyword(line)) return false;
  if (valid[entry] == " ate " && !line.contains("rocket") && !line.contains("grenade")) return false;
  return true;
}

namespace {

// Where a server log line's event keyword begins: after leading blanks and,
// when present, a time stamp ("0:00", "20:37", "15.6") and the blanks after
// it. `stamped` tells whether there was a time stamp.
std::size_t serverEventStart(std::string_view line, bool& stamped) {
  std::size_t i = 0;
  auto skip = [&](auto is_wanted) {
    std::size_t from = i;
    while (i < line.size() && is_wanted(line[i])) ++i;
    return i - from;
  };
  auto is_blank = [](char c) { return c == ' '; };
  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  skip(is_blank);
  const std::size_t keyword_if_unstamped = i;
  stamped = false;
  if (skip(is_digit) == 0 || i >= line.size() || (line[i] != ':' && line[i] != '.')) return keyword_if_unstamped;
  ++i;
  if (skip(is_digit) == 0 || skip(is_blank) == 0) return keyword_if_unstamped;
  stamped = true;
  return i;
}

}  // namespace

bool isServerEventLine(std::string_view line, std::string_view keyword) {
  bool stamped = false;
  return line.substr(serverEventStart(line, stamped)).starts_with(keyword);
}

bool isServerInitGameLine(std::string_view line) {
  bool stamped = false;
  std::size_t at = serverEventStart(line, stamped);
  return stamped && line.substr(at).starts_with("InitGame: \\");
}
