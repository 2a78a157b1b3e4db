// The record of one counted game: the season's history beside its totals.
//
// Three tables hold it. `games` has a row per counted game (when and where
// it was played, how it ended, the score); `game_players` a row per player
// the game added to playerstats, with exactly the figures it added; and
// `game_kills` who killed whom how often. A fourth, `head_to_head`, sums
// game_kills over the season as the games come. The record's statements go into
// the game's own transaction, the one that records its fingerprint and adds
// to the totals: a game is in the totals and the history, or in neither.
//
// Texts from the log are cut to their columns and escaped; the played time
// is taken only in its exact "YYYY-MM-DD HH:MM:SS" form, anything else is
// unknown (NULL), never the time of processing.
#pragma once

#include <string>
#include <string_view>

#include "season_config.h"

struct Game;
struct Q3Player;

namespace season {

// The statements that create the record tables when they are missing. A
// database of an earlier version gets them on its next run; its earlier
// games simply have no record.
std::string recordTablesScript();

// Where the game came from: its fingerprint (as in countedgames) and the
// log it was read from (only the file name is kept).
struct GameOrigin {
  std::string fingerprint;
  std::string_view log;
};

// The statements that record `game` (after gameStatements(), which makes
// the names safe and whose player rows these mirror).
std::string gameRecordStatements(const Game& game, const SeasonConfig& config, const GameOrigin& origin);

// True for a player the game adds to the totals (a playerstats row).
bool addsToTotals(const Q3Player& player);

}  // namespace season
