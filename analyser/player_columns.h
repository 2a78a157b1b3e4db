// The figure columns of a player's season totals (the playerstats table), in
// one table that every statement and reader of them walks: the season's
// CREATE of playerstats, the UPDATE that adds a game to a row and the game's
// record (game_players), and the site's reader of the rows. None of them
// names a figure column of its own.
//
// The contract of kColumns:
//  - it holds every column of playerstats but the key and the texts
//    (raw_name, name, model, quote), in the table's order, which is the
//    order of the CREATE;
//  - `adding` says how a game's figure enters the total, `figure` what the
//    column counts: where a game's player (Q3Player) has it (its `field`,
//    or the row `weapon` of its tables) and where the site's row keeps it;
//  - the columns of a figure that has several (a weapon's kills, an item)
//    are in the order of the site's arrays of that figure: the n-th of them
//    is place n (placeInFigure());
//  - `spacing` holds the spaces the season's scripts have always been
//    written with (they are compared byte for byte); it means nothing else.
#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "player.h"

namespace playerstats {

// How a game's figure enters the season's total.
enum class Adding : unsigned char {
  kSum,         // the total grows by the figure
  kMax,         // the total is the larger of the two (the streaks)
  kOnePerGame,  // the total grows by one (the games counted)
};

// What a column counts.
enum class Figure : unsigned char {
  // One whole number of the player: its `field`.
  kFrags, kKills, kDeaths, kSuicides, kTeamKills, kKillStreak, kDeathStreak, kDamageGiven, kDamageRecvd,
  kItem, kCtf,
  // The ratings: sums of fractions (ratingOf()).
  kSkill, kCombat,
  kGames,
  // Of accuracy weapon `weapon` (kFirstAccuracyWeapon..kLastAccuracyWeapon).
  kAccuracyHits, kAccuracyAttempts,
  // Of the accuracy weapons together.
  kTotalHits, kTotalAttempts,
  // With weapon `weapon` (a row of the player's weapon tables).
  kWeaponKills, kWeaponDeaths,
};

// The weapons whose hits and attempts are kept.
inline constexpr int kFirstAccuracyWeapon = kMachineGun;
inline constexpr int kLastAccuracyWeapon = kBfg;

// The spaces of a column in the season's scripts (bits of Column::spacing).
inline constexpr unsigned kSpaceBefore = 1;   // UPDATE: " c=c+v"
inline constexpr unsigned kSpacedPlus = 2;    // UPDATE: "c=c + v"
inline constexpr unsigned kPlusSpace = 4;     // UPDATE: "c=c+ v"
inline constexpr unsigned kSpacedEquals = 8;  // UPDATE: "c = c+v"
inline constexpr unsigned kWideType = 16;     // CREATE: "c  TYPE"
inline constexpr unsigned kTightComma = 32;   // CREATE: "c TYPE," with no space before the next column

struct Column {
  const char* name;
  const char* type;  // type and default in the CREATE of playerstats
  Adding adding;
  Figure figure;
  int Q3Player::*field;  // the player's figure, for the figures of one whole number; else nullptr
  int weapon;            // for the figures of a weapon; else 0
  unsigned spacing;
};

inline constexpr const char* kInt = "INT DEFAULT 0";
inline constexpr const char* kRating = "FLOAT(2) DEFAULT 0.00";

inline constexpr Column kColumns[] = {
    {"frags", kInt, Adding::kSum, Figure::kFrags, &Q3Player::frags, 0, kSpaceBefore | kSpacedPlus},
    {"kills", kInt, Adding::kSum, Figure::kKills, &Q3Player::kills, 0, kSpacedPlus},
    {"deaths", kInt, Adding::kSum, Figure::kDeaths, &Q3Player::deaths, 0, kSpaceBefore},
    {"suicides", kInt, Adding::kSum, Figure::kSuicides, &Q3Player::suicides, 0, 0},
    {"team_kills", kInt, Adding::kSum, Figure::kTeamKills, &Q3Player::team_kills, 0, kSpaceBefore},
    {"kill_streak", kInt, Adding::kMax, Figure::kKillStreak, &Q3Player::kill_streak, 0, 0},
    {"death_streak", kInt, Adding::kMax, Figure::kDeathStreak, &Q3Player::death_streak, 0, 0},
    {"damage_given", kInt, Adding::kSum, Figure::kDamageGiven, &Q3Player::damage_given, 0, 0},
    {"damage_recvd", kInt, Adding::kSum, Figure::kDamageRecvd, &Q3Player::damage_recvd, 0, 0},
    {"accuracy_MG_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kMachineGun, kSpacedPlus},
    {"accuracy_MG_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kMachineGun, kPlusSpace},
    {"accuracy_SG_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kShotGun, kSpacedPlus},
    {"accuracy_SG_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kShotGun, kPlusSpace},
    {"accuracy_GL_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kGrenadeLauncher, kSpacedPlus},
    {"accuracy_GL_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kGrenadeLauncher, kPlusSpace},
    {"accuracy_RL_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kRocketLauncher, kSpacedPlus},
    {"accuracy_RL_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kRocketLauncher, kPlusSpace},
    {"accuracy_LG_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kLightningGun, kSpacedPlus},
    {"accuracy_LG_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kLightningGun, kPlusSpace},
    {"accuracy_RG_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kRailGun, kSpacedPlus},
    {"accuracy_RG_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kRailGun, kPlusSpace},
    {"accuracy_PG_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kPlasmaGun, kSpacedPlus},
    {"accuracy_PG_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kPlasmaGun, kPlusSpace},
    {"accuracy_BFG_hits", kInt, Adding::kSum, Figure::kAccuracyHits, nullptr, kBfg, kSpacedPlus},
    {"accuracy_BFG_attempts", kInt, Adding::kSum, Figure::kAccuracyAttempts, nullptr, kBfg, kPlusSpace},
    {"accuracy_total_hits", kInt, Adding::kSum, Figure::kTotalHits, nullptr, 0, kSpacedPlus},
    {"accuracy_total_attempts", kInt, Adding::kSum, Figure::kTotalAttempts, nullptr, 0, kPlusSpace},
    {"item_mega", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_mega, 0, kSpacedPlus},
    {"item_health", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_health, 0, kSpacedPlus},
    {"item_health_small", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_health_small, 0, kSpacedPlus},
    {"item_health_large", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_health_large, 0, kSpacedPlus},
    {"item_ra", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_ra, 0, kSpacedPlus},
    {"item_ya", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_ya, 0, kSpacedPlus},
    {"item_shard", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_shard, 0, kSpacedPlus},
    {"item_regen", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_regen, 0, kSpacedPlus},
    {"item_haste", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_haste, 0, kSpacedPlus},
    {"item_quad", kInt, Adding::kSum, Figure::kItem, &Q3Player::item_quad, 0, kSpacedPlus},
    {"skill", kRating, Adding::kSum, Figure::kSkill, nullptr, 0, kSpaceBefore},
    {"combat", kRating, Adding::kSum, Figure::kCombat, nullptr, 0, 0},
    {"kills_G", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kGauntlet, kWideType | kSpacedEquals},
    {"kills_MG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kMachineGun, 0},
    {"kills_SG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kShotGun, 0},
    {"kills_GL", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kGrenadeLauncher, 0},
    {"kills_RL", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kRocketLauncher, 0},
    {"kills_LG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kLightningGun, 0},
    {"kills_RG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kRailGun, 0},
    {"kills_PG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kPlasmaGun, 0},
    {"kills_BFG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kBfg, 0},
    {"kills_TF", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kTeleFrag, 0},
    {"kills_NG", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kNailGun, 0},
    {"kills_GH", kInt, Adding::kSum, Figure::kWeaponKills, nullptr, kGrapple, 0},
    {"deaths_G", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kGauntlet, kWideType},
    {"deaths_MG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kMachineGun, 0},
    {"deaths_SG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kShotGun, 0},
    {"deaths_GL", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kGrenadeLauncher, 0},
    {"deaths_RL", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kRocketLauncher, 0},
    {"deaths_LG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kLightningGun, 0},
    {"deaths_RG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kRailGun, 0},
    {"deaths_PG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kPlasmaGun, 0},
    {"deaths_BFG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kBfg, 0},
    {"deaths_TF", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kTeleFrag, 0},
    {"deaths_NG", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kNailGun, 0},
    {"deaths_GH", kInt, Adding::kSum, Figure::kWeaponDeaths, nullptr, kGrapple, 0},
    {"games", kInt, Adding::kOnePerGame, Figure::kGames, nullptr, 0, 0},
    {"ctf_base_defends", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_base_defends, 0, 0},
    {"ctf_flag_returns", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_flag_returns, 0, 0},
    {"ctf_fc_defends", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_fc_defends, 0, 0},
    {"ctf_fc_defends_aggressive", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_fc_defends_aggressive, 0,
     kTightComma},
    {"ctf_flag_caps", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_flag_caps, 0, 0},
    {"ctf_flag_touches", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_flag_touches, 0, 0},
    {"ctf_efc_kills", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_efc_kills, 0, 0},
    {"ctf_assist_efc_kills", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_assist_efc_kills, 0, 0},
    {"ctf_assist_flag_returns", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_assist_flag_returns, 0, 0},
    {"ctf_flag_hold_kills", kInt, Adding::kSum, Figure::kCtf, &Q3Player::ctf_flag_hold_kills, 0, 0},
};

inline constexpr std::size_t kColumnCount = std::size(kColumns);

// The number of columns of `figure`.
constexpr std::size_t countOf(Figure figure) {
  std::size_t n = 0;
  for (const Column& c : kColumns) n += c.figure == figure ? 1 : 0;
  return n;
}

// The place of column kColumns[i] among the columns of its figure, 0 the first.
constexpr std::size_t placeInFigure(std::size_t i) {
  std::size_t place = 0;
  for (std::size_t k = 0; k < i; ++k) place += kColumns[k].figure == kColumns[i].figure ? 1 : 0;
  return place;
}

constexpr bool isRating(const Column& c) { return c.figure == Figure::kSkill || c.figure == Figure::kCombat; }

// A total of the accuracy weapons' figures.
constexpr bool isAccuracyTotal(const Column& c) {
  return c.figure == Figure::kTotalHits || c.figure == Figure::kTotalAttempts;
}

// The whole-number figure of column `c` that `player` made in a game whose
// weapon tables keep their totals in column `totals` (the game's number of
// players); 0 for the ratings.
int figureOf(const Column& c, const Q3Player& player, int totals);

// Accuracy weapon `weapon`'s share of an accuracy total (isAccuracyTotal()).
int shareOf(const Column& c, const Q3Player& player, int weapon);

// The rating of column `c` (isRating()).
float ratingOf(const Column& c, const Q3Player& player);

}  // namespace playerstats
