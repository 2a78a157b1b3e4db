// The weapon page of a game: per player, kills and deaths against each
// opponent with each weapon, with totals, efficiency and accuracy.
#pragma once

#include <string>

// Writes the link to the weapon page on the main page, then the whole weapon
// page, and reopens the main page for appending.
void htmlDrawWeaponTable();

// Display name of a weapon, coloured when use_weapon_colors is "yes"; "" for
// numbers outside 0..12.
std::string getWeaponName(int weapon);

// Writes a per-weapon number, coloured when use_weapon_colors is "yes".
void htmlPrintWeaponStat(int weapon, int value);
