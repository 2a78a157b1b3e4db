// The page of one player: season totals, weapons (table and chart), items,
// capture-the-flag figures, awards held, model and last quote, and the
// history from the game records.
#pragma once

#include <string>

#include "player_history.h"
#include "site_model.h"

namespace site {

// The page of player `player` (an index into the season's players), to be
// stored at m.page[player] within the season folder. `pages` is the relative
// path from the season folder to the game pages and site files ("../").
// `history` adds the player's games, form, maps and rivals.
std::string playerPage(const SiteModel& m, std::size_t player, const std::string& pages,
                       const PlayerHistory& history = PlayerHistory{nullptr, nullptr, false});

}  // namespace site
