#include "players.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>
#include <utility>

#include "game.h"

void initPlayer(Game& game, int index) { resetPlayer(game.q3players[index]); }

// A game rarely has more than a few of its 64 players, and copying a free
// record over all 66 at every game end was a tenth of a log's reading. A
// record takes a player only at the end of the live ones (addPlayer), and
// every write goes to a live record or to "nobody": the records past the
// most the game had live are still free. The one just after them is reset
// too, for any write one past the end of the table.
void initPlayers(Game& game) {
  const int written = std::min(std::max(game.records_used, getTotalPlayers(game)) + 1, kMaxPlayers);
  for (int i = 0; i < written; ++i) initPlayer(game, i);
  for (int i = kMaxPlayers; i < kPlayerRecords; ++i) initPlayer(game, i);
  game.records_used = 0;
}

int getTotalPlayers(const Game& game) {
  int count = 0;
  while (count < kMaxPlayers && !game.q3players[count].raw_name.empty()) ++count;
  return count;
}

int getTeamTotalPlayers(const Game& game, Team team) {
  int total = 0;
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    if (game.q3players[i].team == team) ++total;
  }
  return total;
}

// The live records are those before the first free one: one walk finds
// both the end of the table and the name.
int getPlayerIndex(const Game& game, std::string_view raw_name) {
  for (int i = 0; i < kMaxPlayers; ++i) {
    const std::string_view held = game.q3players[i].raw_name.view();
    if (held.empty()) break;
    if (held == raw_name) return i;
  }
  return kNobody;
}

int getPlayerIndexUsingStrippedName(const Game& game, std::string_view name) {
  for (int i = 0; i < kMaxPlayers && !game.q3players[i].raw_name.empty(); ++i) {
    if (game.q3players[i].name.view() == name) return i;
  }
  return kNobody;
}

// Live means before the first free record: the walk stops at `index`.
bool isLivePlayer(const Game& game, int index) {
  if (index < 0 || index >= kMaxPlayers) return false;
  for (int i = 0; i <= index; ++i) {
    if (game.q3players[i].raw_name.empty()) return false;
  }
  return true;
}

// Makes room in a full table by removing the disconnected player with the
// least skill. Returns false when every player is still in the game.
static bool evictLeastSkilledDisconnected(Game& game) {
  std::printf("Total number of Players reached MAX(%d)\n", kMaxPlayers);
  sort(game);
  for (int i = getTotalPlayers(game) - 1; i >= 0; --i) {
    if (game.q3players[i].disconnected == 1) {
      std::printf("Removing disconnected player with least skill\n");
      std::printf("Removing-> %s\n\n", game.q3players[i].name.c_str());
      removePlayer(game, i);
      return true;
    }
  }
  std::printf("Cannot add any more players\n\n");
  return false;
}

void addPlayer(Game& game, std::string_view raw_name) {
  if (raw_name.empty() || raw_name == kNoQuote) return;
  if (getPlayerIndex(game, raw_name) != kNobody) return;
  FixedText name;
  stripColorCodes(raw_name, name);
  if (getTotalPlayers(game) == kMaxPlayers && !evictLeastSkilledDisconnected(game)) return;
  const int index = getTotalPlayers(game);
  game.records_used = std::max(game.records_used, index + 1);
  Q3Player& p = game.q3players[index];
  p.raw_name.assign(raw_name);
  p.original_name.assign(raw_name);
  p.name = name;
}

void removePlayer(Game& game, int index) {
  // The removed player must sort below everybody so that it ends up as the
  // last live record, which is then reset. Minus infinity does that whatever
  // the other ratings are (a fixed low value such as -100 would not), and the
  // others keep the order the skill sort gives them.
  game.q3players[index].skill = -std::numeric_limits<float>::infinity();
  sort(game);
  initPlayer(game, getTotalPlayers(game) - 1);
}

