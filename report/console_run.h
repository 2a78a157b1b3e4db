// kestrostats-c's reading of a log: the line pipeline with the console's
// own hooks, which close a game at a match end, a disconnect, a client
// shutdown, the reconnect sequence or a warm-up's "Match has begun", and
// write the report of each game that qualifies.
#pragma once

#include <cstdio>
#include <memory>

#include "game.h"
#include "game_report.h"
#include "reportconfig.h"
#include "run_status.h"

// Everything one run of kestrostats-c knows, passed to every step.
struct ConsoleRun {
  Run run;
  ReportConfig config;
  SiteFiles site;                       // the pages' header and footer, read once
  std::FILE* rotation = nullptr;        // "db_sql_gamestats.txt", appended to
  std::unique_ptr<Game> game = std::make_unique<Game>();
  RunStatus status;                     // the first failure (any ends the run with status 1)
  // A game's pages could not be created (no html/ folder, no rights): the
  // run reads no further and ends with status 1.
  bool stopped = false;
  // False when the reports are to be built but not stored (the fuzz target
  // builds them in memory only).
  bool write_pages = true;
  // The season's rotation of this many page slots takes the pages (0: not
  // known, every game's pages are written as the game ends). Then a game's
  // files wait until the log is read, and those of the games the rotation
  // is sure to displace within this run are never written; their rotation
  // statements are still appended, in the games' order. See HeldPages.
  int kept_pages = 0;
};

// Reads the log (c.run.log) to its end, or until c.stopped, writing the
// report of every game that qualifies (with c.kept_pages, at the end).
void readLog(ConsoleRun& c);

// Deletes the temporary files of the run.
void cleanUpTempFiles();
