// A player's kills and accuracy by weapon as an inline SVG bar chart: drawn
// by the browser from the page itself, no image file to fetch.
#pragma once

#include <string>

#include "season_data.h"

namespace site {

// Appends the chart: one row per weapon the player killed with or fired,
// kill bars scaled to the player's best weapon, accuracy bars to 100 %.
// Appends a short note instead when there is no such weapon.
void appendWeaponChart(std::string& out, const PlayerRow& player);

}  // namespace site
