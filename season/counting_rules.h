// What a season leaves out of its totals and records: the bots a server log
// names (count_bots:), the raw names of the ignore_names file, and games the
// server did not end itself (count_aborted_games:). With every setting at its
// default nothing is left out.
#pragma once

#include <string>
#include <unordered_set>

#include "season_config.h"

struct Game;

namespace season {

struct CountingRules {
  bool count_bots = true;
  bool count_aborted_games = true;
  std::unordered_set<std::string> ignored_names;  // raw names, byte for byte
};

// The rules of `config`, with the ignore_names file read (a blank line and a
// line end are no part of a name; a "\r" before the line end is cut). A
// missing file names nobody. False with the reason in `error` when the file
// is there but cannot be read (a folder, no permission).
bool loadCountingRules(const SeasonConfig& config, CountingRules& rules, std::string& error);

// True when the game ended as the server ends a game: a server log stated
// its end ("Exit: Timelimit hit."), a console log showed a limit hit.
bool endedByServer(const Game& game, bool from_server_log);

// Marks the players the rules leave out (Q3Player::left_out): bots when they
// are not counted, ignored names. Returns how many were marked.
int markLeftOut(Game& game, const CountingRules& rules);

}  // namespace season
