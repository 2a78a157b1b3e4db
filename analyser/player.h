// One player's record in a game's player table, and the numbers that index
// its tables.
//
// Game::q3players holds 66 records. Live players occupy indices 0 to count-1
// without gaps (count at most 64); a record is free when its raw_name is
// empty. Index 65 stands for "no such player": failed lookups return it and
// writes for unknown players land in it, but it is never reported. Index 64
// is a spare that never holds a player. In the two per-opponent tables of
// every record, columns 0..count-1 follow the live players and column count
// receives the totals at the end of the game.
#pragma once

#include <array>
#include <string_view>

#include "text.h"

inline constexpr int kMaxPlayers = 64;
inline constexpr int kPlayerRecords = 66;
inline constexpr int kNobody = 65;          // index of "no such player"
inline constexpr int kWeaponRows = 15;      // weapon numbers 0..14
inline constexpr int kAwardCount = 33;

// Returned by the name extractors when a line holds no name, and stored as
// the quote of a player from whom no chat line was collected.
inline constexpr std::string_view kNoQuote = "imfjikelpituqwedcepozisdkfnvublodfklaperlfmsdfibutlwerm";

using OpponentTable = std::array<std::array<int, kPlayerRecords>, kWeaponRows>;

// Teams (Q3Player::team).
enum class Team { kNoTeam, kRed, kBlue };
using enum Team;

// The team as the game records and JSON files name it.
constexpr std::string_view teamWord(Team team) { return team == kRed ? "red" : team == kBlue ? "blue" : "none"; }

struct Q3Player {
  FixedText name;           // name without colour codes
  FixedText raw_name;       // name as in the log; the lookup key; empty = free
  FixedText original_name;  // raw_name as first added, restored at game end
  FixedText model;
  FixedText quote;
  int disconnected;
  int frags;
  int kill_streak;
  int current_kill_streak;
  int death_streak;
  int current_death_streak;
  int suicides;
  int kills;
  int deaths;
  OpponentTable kills_by_weapon;   // [weapon][victim]
  OpponentTable deaths_by_weapon;  // [weapon][killer]; own column = suicides
  int has_flag;
  int ctf_flag_hold_kills;
  int ctf_flag_touches;
  int ctf_flag_caps;
  int ctf_flag_returns;
  int ctf_efc_kills;
  int ctf_hurt_carrier_defends;
  int ctf_assist_efc_kills;
  int ctf_assist_flag_returns;
  int ctf_fc_defends;
  int ctf_fc_defends_aggressive;
  int ctf_base_defends;
  Team team;
  int team_kills;
  float skill;
  float combat;
  std::array<int, kAwardCount> awards;
  int damage_given;
  int damage_recvd;
  std::array<int, 9> accuracy_hits;      // weapons 0..8
  int accuracy_total_hits;
  std::array<int, 8> accuracy_attempts;  // weapons 1..8 at positions 0..7
  int accuracy_total_attempts;
  int item_shard;
  int item_ya;
  int item_ra;
  int item_mega;
  int item_health;
  int item_health_small;
  int item_health_large;
  int item_quad;
  int item_regen;
  int item_haste;
  // The season leaves the player out of its totals and records (a bot, an
  // ignored name); the game's pages still show it.
  bool left_out;
};


// Weapon numbers: rows of kills_by_weapon and deaths_by_weapon.
inline constexpr int kGauntlet = 0;
inline constexpr int kMachineGun = 1;
inline constexpr int kShotGun = 2;
inline constexpr int kGrenadeLauncher = 3;
inline constexpr int kRocketLauncher = 4;
inline constexpr int kLightningGun = 5;
inline constexpr int kRailGun = 6;
inline constexpr int kPlasmaGun = 7;
inline constexpr int kBfg = 8;
inline constexpr int kNailGun = 9;
inline constexpr int kGrapple = 10;
inline constexpr int kTeleFrag = 11;
inline constexpr int kSuicide = 12;     // world and self deaths
inline constexpr int kAllWeapons = 13;  // totals row, filled at the end of the game
inline constexpr int kNoKill = 14;      // a line that is no kill; never stored

// A free record: every figure 0, no name, the no-quote marker as its quote,
// both ratings at their starting value of 10.
// (A record is about 11 KB and a game resets all of them at its end: copying
// one prepared record is half the work of building a fresh one each time.)
inline void resetPlayer(Q3Player& player) {
  static const Q3Player kFree = [] {
    Q3Player free{};
    free.quote.assign(kNoQuote);
    free.skill = 10.0f;
    free.combat = 10.0f;
    return free;
  }();
  player = kFree;
}
