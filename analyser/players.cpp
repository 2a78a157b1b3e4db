#include "players.h"

#include <cstdio>
#include <cstdlib>
#include <limits>

#include "scoring.h"

std::array<Q3Player, kPlayerRecords> q3players;

void initPlayer(int index) {
  Q3Player& p = q3players[index];
  p = Q3Player{};
  p.quote.assign(kNoQuote);
  p.skill = 10.0f;
  p.combat = 10.0f;
}

void initPlayers() {
  for (int i = 0; i < kPlayerRecords; ++i) initPlayer(i);
}

int getTotalPlayers() {
  int count = 0;
  while (count < kMaxPlayers && !q3players[count].raw_name.empty()) ++count;
  return count;
}

int getTeamTotalPlayers(int team) {
  int total = 0;
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].team == team) ++total;
  }
  return total;
}

int getPlayerIndex(std::string_view raw_name) {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].raw_name.view() == raw_name) return i;
  }
  return kNobody;
}

int getPlayerIndexUsingStrippedName(std::string_view name) {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].name.view() == name) return i;
  }
  return kNobody;
}

bool isLivePlayer(int index) { return index >= 0 && index < getTotalPlayers(); }

// Makes room in a full table by removing the disconnected player with the
// least skill. Returns false when every player is still in the game.
static bool evictLeastSkilledDisconnected() {
  std::printf("Total number of Players reached MAX(%d)\n", kMaxPlayers);
  sort();
  for (int i = getTotalPlayers() - 1; i >= 0; --i) {
    if (q3players[i].disconnected == 1) {
      std::printf("Removing disconnected player with least skill\n");
      std::printf("Removing-> %s\n\n", q3players[i].name.c_str());
      removePlayer(i);
      return true;
    }
  }
  std::printf("Cannot add any more players\n\n");
  return false;
}

void addPlayer(std::string_view raw_name) {
  if (raw_name.empty() || raw_name == kNoQuote) return;
  if (getPlayerIndex(raw_name) != kNobody) return;
  FixedText name;
  stripColorCodes(raw_name, name);
  if (getTotalPlayers() == kMaxPlayers && !evictLeastSkilledDisconnected()) return;
  Q3Player& p = q3players[getTotalPlayers()];
  p.raw_name.assign(raw_name);
  p.original_name.assign(raw_name);
  p.name = name;
}

void removePlayer(int index) {
  // The removed player must sort below everybody so that it ends up as the
  // last live record, which is then reset. Minus infinity does that whatever
  // the other ratings are (a fixed low value such as -100 would not), and the
  // others keep the order the skill sort gives them.
  q3players[index].skill = -std::numeric_limits<float>::infinity();
  sort();
  initPlayer(getTotalPlayers() - 1);
}

void printPlayers() {
  int count = getTotalPlayers();
  std::printf("TOTAL PLAYERS -> %d\n", count);
  for (int i = 0; i < count; ++i) std::printf(" - %s\n", q3players[i].name.c_str());
}

void stripColorCodes(std::string_view source, FixedText& destination) {
  char out[kTextBufferSize];
  std::size_t n = 0;
  for (std::size_t i = 0; i < source.size() && n < kMaxTextLength; ++i) {
    if (source[i] != '^') {
      out[n++] = source[i];
    } else if (i + 1 < source.size() && source[i + 1] == '^') {
      out[n++] = '^';  // "^^" gives one "^"; the scan goes on at the second "^"
    } else {
      ++i;  // a colour code: drop "^" and the character after it
    }
  }
  destination.assign({out, n});
}

void restoreOriginalPlayerNames() {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    Q3Player& p = q3players[i];
    p.raw_name = p.original_name;
    stripColorCodes(p.raw_name, p.name);
  }
}

void fixPlayerNames() {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    Q3Player& p = q3players[i];
    if (p.name.view().find_first_not_of(' ') != std::string_view::npos) continue;
    p.name.append("\\_");
    p.raw_name.append("^7<font color=#CC6600>_</font>");
  }
}

namespace {

// A chat separator found in a line: where the sender's name lies and where
// the said text begins.
struct ChatSplit {
  int sender = kNobody;
  std::size_t text_at = 0;
};

// Tries every occurrence of `separator` from the left: a name may itself hold
// the separator, and only a known player's name makes the line chat.
// `name_from` is where the sender's name begins (1 for the team form's "(").
ChatSplit findChatSender(std::string_view line, std::string_view separator, std::size_t name_from) {
  for (std::size_t at = line.find(separator); at != std::string_view::npos; at = line.find(separator, at + 1)) {
    if (at < name_from) continue;
    int sender = getPlayerIndex(line.substr(name_from, at - name_from));
    if (sender != kNobody) return {sender, at + separator.size()};
  }
  return {};
}

ChatSplit splitChatLine(std::string_view line) {
  ChatSplit split = findChatSender(line, "^7: ", 0);
  if (split.sender == kNobody && !line.empty() && line[0] == '(') split = findChatSender(line, "^7): ", 1);
  return split;
}

}  // namespace

int chatSender(std::string_view line) { return splitChatLine(line).sender; }

void scanForQuotes(std::string_view line) {
  // The quote choice keeps the C library's generator, seeded per line, so a
  // given log always yields the same quotes.
  std::srand(static_cast<unsigned>(line.size()));
  int r = std::rand();
  ChatSplit split = splitChatLine(line);
  if (split.sender == kNobody) return;
  FixedText candidate;
  stripColorCodes(line.substr(split.text_at), candidate);
  Q3Player& p = q3players[split.sender];
  if (p.quote.view() == kNoQuote || candidate.size() > p.quote.size() ||
      (candidate.size() > 10 && r % 10 < 5)) {
    p.quote = candidate;
  }
}
