// season.json: the season for bots and other sites. Every player's row with
// named fields, the clans, the awards and the game pages.
#pragma once

#include <string>

#include "json_writer.h"
#include "season_ratings.h"
#include "site_model.h"

namespace site {

// A player's kills and deaths by weapon, items and CTF figures, as objects
// of the player's JSON object (season.json and games.json alike).
void writePlayerTables(JsonWriter& j, const PlayerRow& p);

// The player's "accuracy" object: hits and attempts, in total and per
// weapon, with the percentage when `with_percent`.
void writeAccuracyTable(JsonWriter& j, const PlayerRow& p, bool with_percent);

// The document; `generated` is the time of the run, as text. With
// `ratings` (the season has game records) every player has "ratings".
std::string seasonJson(const SiteModel& m, const std::string& generated, const SeasonRatings* ratings = nullptr);

}  // namespace site
