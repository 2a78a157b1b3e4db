// Kill events: the weapon of an obituary, the names in any analysed line, and
// what one kill changes in the player table.
#pragma once

#include <string_view>

#include "keyword_index.h"

struct Game;
struct LineEvent;

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

// Weapon number 0..12 of an obituary, or kNoKill.
int getWeapon(const LineScan& line);

// The first name of the line, or kNoQuote when it holds none. A view into
// the scanned text.
std::string_view getVictimName(const LineScan& line);
// The second name or value of the line (the victim for a suicide), or
// kNoQuote. A view into the scanned text.
std::string_view getAttackerName(const LineScan& line);
// Player index of a name taken from a line; kNobody for kNoQuote or a name
// that is not in the table.
int indexOfName(const Game& game, std::string_view name);
// Player indices of the event's subject and second name; kNobody when
// unknown or absent.
int getVictim(const Game& game, const LineEvent& event);
int getAttacker(const Game& game, const LineEvent& event);

// Applies one kill: tallies, streaks, team kills and the live rating changes.
void updateTables(Game& game, const LineEvent& event);
