// What a scanned line says about a kill or any other event: the weapon of an
// obituary and the names the line holds. Only the line is read; which player
// a name belongs to is the game's business (kills.h).
#pragma once

#include <string_view>

#include "keyword_index.h"

// Weapon number 0..12 of an obituary, or kNoKill.
int getWeapon(const LineScan& line);

// The first name of the line, or kNoQuote when it holds none. A view into
// the scanned text.
std::string_view getVictimName(const LineScan& line);
// The second name or value of the line (the victim for a suicide), or
// kNoQuote. A view into the scanned text.
std::string_view getAttackerName(const LineScan& line);

// Both names of a line, as the two functions above give them.
struct LineNames {
  std::string_view victim;
  std::string_view attacker;
};
LineNames getLineNames(const LineScan& line);
