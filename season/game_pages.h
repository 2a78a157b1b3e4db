// The per-game pages of the season: kestrostats-c writes them, the gamestats
// slots keep the newest no_of_game_stats of them, and the pages that fall out
// are deleted.
#pragma once

#include "game.h"
#include "run_status.h"
#include "season_config.h"

namespace season {

// After a log: when it brought new games (and slots are kept), has
// kestrostats-c write their pages and applies the rotation; then deletes the
// pages displaced by it and those of dropped slots ("db_cleanhtml.txt"), all
// in one command. Pages that do not exist (placeholders) are left alone.
void generateGameStats(const SeasonConfig& config, const Run& run, RunStatus& status, bool new_games);

}  // namespace season
