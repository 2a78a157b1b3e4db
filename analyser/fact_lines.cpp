#include "fact_lines.h"

#include <array>

namespace {

constexpr std::string_view kMark = "\\kestro-fact\\";
// Numbers stay well inside an int; a longer run of digits is no fact.
constexpr std::size_t kMaxDigits = 6;

std::string_view withoutLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return line;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number of 1..kMaxDigits digits and nothing else; -1 otherwise.
int wholeNumber(std::string_view text) {
  if (text.empty() || text.size() > kMaxDigits) return -1;
  int value = 0;
  for (char c : text) {
    if (!isDigit(c)) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

int twoDigits(std::string_view text, std::size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

bool isPlayed(std::string_view text) {
  constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (kShape[i] == 'd' ? !isDigit(text[i]) : text[i] != kShape[i]) return false;
  }
  const int month = twoDigits(text, 5);
  const int day = twoDigits(text, 8);
  return month >= 1 && month <= 12 && day >= 1 && day <= 31 && twoDigits(text, 11) <= 23 &&
         twoDigits(text, 14) <= 59 && twoDigits(text, 17) <= 60;
}

bool isEndedWord(std::string_view text) {
  if (text.empty() || text.size() > 32) return false;
  for (char c : text) {
    if (c < 'a' || c > 'z') return false;
  }
  return true;
}

// A bot's name as the fact line can carry it: it ends where the line does,
// and the mark's separator never occurs in it.
bool isBotName(std::string_view name) {
  if (name.empty() || name.size() > 256) return false;
  for (char c : name) {
    if (c == '\\' || static_cast<unsigned char>(c) < 32 || c == 127) return false;
  }
  return true;
}

}  // namespace

std::string factLines(const StatedFacts& facts) {
  std::string lines;
  const std::string mark(kMark);
  if (isPlayed(facts.played)) lines += mark + "played\\" + facts.played + "\n";
  if (facts.duration >= 0) lines += mark + "duration\\" + std::to_string(facts.duration) + "\n";
  if (isEndedWord(facts.ended)) lines += mark + "ended\\" + facts.ended + "\n";
  if (facts.red_score >= 0 && facts.blue_score >= 0) {
    lines += mark + "score\\" + std::to_string(facts.red_score) + "\\" + std::to_string(facts.blue_score) + "\n";
  }
  for (const std::string& bot : facts.bots) {
    if (isBotName(bot)) lines += mark + "bot\\" + bot + "\n";
  }
  return lines;
}

bool readFactLine(std::string_view line, StatedFacts& facts) {
  line = withoutLineEnd(line);
  if (!line.starts_with(kMark)) return false;
  line.remove_prefix(kMark.size());
  const std::size_t cut = line.find('\\');
  if (cut == std::string_view::npos) return false;
  const std::string_view key = line.substr(0, cut);
  const std::string_view value = line.substr(cut + 1);
  if (key == "played" && isPlayed(value)) {
    facts.played.assign(value);
    return true;
  }
  if (key == "duration" && wholeNumber(value) >= 0) {
    facts.duration = wholeNumber(value);
    return true;
  }
  if (key == "ended" && isEndedWord(value)) {
    facts.ended.assign(value);
    return true;
  }
  if (key == "bot" && isBotName(value)) {
    facts.bots.emplace_back(value);
    return true;
  }
  if (key == "score") {
    const std::size_t between = value.find('\\');
    if (between == std::string_view::npos) return false;
    const int red = wholeNumber(value.substr(0, between));
    const int blue = wholeNumber(value.substr(between + 1));
    if (red < 0 || blue < 0) return false;
    facts.red_score = red;
    facts.blue_score = blue;
    return true;
  }
  return false;
}

std::string playedFromStamp(std::string_view stamp) {
  if (stamp.size() != 14) return "";
  for (char c : stamp) {
    if (!isDigit(c)) return "";
  }
  std::string played;
  played.append(stamp.substr(0, 4)).append("-").append(stamp.substr(4, 2)).append("-").append(stamp.substr(6, 2));
  played.append(" ").append(stamp.substr(8, 2)).append(":").append(stamp.substr(10, 2)).append(":");
  played.append(stamp.substr(12, 2));
  return isPlayed(played) ? played : "";
}

std::string playedFromLogfileOpened(std::string_view line) {
  constexpr std::string_view kOpened = "logfile opened on ";
  line = withoutLineEnd(line);
  if (!line.starts_with(kOpened)) return "";
  line.remove_prefix(kOpened.size());
  // The C library's date form: "Www Mmm dd hh:mm:ss yyyy", the day of the
  // month padded with a blank.
  constexpr std::string_view kShape = "www mmm dd dd:dd:dd dddd";
  if (line.size() != kShape.size()) return "";
  static constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  int month = 0;
  for (std::size_t m = 0; m < kMonths.size(); ++m) {
    if (line.substr(4, 3) == kMonths[m]) month = static_cast<int>(m) + 1;
  }
  if (month == 0 || line[3] != ' ' || line[7] != ' ' || line[10] != ' ' || line[19] != ' ') return "";
  const char day_tens = line[8] == ' ' ? '0' : line[8];
  std::string text(line.substr(20, 4));
  text += month < 10 ? "-0" : "-1";
  text += static_cast<char>('0' + month % 10);
  text += '-';
  text += day_tens;
  text += line[9];
  text += ' ';
  text.append(line.substr(11, 8));
  return isPlayed(text) ? text : "";
}
