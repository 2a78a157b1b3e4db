// kestrostats-c: one game log in, one report per finished game out.
//
// The run: read the report configuration, read the log line by line through
// the pipeline below, close a game at each boundary (writing it when it
// qualifies), then clean up and print a summary. The routines here are the
// console driver's own; the season driver has its variants beside its code.
#pragma once

#include <string_view>

#include "text.h"

// The whole program; returns the exit status.
int kestrostatsC(int argc, char** argv);

// Runs one line through the pipeline. The line buffer is cleaned in place.
void processLine(FixedText& line);

// Reads the log (fp) to its end through processLine.
void readLog();

// Resets the per-game state; g_mod, g_log_type and g_game_count survive.
void initGlobals();

// On the first " InitGame: " line, hands the log to ks-preparse and goes on
// reading its output "kestro-c.log".
void checkIfServerLog(std::string_view line);

// Closes the current game at a game boundary, writing its report when it
// qualifies.
void checkForNewGameStart(std::string_view line);

// Deletes the temporary files of the run.
void cleanUpTempFiles();
