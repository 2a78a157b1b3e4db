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
#include <unordered_map>
#include <vector>

#include "season_config.h"

struct Game;
struct Q3Player;

namespace season {

// The statements that create the record tables when they are missing. A
// database of an earlier version gets them on its next run; its earlier
// games simply have no record.
std::string recordTablesScript();

// A player whose name was merged into another's: the slot now carries the
// other name, and `name` is the one the log showed (as stored: cut to the
// column, after sqlVerifyData).
struct PlayedAs {
  int slot = 0;
  std::string name;
};

// Where the game came from: its fingerprint (as in countedgames), the log it
// was read from (only the file name is kept) and the merged names in it.
struct GameOrigin {
  std::string fingerprint;
  std::string_view log;
  const std::vector<PlayedAs>& played_as;
};

// Gives every player whose stored name is a merged alias the name of the
// player it was merged into; returns what was changed.
std::vector<PlayedAs> applyAliases(Game& game, const std::unordered_map<std::string, std::string>& aliases);

// The statements that record `game` (after gameStatements(), which makes
// the names safe and whose player rows these mirror).
std::string gameRecordStatements(const Game& game, const SeasonConfig& config, const GameOrigin& origin);

// The whole-number figures of a game_players row, in the order of
// playerstats::kColumns, whose columns they are but for skill and combat (the
// two sums that are not whole numbers) and games: all of them sums, but
// kill_streak and death_streak, which are maxima.
std::vector<std::string> recordFigureColumns();

// True for a player the game adds to the totals (a playerstats row): one
// who did something and whom the counting rules do not leave out.
bool addsToTotals(const Q3Player& player);

}  // namespace season
