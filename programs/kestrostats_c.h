// kestrostats-c: one game log in, one report per finished game out.
//
// The run: read the report configuration, read the log line by line, close a
// game at each boundary (writing its report when it qualifies), then clean
// up and print a summary. Each line is cleaned, tested against the keyword
// tables, read once into a LineEvent, and the event handed to the steps in
// their fixed order: bookkeeping, new players, teams, flags, kills,
// accuracy, game end.
#pragma once

#include <cstdio>
#include <memory>
#include <string_view>

#include "game.h"
#include "game_report.h"
#include "reportconfig.h"
#include "text.h"

struct LineEvent;

// Everything one run of kestrostats-c knows, passed to every step.
struct ConsoleRun {
  Run run;
  ReportConfig config;
  SiteFiles site;                       // the pages' header and footer, read once
  std::FILE* rotation = nullptr;        // "db_sql_gamestats.txt", appended to
  std::unique_ptr<Game> game = std::make_unique<Game>();
  bool failed = false;                  // a step failed: the run ends with status 1
  // False when the reports are to be built but not stored (the fuzz target
  // builds them in memory only).
  bool write_pages = true;
};

// The whole program; returns the exit status.
int kestrostatsC(int argc, char** argv);

// Runs one line through the pipeline. The line buffer is cleaned in place.
void processLine(ConsoleRun& c, FixedText& line);

// Reads the log (c.run.log) to its end through processLine.
void readLog(ConsoleRun& c);

// Resets the game's state at a game boundary; the run's state survives.
void initGame(Game& game);

// On the first server "InitGame: " line, hands the log to ks-preparse and
// goes on reading its output "kestro-c.log".
void checkIfServerLog(ConsoleRun& c, std::string_view line);

// Closes the current game at a game boundary, writing its report when it
// qualifies.
void checkForNewGameStart(ConsoleRun& c, const LineEvent& event);

// Deletes the temporary files of the run.
void cleanUpTempFiles();
