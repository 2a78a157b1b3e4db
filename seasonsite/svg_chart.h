// A player's kills and accuracy by weapon as an inline SVG bar chart: drawn
// by the browser from the page itself, no image file to fetch.
#pragma once

#include <string>

#include "game_records.h"
#include "season_data.h"

namespace site {

// Appends the chart: one row per weapon the player killed with or fired,
// kill bars scaled to the player's best weapon, accuracy bars to 100 %.
// Appends a short note instead when there is no such weapon.
void appendWeaponChart(std::string& out, const PlayerRow& player);

// Appends the form over the player's last `count` games (`games` newest
// first): one bar per game, oldest left, its height the game's kills per
// death (a line marks 1.0, bars stop at 3.0), its colour the result.
void appendFormChart(std::string& out, const std::vector<PlayerGame>& games, std::size_t count);

// Appends the line of a rating over the games (`history` oldest first, at
// most the last `count`), between its lowest and highest value.
void appendRatingChart(std::string& out, const std::vector<float>& history, std::size_t count,
                       const std::string& label);

}  // namespace site
