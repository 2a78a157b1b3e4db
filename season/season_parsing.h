// The season's reading of a log: the line pipeline (line_pipeline.h) with
// the season's hooks, which fingerprint each game's lines, count items,
// close a game at any of the season's boundaries and queue it for the
// database unless it is counted already.
#pragma once

#include <string>

#include "game.h"
#include "season_run.h"

namespace season {

// Marks players whose name is empty or only blanks with "\_"; raw names stay.
void markBlankNames(Game& game);

// Runs ks-preparse on a server log (in carry-over mode for a realtime
// snapshot) and makes its output "kestro-s.log" the input (s.run.log). A
// failed conversion is recorded in the run.
void convertServerLog(SeasonRun& s, const std::string& source, bool carry_over);

// Reads the input (s.run.log) to its end; the spans of its games start at
// the input's current position.
void readLog(SeasonRun& s);

}  // namespace season
