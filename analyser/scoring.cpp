#include "scoring.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "game.h"
#include "player.h"
#include "players.h"

float clampRating(float rating) {
  if (std::isnan(rating)) return 0.0f;
  return std::clamp(rating, -kRatingLimit, kRatingLimit);
}

float getKestroPoints(int weapon) {
  switch (weapon) {
    case kGauntlet:
    case kGrapple:
      return 1.5f;
    case kMachineGun:
    case kShotGun:
    case kGrenadeLauncher:
    case kPlasmaGun:
    case kNailGun:
    case kTeleFrag:
      return 1.0f;
    case kRocketLauncher:
      return 1.1f;
    case kLightningGun:
      return 1.15f;
    case kRailGun:
      return 1.2f;
    case kBfg:
      return 0.8f;
    default:
      return 0.0f;
  }
}

namespace {

// Per-weapon totals, all-weapon counts per opponent and the grand totals of
// player p; n is the player count and so the index of the totals column.
// Kill totals leave out the player's own column; death totals include the
// suicides.
void addUpPlayerTables(Game& game, int p, int n) {
  Q3Player& player = game.q3players[p];
  auto is_other = [&](int j) { return game.q3players[j].raw_name.view() != player.raw_name.view(); };
  for (int w = 0; w <= kSuicide; ++w) {
    for (int j = 0; j < n; ++j) {
      if (is_other(j)) player.kills_by_weapon[w][n] += player.kills_by_weapon[w][j];
      player.deaths_by_weapon[w][n] += player.deaths_by_weapon[w][j];
    }
  }
  for (int j = 0; j < n; ++j) {
    for (int w = 0; w <= kSuicide; ++w) {
      if (is_other(j)) player.kills_by_weapon[kAllWeapons][j] += player.kills_by_weapon[w][j];
      player.deaths_by_weapon[kAllWeapons][j] += player.deaths_by_weapon[w][j];
    }
  }
  for (int j = 0; j < n; ++j) {
    player.kills_by_weapon[kAllWeapons][n] += player.kills_by_weapon[kAllWeapons][j];
    player.deaths_by_weapon[kAllWeapons][n] += player.deaths_by_weapon[kAllWeapons][j];
  }
}

void addUpScore(Q3Player& p, int index, int n) {
  p.suicides += p.deaths_by_weapon[kAllWeapons][index];
  p.kills += p.kills_by_weapon[kAllWeapons][n];  // team kills were subtracted as they happened
  p.deaths += p.deaths_by_weapon[kAllWeapons][n] - p.suicides;
  // Both ratings started at 10; the longest streak earns half a point a kill.
  p.combat -= 10.0f;
  p.skill -= 10.0f;
  p.skill += 0.5f * static_cast<float>(p.kill_streak);
  p.skill = clampRating(p.skill);
  p.combat = clampRating(p.combat);
  p.frags += p.kills + 5 * p.ctf_flag_caps + p.ctf_flag_returns + 2 * p.ctf_efc_kills +
             2 * p.ctf_hurt_carrier_defends + 2 * p.ctf_assist_efc_kills + 2 * p.ctf_fc_defends_aggressive +
             p.ctf_assist_flag_returns + p.ctf_fc_defends + p.ctf_base_defends - p.suicides - p.team_kills;
}

}  // namespace

void addUpTables(Game& game) {
  if (game.gametype == kFreeForAll && getTeamTotalPlayers(game, kRed) > 0 && getTeamTotalPlayers(game, kBlue) > 0) {
    game.gametype = kTeamDeathmatch;
  }
  int n = getTotalPlayers(game);
  for (int p = 0; p < n; ++p) {
    addUpPlayerTables(game, p, n);
    addUpScore(game.q3players[p], p, n);
  }
}

