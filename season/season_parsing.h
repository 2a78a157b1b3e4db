// The season driver's own versions of five parsing routines; every other
// routine of the log reader is shared with kestrostats-c unchanged.
#pragma once

#include <string_view>

#include "season_run.h"
#include "text.h"

namespace season {

// Resets the game-end trigger and the game type, nothing else.
void initGlobals();

// Marks players whose name is empty or only blanks with "\_"; raw names stay.
void fixPlayerNames();

// Closes the game at a client shutdown or a limit. A game with more than one
// player is queued for the database, unless its fingerprint shows it is
// counted already.
void checkForNewGameStart(std::string_view line, SeasonRun& run);

// Models and renames; the OSP banner line is consumed. Returns 1 when the
// line is fully handled.
int updateMiscInfo(std::string_view line, std::string_view stripped_line);

// Runs ks-preparse on a server log (in carry-over mode for a realtime
// snapshot) and makes its output "kestro-s.log" the input (fp). A failed
// conversion is recorded in the run.
void convertServerLog(const std::string& source, bool carry_over, SeasonRun& run);

// On a server log's "InitGame: " line, converts the log and switches the
// input to the converted form. Returns 1 when the line started that, so the
// line itself is not parsed. (A realtime log is converted before it is read.)
int checkIfServerLog(std::string_view line, SeasonRun& run);

// Reads the log (fp) through the season's line loop.
void readLog(SeasonRun& run);

}  // namespace season
