#include "kestrostats_s.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "clan_stats.h"
#include "game_pages.h"
#include "game_state.h"
#include "players.h"
#include "crash_point.h"
#include "realtime_log.h"
#include "run_lock.h"
#include "run_summary.h"
#include "season_config.h"
#include "season_parsing.h"
#include "season_run.h"
#include "shell_command.h"
#include "text.h"

namespace season {

namespace {

constexpr const char* kTitle = "           kestro stats season - the project's contributors (c) 2001";

void printUsage() {
  std::printf("usage: kestrostats(xx)-s logfile(s).log <config-file.cfg>\n");
  std::printf("Specify a logfile to analyze\n");
}

// Splits the command line into logs and the configuration file. Returns -1
// to go on, or the exit status to end the program with.
int readCommandLine(int argc, char** argv, std::vector<std::string>& logs) {
  if (argc == 2 && std::string_view(argv[1]) == "-v") {
    std::printf("\nKestro Stats (c) ");
    std::printf("version 4.32");
    std::printf("\n  season statistics for Quake III Arena OSP servers, by the project's contributors\n");
    return 0;
  }
  if (argc < 2) {
    printUsage();
    return 1;
  }
  int last = argc - 1;
  if (contains(toLowerCase(argv[last]), ".cfg")) {
    if (last == 1) {
      printUsage();
      return 1;
    }
    g_config.assign(argv[last]);
  } else {
    g_config.assign("s-default.cfg");
    last = argc;
  }
  for (int i = 1; i < last; ++i) logs.emplace_back(argv[i]);
  return -1;
}

void printLogHeader(const std::string& name, int number, int count) {
  std::printf("\n%s\n", kRule);
  std::printf(" Generating stats for %s (%d/%d)\n", name.c_str(), number, count);
  std::printf("%s\n\n", kRule);
}

// Reads the input (fp) into the database, then refreshes the clan
// statistics and the game pages.
void readIntoSeason(SeasonRun& run) {
  initPlayers();
  initGlobals();
  readLog(run);
  std::printf("\n%s\n", kRule);
  const int new_games = run.database.queuedGames();
  if (!run.database.apply(run.status)) {
    run.log_failed = true;
  } else {
    generateClanStats(run.status);
    generateGameStats(run.status, new_games > 0);
  }
  fpclose(fp);
}

// The database must be reachable before any line of a log is read: a
// realtime log is emptied as it is read.
bool prepareDatabase(SeasonRun& run, const std::string& name) {
  if (run.database.prepare(name, run.status)) return true;
  run.log_failed = true;
  return false;
}

// Realtime mode: converts and counts a snapshot. It stays pending unless
// every step succeeded.
void readSnapshot(SeasonRun& run) {
  run.snapshot_taken = true;
  convertServerLog(run.realtime.snapshot, true, run);
  readIntoSeason(run);
  crashPoint("pages-written");
  if (!run.log_failed) finishSnapshot(run.realtime);
}

// Realtime mode: a snapshot an earlier run did not finish is counted before
// anything new is read from the live log. False when the live log must wait.
bool finishPendingSnapshot(SeasonRun& run, const std::string& name, int number, int count) {
  switch (resumePendingSnapshot(run.realtime, run.status)) {
    case PendingSnapshot::kNone:
      return true;
    case PendingSnapshot::kFailed:
      return false;
    case PendingSnapshot::kFinishFirst:
      break;
  }
  if (!prepareDatabase(run, name)) return false;
  printLogHeader(name, number, count);
  readSnapshot(run);
  return !run.log_failed;
}

// Realtime mode: a live log that completes a game is snapshotted, emptied,
// and its snapshot counted.
void processLiveLog(SeasonRun& run, const std::string& name, int number, int count) {
  run.realtime = realtimeFiles(name);
  if (!finishPendingSnapshot(run, name, number, count)) return;
  run.log_failed = false;
  run.snapshot_taken = false;
  g_log_type = 0;
  if (!verifyLogfile(run.realtime)) return;  // an idle live log waits; the run goes on
  if (!prepareDatabase(run, name)) return;
  printLogHeader(name, number, count);
  std::printf("\nServer log detected --------------------------------\n");
  if (!takeSnapshot(run.realtime, run.status)) {
    run.log_failed = true;
    return;
  }
  readSnapshot(run);
}

void processLog(SeasonRun& run, const std::string& name, int number, int count) {
  g_log_type = 0;
  g_logfile.assign(name);
  run.log_failed = false;
  run.snapshot_taken = false;
  if (isYes(g_config_realtime_log)) {
    processLiveLog(run, name, number, count);
    return;
  }
  std::FILE* log = openInputFile(g_logfile.c_str());
  if (log == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", g_logfile.c_str());
    run.status.fail(Failure::kLog, "could not open logfile \"" + name + "\"");
    return;
  }
  if (!prepareDatabase(run, name)) {
    std::fclose(log);
    return;
  }
  printLogHeader(name, number, count);
  fp = log;
  readIntoSeason(run);
}

}  // namespace

void cleanUpTempFiles() {
  // For a look at what a run did (its SQL scripts, the lists it read).
  if (std::getenv("KS_KEEP_TEMP_FILES") != nullptr) return;
  for (const char* name : {"tmp", "temp", "tmp-c", "temp-c", "tmp-s", "temp-s", "db_sql.txt", "db_sql_gamestats.txt",
                           "db_sql_updatetags.txt", "db_sql_clanstats.txt", "players-r.txt", "players.txt",
                           "db_delhtml.txt", "db_cleanhtml.txt", "db_tags.txt", "kestro-s.log"}) {
    std::remove(name);
  }
  removeSessionFiles();
}

int kestrostatsS(int argc, char** argv) {
  RunClock clock = RunClock::start();

  std::vector<std::string> logs;
  if (int status = readCommandLine(argc, argv, logs); status >= 0) return status;
  printBanner(kTitle);
  readConfig();
  passPasswordThroughEnvironment();
  RunLock lock;
  if (!lock.acquire(g_lock_wait_seconds)) {
    SeasonRun refused;
    refused.status.fail(Failure::kLocked, "another run is still working in this directory (kestrostats-s.lock); "
                                          "nothing was read, try again later");
    return refused.status.exitStatus();
  }
  waitForProcessorSecond();

  SeasonRun run;
  int count = static_cast<int>(logs.size());
  for (int i = 0; i < count; ++i) processLog(run, logs[i], i + 1, count);

  if (g_game_count == kFirstGameCount) std::printf("No valid games were detected in the log file.\n");
  cleanUpTempFiles();
  printRunSummary(clock, kTitle, count);
  return run.status.exitStatus();
}

}  // namespace season
