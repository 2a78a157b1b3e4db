#include "game_facts.h"

#include <string>

namespace preparse {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Digits from `at` on, at most six of them; -1 when none.
int digitsAt(std::string_view text, std::size_t& at) {
  const std::size_t begin = at;
  int value = 0;
  while (at < text.size() && isDigit(text[at]) && at - begin < 6) value = value * 10 + (text[at++] - '0');
  return at == begin ? -1 : value;
}

// "Timelimit hit." reads "timelimit": the one word before " hit.", made of
// letters and ending in "limit"; "" for any other reason.
std::string endedReason(std::string_view reason) {
  while (!reason.empty() && isBlank(reason.front())) reason.remove_prefix(1);
  while (!reason.empty() && isBlank(reason.back())) reason.remove_suffix(1);
  constexpr std::string_view kHit = "limit hit.";
  if (!reason.ends_with(kHit) || reason.size() == kHit.size()) return "";
  std::string word;
  for (char c : reason.substr(0, reason.size() - std::string_view(" hit.").size())) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c < 'a' || c > 'z') return "";
    word += c;
  }
  return word;
}

// "red:8  blue:6", the whole event text.
bool readTeamScore(std::string_view event, int& red, int& blue) {
  if (!event.starts_with("red:")) return false;
  std::size_t at = 4;
  red = digitsAt(event, at);
  if (red < 0 || at >= event.size() || !isBlank(event[at])) return false;
  while (at < event.size() && isBlank(event[at])) ++at;
  if (event.substr(at, 5) != "blue:") return false;
  at += 5;
  blue = digitsAt(event, at);
  while (at < event.size() && isBlank(event[at])) ++at;
  return blue >= 0 && at == event.size();
}

// "ServerTime:\t20170623124300\t12:43:00 (23 Jun 2017)": the 14-digit stamp.
std::string playedOfServerTime(std::string_view event) {
  std::string_view rest = event.substr(std::string_view("ServerTime:").size());
  while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
  std::size_t end = 0;
  while (end < rest.size() && !isBlank(rest[end])) ++end;
  return playedFromStamp(rest.substr(0, end));
}

}  // namespace

int stampTenths(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size() && isBlank(line[at])) ++at;
  const int first = digitsAt(line, at);
  if (first < 0 || at >= line.size()) return -1;
  const char separator = line[at++];
  if (separator != ':' && separator != '.') return -1;
  const std::size_t second_begin = at;
  const int second = digitsAt(line, at);
  if (second < 0 || at >= line.size() || !isBlank(line[at])) return -1;
  if (separator == ':') return at - second_begin == 2 && second < 60 ? (first * 60 + second) * 10 : -1;
  return at - second_begin == 1 ? first * 10 + second : -1;
}

void noteGameFact(ServerFacts& facts, std::string_view line, std::string_view event, bool game_open) {
  if (event.starts_with("ServerTime:")) {
    const std::string played = playedOfServerTime(event);
    if (!played.empty()) facts.stated.played = played;
    return;
  }
  if (!game_open) return;
  if (event.starts_with("Exit:")) {
    facts.exit_seen = true;
    facts.stated.ended = endedReason(event.substr(5));
    const int end_tenths = stampTenths(line);
    if (facts.start_tenths >= 0 && end_tenths >= facts.start_tenths) {
      facts.stated.duration = (end_tenths - facts.start_tenths + 5) / 10;
    }
    return;
  }
  int red = 0;
  int blue = 0;
  if (facts.exit_seen && facts.stated.red_score < 0 && readTeamScore(event, red, blue)) {
    facts.stated.red_score = red;
    facts.stated.blue_score = blue;
  }
}

}  // namespace preparse
