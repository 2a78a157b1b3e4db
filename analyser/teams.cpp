#include "teams.h"

#include <cstdio>

#include "game.h"
#include "keywords.h"
#include "kills.h"
#include "line_event.h"
#include "players.h"
#include "text.h"

namespace {

constexpr std::string_view kGuessedTeamMarker = "^7&nbsp;<font color=#CC6600>~</font>";
constexpr std::string_view kMergeSeparator = "<font color=#CC6600> / </font>";
constexpr std::string_view kMergeEndMarker = "^7<font color=#CC6600>&nbsp;+</font>";
// Every marker holds this text: a record carrying it was already merged or
// marked and never takes part in a merge.
constexpr std::string_view kMarkerFont = "<font color=#CC6600>";
constexpr std::size_t kCutNameLength = 29;

Team opposingTeam(Team team) { return team == kRed ? kBlue : kRed; }

// Puts player p on the team opposite to the first opponent of a known team
// in `table` (deaths: killers; kills: victims), weapons 0..8 in order.
void guessTeamFrom(Game& game, int p, const OpponentTable& table, int count) {
  for (int w = kGauntlet; w <= kBfg; ++w) {
    for (int j = 0; j < count; ++j) {
      Team other = game.q3players[j].team;
      if (table[w][j] <= 0 || (other != kRed && other != kBlue)) continue;
      game.q3players[p].team = opposingTeam(other);
      game.q3players[p].raw_name.append(kGuessedTeamMarker);
      return;
    }
  }
}

// Highest index first, so players guessed earlier count as evidence for the
// ones examined after them.
void guessPass(Game& game, const char* message, bool by_deaths) {
  int count = getTotalPlayers(game);
  for (int p = count - 1; p >= 0; --p) {
    Q3Player& player = game.q3players[p];
    if (player.team != kNoTeam) continue;
    std::printf(message, player.name.c_str());
    guessTeamFrom(game, p, by_deaths ? player.deaths_by_weapon : player.kills_by_weapon, count);
  }
}

// A live record that may take part in a merge under `key`.
bool mergeCandidate(const Game& game, int index, std::string_view key) {
  std::string_view raw = game.q3players[index].raw_name;
  return contains(raw, key) && !contains(raw, kMarkerFont);
}

// Adds the counters that survive a merge of `from` into `into`.
void addMergedValues(Q3Player& into, const Q3Player& from) {
  into.frags += from.frags;
  into.suicides += from.suicides;
  into.skill += from.skill;
  into.combat += from.combat;
  into.ctf_flag_hold_kills += from.ctf_flag_hold_kills;
  into.ctf_flag_touches += from.ctf_flag_touches;
  into.ctf_flag_caps += from.ctf_flag_caps;
  into.ctf_flag_returns += from.ctf_flag_returns;
  into.ctf_efc_kills += from.ctf_efc_kills;
  into.ctf_assist_efc_kills += from.ctf_assist_efc_kills;
  into.ctf_assist_flag_returns += from.ctf_assist_flag_returns;
  into.ctf_fc_defends += from.ctf_fc_defends;
  into.ctf_fc_defends_aggressive += from.ctf_fc_defends_aggressive;
  into.ctf_base_defends += from.ctf_base_defends;
  if (into.team == kNoTeam) into.team = from.team;
}

// The longest text of the first `team` player's name that every player of
// the team carries in the name; "" when the team has nobody.
std::string clanTag(const Game& game, Team team) {
  int count = getTotalPlayers(game);
  int first = 0;
  while (first < count && game.q3players[first].team != team) ++first;
  if (first == count) return {};
  std::string_view name = game.q3players[first].name;
  std::string_view tag;
  for (std::size_t i = 0; i < name.size(); ++i) {
    for (std::size_t k = i; k < name.size(); ++k) {
      std::string_view text = name.substr(i, k - i + 1);
      // A longer text holds this one, so it cannot match either.
      if (!allMatched(game, team, text)) break;
      if (text.size() > tag.size()) tag = text;
    }
  }
  return std::string(tag);
}

}  // namespace

