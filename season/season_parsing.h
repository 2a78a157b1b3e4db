// The season driver's line loop and its own versions of five parsing
// routines; every other step of the log reader is shared with kestrostats-c.
#pragma once

#include <string>
#include <string_view>

#include "game.h"
#include "season_run.h"
#include "text.h"

struct LineEvent;

namespace season {

// Resets the game-end trigger and the game type, nothing else.
void initGame(Game& game);

// Marks players whose name is empty or only blanks with "\_"; raw names stay.
void fixPlayerNames(Game& game);

// Closes the game at a client shutdown or a limit. A game with more than one
// player is queued for the database, unless its fingerprint shows it is
// counted already; either way its span in the input is noted
// (s.input_games), with whether it is to get pages.
void checkForNewGameStart(SeasonRun& s, const LineEvent& event);

// Models and renames; the OSP banner line is consumed. Returns 1 when the
// line is fully handled.
int updateMiscInfo(Game& game, const LineEvent& event);

// Runs ks-preparse on a server log (in carry-over mode for a realtime
// snapshot) and makes its output "kestro-s.log" the input (s.run.log). A
// failed conversion is recorded in the run.
void convertServerLog(SeasonRun& s, const std::string& source, bool carry_over);

// On a server log's "InitGame: " line, converts the log and switches the
// input to the converted form. Returns 1 when the line started that, so the
// line itself is not parsed. (A realtime log is converted before it is read.)
int checkIfServerLog(SeasonRun& s, std::string_view line);

// Runs one line through the season's pipeline. The line buffer is cleaned
// in place.
void processLine(SeasonRun& s, FixedText& line);

// Reads the input (s.run.log) through the season's line loop; the spans of
// its games start at the input's current position.
void readLog(SeasonRun& s);

}  // namespace season