// Puts the first `count` records in `order` (order[i] is the index of the
// record that goes to place i), and every live record's per-opponent columns
// in rows 0..13 with them.
static void applyOrder(Game& game, const std::array<int, kMaxPlayers>& order, int count) {
  // Record by record along each cycle of the order, with one record aside:
  // no copy of the table (a table is some 700 KB).
  std::array<bool, kMaxPlayers> placed{};
  for (int start = 0; start < count; ++start) {
    if (placed[start] || order[start] == start) continue;
    const Q3Player aside = game.q3players[start];
    int i = start;
    for (; order[i] != start; i = order[i]) {
      game.q3players[i] = game.q3players[order[i]];
      placed[i] = true;
    }
    game.q3players[i] = aside;
    placed[i] = true;
  }
  std::array<int, kMaxPlayers> column;
  for (int p = 0; p < count; ++p) {
    for (int w = 0; w <= kAllWeapons; ++w) {
      for (OpponentTable* table : {&game.q3players[p].kills_by_weapon, &game.q3players[p].deaths_by_weapon}) {
        std::array<int, kPlayerRecords>& row = (*table)[w];
        std::copy(row.begin(), row.begin() + count, column.begin());
        for (int i = 0; i < count; ++i) row[i] = column[order[i]];
      }
    }
  }
}

// The bubble sort runs on indexes; the records, some 11 KB each, are moved
// once at the end instead of at every swap.
void sort(Game& game) {
  const int count = getTotalPlayers(game);
  std::array<int, kMaxPlayers> order;
  std::iota(order.begin(), order.end(), 0);
  bool moved = false;
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < count; ++i) {
      if (game.q3players[order[i]].skill < game.q3players[order[i + 1]].skill) {
        std::swap(order[i], order[i + 1]);
        swapped = true;
        moved = true;
      }
    }
  }
  if (moved) applyOrder(game, order, count);
}

void printPlayers(const Game& game) {
  int count = getTotalPlayers(game);
  std::printf("TOTAL PLAYERS -> %d\n", count);
  for (int i = 0; i < count; ++i) std::printf(" - %s\n", game.q3players[i].name.c_str());
}

void stripColorCodes(std::string_view source, FixedText& destination) {
  char out[kTextBufferSize];
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < source.size() && n < kMaxTextLength) {
    if (source[i] != '^') {
      // The text up to the next caret, in one piece.
      const char* from = source.data() + i;
      const void* caret = std::memchr(from, '^', source.size() - i);
      std::size_t run = caret != nullptr ? static_cast<std::size_t>(static_cast<const char*>(caret) - from)
                                         : source.size() - i;
      run = std::min(run, kMaxTextLength - n);
      std::memcpy(out + n, from, run);
      n += run;
      i += run;
    } else if (i + 1 < source.size() && source[i + 1] == '^') {
      out[n++] = '^';  // "^^" gives one "^"; the scan goes on at the second "^"
      i += 1;
    } else {
      i += 2;  // a colour code: drop "^" and the character after it
    }
  }
  destination.assign({out, n});
}

void restoreOriginalPlayerNames(Game& game) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    p.raw_name = p.original_name;
    stripColorCodes(p.raw_name, p.name);
  }
}

void fixPlayerNames(Game& game) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
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
ChatSplit findChatSender(const Game& game, std::string_view line, std::string_view separator,
                          std::size_t name_from) {
  for (std::size_t at = line.find(separator); at != std::string_view::npos; at = line.find(separator, at + 1)) {
    if (at < name_from) continue;
    int sender = getPlayerIndex(game, line.substr(name_from, at - name_from));
    if (sender != kNobody) return {sender, at + separator.size()};
  }
  return {};
}

ChatSplit splitChatLine(const Game& game, std::string_view line) {
  // Both separators hold a colon, which most lines (the kills) lack.
  if (line.find(':') == std::string_view::npos) return {};
  ChatSplit split = findChatSender(game, line, "^7: ", 0);
  if (split.sender == kNobody && !line.empty() && line[0] == '(') split = findChatSender(game, line, "^7): ", 1);
  return split;
}

// The quote choice keeps the C library's generator, seeded with the line's
// length, so a given log always yields the same quotes. Nothing else draws
// from it, so it is seeded only when the choice is really open.
int coinForQuote(std::string_view line) {
  std::srand(static_cast<unsigned>(line.size()));
  return std::rand() % 10;
}

}  // namespace

int chatSender(const Game& game, std::string_view line) { return splitChatLine(game, line).sender; }

void scanForQuotes(Game& game, std::string_view line) {
  ChatSplit split = splitChatLine(game, line);
  if (split.sender == kNobody) return;
  FixedText candidate;
  stripColorCodes(line.substr(split.text_at), candidate);
  Q3Player& p = game.q3players[split.sender];
  if (p.quote.view() == kNoQuote || candidate.size() > p.quote.size() ||
      (candidate.size() > 10 && coinForQuote(line) < 5)) {
    p.quote = candidate;
  }
}
