// The weapon page of a game: per player, kills and deaths against each
// opponent with each weapon, with totals, efficiency and accuracy.
#pragma once

#include <string>

class Report;
struct ReportConfig;

// Writes the link to the weapon page on the main page, then the whole weapon
// page, and reopens the main page for appending.
void htmlDrawWeaponTable(Report& r);

// Display name of a weapon, coloured when use_weapon_colors is "yes"; "" for
// numbers outside 0..12.
std::string getWeaponName(const ReportConfig& config, int weapon);

// Writes a per-weapon number, coloured when use_weapon_colors is "yes".
void htmlPrintWeaponStat(Report& r, int weapon, int value);
