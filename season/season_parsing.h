// The season driver's own versions of five parsing routines; every other
// routine of the log reader is shared with kestrostats-c unchanged.
#pragma once

#include <string_view>

#include "text.h"

namespace season {

// Resets the game-end trigger and the game type, nothing else.
void initGlobals();

// Marks players whose name is empty or only blanks with "\_"; raw names stay.
void fixPlayerNames();

// Closes the game at a client shutdown or a limit, writing its totals to the
// database when it had more than one player.
void checkForNewGameStart(std::string_view line);

// Models and renames; the OSP banner line is consumed. Returns 1 when the
// line is fully handled.
int updateMiscInfo(std::string_view line, std::string_view stripped_line);

// On a server log's first "InitGame: " line: snapshots a realtime log, runs
// ks-preparse and switches the input to "kestro-s.log". Returns 1 when it
// did, so the triggering line is not parsed.
int checkIfServerLog(std::string_view line);

// Reads the log (fp) through the season's line loop.
void readLog();

}  // namespace season