namespace {

// The team a key's suffix names: "_red", "_blue" or "_noteam". False for
// any other suffix.
bool teamOfSuffix(std::string_view suffix, Team& team) {
  if (suffix == "red") team = kRed;
  else if (suffix == "blue") team = kBlue;
  else if (suffix == "noteam") team = kNoTeam;
  else return false;
  return true;
}

using IntField = int (*)(const Q3Player&);

struct StatKey {
  std::string_view field;
  IntField value;
  bool has_noteam;  // only kills, deaths and frags are summed for players without a team
};

const StatKey kStatKeys[] = {
    {"caps", [](const Q3Player& p) { return p.ctf_flag_caps; }, false},
    {"touches", [](const Q3Player& p) { return p.ctf_flag_touches; }, false},
    {"holdkills", [](const Q3Player& p) { return p.ctf_flag_hold_kills; }, false},
    {"returns", [](const Q3Player& p) { return p.ctf_flag_returns; }, false},
    {"efckills", [](const Q3Player& p) { return p.ctf_efc_kills; }, false},
    {"fcdefends", [](const Q3Player& p) { return p.ctf_fc_defends + p.ctf_fc_defends_aggressive; }, false},
    {"basedefends", [](const Q3Player& p) { return p.ctf_base_defends; }, false},
    {"kills", [](const Q3Player& p) { return p.kills; }, true},
    {"deaths", [](const Q3Player& p) { return p.deaths; }, true},
    {"suicides", [](const Q3Player& p) { return p.suicides; }, false},
    {"frags", [](const Q3Player& p) { return p.frags; }, true},
};

// Splits "field_team" at its last "_".
bool splitKey(std::string_view key, std::string_view& field, Team& team) {
  std::size_t at = key.rfind('_');
  if (at == std::string_view::npos) return false;
  field = key.substr(0, at);
  return teamOfSuffix(key.substr(at + 1), team);
}

}  // namespace

namespace {

int scoreByEvents(const Game& game, Team team) {
  const char* suffix = team == kRed ? "_red" : "_blue";
  if (game.gametype == kCaptureTheFlag) return getStats(game, std::string("caps") + suffix);
  if (game.gametype == kClanArena) return team == kRed ? game.ca_win_red : game.ca_win_blue;
  return getStats(game, std::string("frags") + suffix);
}

}  // namespace

int teamScore(const Game& game, Team team) {
  const bool stated = game.facts.red_score >= 0 && game.facts.blue_score >= 0;
  if (stated && scoreByEvents(game, kRed) == 0 && scoreByEvents(game, kBlue) == 0) {
    return team == kRed ? game.facts.red_score : game.facts.blue_score;
  }
  return scoreByEvents(game, team);
}

int getStats(const Game& game, std::string_view key) {
  std::string_view field;
  Team team = kNoTeam;
  if (!splitKey(key, field, team)) return 0;
  for (const StatKey& stat : kStatKeys) {
    if (stat.field != field || (team == kNoTeam && !stat.has_noteam)) continue;
    int sum = 0;
    for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
      if (game.q3players[i].team == team) sum += stat.value(game.q3players[i]);
    }
    return sum;
  }
  return 0;
}

double getStatsDouble(const Game& game, std::string_view key) {
  double sum = 0.0;
  int n = getTotalPlayers(game);
  if (key == "kestro") {
    for (int i = 0; i < n; ++i) sum += game.q3players[i].skill;
    return sum;
  }
  std::string_view field;
  Team team = kNoTeam;
  if (!splitKey(key, field, team) || (field != "kestro" && field != "combat")) return 0.0;
  for (int i = 0; i < n; ++i) {
    if (game.q3players[i].team == team) sum += field == "kestro" ? game.q3players[i].skill : game.q3players[i].combat;
  }
  return sum;
}

namespace {

int mostFrequentOpponent(const Game& game, int player, const OpponentTable& table) {
  int result = player;
  int best = table[kAllWeapons][player];
  for (int j = 0, n = getTotalPlayers(game); j < n; ++j) {
    if (table[kAllWeapons][j] > best) {
      best = table[kAllWeapons][j];
      result = j;
    }
  }
  return result;
}

}  // namespace

int getWorstEnemy(const Game& game, int player) { return mostFrequentOpponent(game, player, game.q3players[player].deaths_by_weapon); }

int getEasiestPrey(const Game& game, int player) { return mostFrequentOpponent(game, player, game.q3players[player].kills_by_weapon); }
