// Translation of weapon statistics into the console's accuracy lines
// (Preparser::scanWepnStats).
#include "line_text.h"
#include "preparser.h"

namespace preparse {

namespace {

// Labels whose value holds a second figure after a ":" (hits, then shots).
constexpr const char* kWeaponWords[] = {
    "MachineGun", "Shotgun", "G.Launcher", "R.Launcher", "LightningGun", "Railgun", "Plasmagun", "BFG",
};

bool isWeaponLabel(std::string_view label) {
  for (const char* word : kWeaponWords) {
    if (contains(label, word)) return true;
  }
  return false;
}

// "Weapon_Stats: <client> Label:value Label:value ...": one line per item.
// The walk stops at the end of the line, at a line end, at the first word
// without ":", and at a weapon item that lacks its second figure.
void translateServerStats(Output& out, const ClientTable& dupq3players, std::string_view event) {
  std::string_view text = event.substr(std::string_view("Weapon_Stats: ").size());
  long long number = 0;
  if (!FieldScanner(text).number(number)) return;  // no client to credit
  const FixedText& name = dupq3players[clientSlot(number)].name;

  std::size_t blank = text.find(' ');
  std::string_view items = blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);
  items = items.substr(0, items.find_first_of("\r\n"));
  while (!items.empty()) {
    std::size_t end = items.find(' ');
    std::string_view item = items.substr(0, end);
    items = end == std::string_view::npos ? std::string_view{} : items.substr(end + 1);

    std::size_t colon = item.find(':');
    if (colon == std::string_view::npos) return;
    const FixedText label(item.substr(0, colon));
    std::string_view value = item.substr(colon + 1);
    FixedText first(value);
    FixedText second;
    if (isWeaponLabel(label)) {
      std::size_t split = value.find(':');
      if (split == std::string_view::npos) return;
      first.assign(value.substr(0, split));
      second.assign(value.substr(split + 1));
    }
    out.print("%s accuracy statistics %s %s %s\n", {name, label, first, second});
  }
}

struct WeaponRow {
  const char* tag;
  const char* word;
};

// Row tags of a client's statistics block, tested in this order.
constexpr WeaponRow kWeaponRows[] = {
    {"^7[WP]MG", "MachineGun"}, {"^7[WP]SG", "Shotgun"}, {"^7[WP]GL", "G.Launcher"}, {"^7[WP]RL", "R.Launcher"},
    {"^7[WP]LG", "LightningGun"}, {"^7[WP]RG", "Railgun"}, {"^7[WP]PG", "Plasmagun"},
};

// Reads up to `count` words from the row's first "^2" on; missing words stay
// empty. False when the row has no "^2" and so no figures.
bool readFigures(std::string_view row, FixedText* words, int count) {
  std::string_view figures = fromKeyword(row, "^2");
  if (figures.empty()) return false;
  FieldScanner scan(figures);
  for (int i = 0; i < count && scan.word(&words[i]); ++i) {
  }
  return true;
}

// Replaces the first `from` of the text, if any, with `to`.
void replaceFirst(FixedText& text, char from, char to) {
  const std::size_t at = text.view().find(from);
  if (at != std::string_view::npos) text[at] = to;
}

// One row of a client block: a weapon row or a damage row.
void translateClientRow(Output& out, const FixedText& name, FixedText& row) {
  replaceFirst(row, '(', ' ');
  replaceFirst(row, '/', ' ');
  replaceFirst(row, ')', ' ');
  for (const WeaponRow& weapon : kWeaponRows) {
    if (!contains(row, weapon.tag)) continue;
    FixedText words[4];
    if (readFigures(row, words, 4)) {
      out.print("%s^7 accuracy statistics %s %s %s\n", {name, weapon.word, words[3], words[2]});
    }
    return;
  }
  const char* damage = contains(row, "^7DG") ? "Given" : contains(row, "^7DT") ? "Recvd" : nullptr;
  if (damage == nullptr) return;
  replaceFirst(row, '.', ' ');
  FixedText words[2];
  if (readFigures(row, words, 2)) {
    out.print("%s^7 accuracy statistics %s %s\n", {name, damage, words[1]});
  }
}

// A row that frames a game belongs to the main loop, never to a block: a
// block whose last row is missing must not swallow the end or the start of a
// game.
bool framesAGame(const LineReader& in, std::string_view row) {
  return !in.lineIsContinuation() &&
         (isEvent(row, "ShutdownGame:") || isEvent(row, "InitGame:") || isEvent(row, "Game_Start:"));
}

void translateClientBlock(LineReader& in, Output& out, std::string_view heading) {
  const FixedText name(heading.substr(std::string_view("^7Stats for ").size()));
  std::string_view text;
  while (in.nextLine(text)) {
    if (framesAGame(in, text)) {
      in.unreadLine();
      return;
    }
    FixedText row(text);
    stripNewLineChars(row);
    const bool last = contains(row, "^7DT ^2");
    translateClientRow(out, name, row);
    if (last) return;
  }
}

}  // namespace

void Preparser::scanWepnStats(std::string_view event) {
  if (event.starts_with("Weapon_Stats: ")) {
    if (contains(event, " Given:") && contains(event, " Recvd:")) translateServerStats(out_, game.dupq3players, event);
  } else if (event.starts_with("^7Stats for ")) {
    translateClientBlock(in_, out_, event);
  }
}

}  // namespace preparse