void assignTeam(Game& game, const LineEvent& event) {
  const LineScan& line = event.scan;
  // Most lines tell no team: the subject is looked up only for one that does.
  auto subject = [&game, &event]() -> Q3Player& { return game.q3players[getVictim(game, event)]; };
  const int told = line.firstContained(team_strings);
  if (told == 0) {
    std::string_view word = event.attacker_name;
    if (word == "RED") subject().team = kRed;
    else if (word == "BLUE") subject().team = kBlue;
  } else if (told == 1) {
    subject().team = kRed;
  } else if (told == 2) {
    subject().team = kBlue;
  } else if (line.containsAny(ctf_red_strings)) {
    game.gametype = kCaptureTheFlag;
    subject().team = kRed;
  } else if (line.containsAny(ctf_blue_strings)) {
    game.gametype = kCaptureTheFlag;
    subject().team = kBlue;
  }
}

void assignTeamToUnknownPlayers(Game& game) {
  if (getTeamTotalPlayers(game, kNoTeam) == 0 || getTeamTotalPlayers(game, kRed) == 0 || getTeamTotalPlayers(game, kBlue) == 0) {
    return;
  }
  guessPass(game, "Trying to guess-timate team for player (deaths): %s\n", true);
  guessPass(game, "Trying to guess-timate team for player  (kills): %s\n", false);
}

int mergeIdenticalPlayerChopped(Game& game, int a) {
  if (!isLivePlayer(game, a) || game.q3players[a].raw_name.size() != kCutNameLength) return kNobody;
  std::string key(game.q3players[a].raw_name.view());
  if (key.back() == '^') key.pop_back();

  int count = getTotalPlayers(game);
  int s = kNobody;
  int candidates = 0;
  for (int j = 0; j < count; ++j) {
    if (!mergeCandidate(game, j, key)) continue;
    ++candidates;
    if (j != a && s == kNobody) s = j;
  }
  if (s == kNobody) return kNobody;
  if (candidates > 2) {
    game.q3players[a].team = kNoTeam;  // ambiguous: several full names hold the cut one
    return kNobody;
  }

  Q3Player& cut = game.q3players[a];
  const Q3Player& full = game.q3players[s];
  std::printf("\nPossible Duplicate Player detected:\n");
  std::printf("%s\n", cut.name.c_str());
  std::printf("%s\n", full.name.c_str());
  std::printf("Merging Players.\n\n");
  FixedText merged_raw(full.raw_name);
  merged_raw.append(kMergeSeparator);
  merged_raw.append(cut.raw_name);
  merged_raw.append(kMergeEndMarker);
  cut.name = full.name;
  cut.raw_name = merged_raw;
  addMergedValues(cut, full);
  removePlayer(game, s);
  return getPlayerIndex(game, merged_raw);
}

int mergeIdenticalPlayerNonChopped(Game& game, int x) {
  if (!isLivePlayer(game, x)) return kNobody;
  for (int s = 0, count = getTotalPlayers(game); s < count; ++s) {
    std::string_view raw = game.q3players[s].raw_name;
    if (s != x && raw.size() == kCutNameLength && contains(game.q3players[x].raw_name, raw)) {
      return mergeIdenticalPlayerChopped(game, s);
    }
  }
  return kNobody;
}

void mergeAllIdenticalPlayers(Game& game) {
  int i = 0;
  while (i < getTotalPlayers(game)) {
    int merged = mergeIdenticalPlayerChopped(game, i);
    // After every merge the table is re-sorted: start again from the top.
    i = merged < getTotalPlayers(game) ? 0 : i + 1;
  }
}

bool allMatched(const Game& game, Team team, std::string_view text) {
  for (int i = 0, count = getTotalPlayers(game); i < count; ++i) {
    if (game.q3players[i].team == team && !contains(game.q3players[i].name, text)) return false;
  }
  return true;
}

void detectClans(const Game& game, std::string& destination) {
  if (game.gametype == kFreeForAll) {
    destination = "FFA_PUB";
    return;
  }
  std::string red = clanTag(game, kRed);
  std::string blue = clanTag(game, kBlue);
  // Three players make any common text a coincidence, not a clan.
  bool three_players = getTotalPlayers(game) == 3;
  if (red.size() < 2 || three_players) red = "RED";
  if (blue.size() < 2 || three_players) blue = "BLUE";
  const char* prefix = game.gametype == kCaptureTheFlag ? "CTF_" : game.gametype == kTeamDeathmatch ? "TDM_" : "CA_";
  destination = prefix + red + "_vs_" + blue;
}
