#include "kestrostats_s.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "clan_stats.h"
#include "crash_point.h"
#include "game_pages.h"
#include "game.h"
#include "players.h"
#include "realtime_log.h"
#include "run_lock.h"
#include "run_output.h"
#include "run_summary.h"
#include "season_config.h"
#include "line_pipeline.h"
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

enum class CommandLine {
  kRun,           // logs to read
  kVersionShown,  // -v: the version was printed, nothing more to do
  kWrong,         // the usage was printed
};

// Splits the command line into logs and the configuration file.
CommandLine readCommandLine(int argc, char** argv, SeasonConfig& config, std::vector<std::string>& logs) {
  if (argc == 2 && std::string_view(argv[1]) == "-v") {
    std::printf("\nKestro Stats (c) ");
    std::printf("version 4.32");
    std::printf("\n  season statistics for Quake III Arena OSP servers, by the project's contributors\n");
    return CommandLine::kVersionShown;
  }
  if (argc < 2) {
    printUsage();
    return CommandLine::kWrong;
  }
  int last = argc - 1;
  if (contains(toLowerCase(argv[last]), ".cfg")) {
    if (last == 1) {
      printUsage();
      return CommandLine::kWrong;
    }
    config.path.assign(argv[last]);
  } else {
    config.path.assign("s-default.cfg");
    last = argc;
  }
  for (int i = 1; i < last; ++i) logs.emplace_back(argv[i]);
  return CommandLine::kRun;
}

void printLogHeader(const std::string& name, int number, int count) {
  std::printf("\n%s\n", kRule);
  std::printf(" Generating stats for %s (%d/%d)\n", name.c_str(), number, count);
  std::printf("%s\n\n", kRule);
}

// Reads the input (s.run.log) into the database, then refreshes the clan
// statistics and the game pages.
void readIntoSeason(SeasonRun& s) {
  initPlayers(*s.game);
  initGame(*s.game);
  readLog(s);
  std::printf("\n%s\n", kRule);
  // The pages are made on the other core while the database applies the
  // games; they are rotated in only once the games are committed.
  GamePages pages = startGamePages(s);
  if (!s.database.apply(s.status)) {
    s.log_failed = true;
    dropGamePages(s, pages);
  } else {
    generateClanStats(s.config, s.status);
    generateGameStats(s, pages);
  }
  fpclose(s.run.log);
}

// The database must be reachable before any line of a log is read: a
// realtime log is emptied as it is read.
bool prepareDatabase(SeasonRun& s, const std::string& name) {
  if (s.database.prepare(name, s.status)) return true;
  s.log_failed = true;
  return false;
}

// Realtime mode: converts and counts a snapshot. It stays pending unless
// every step succeeded.
void readSnapshot(SeasonRun& s) {
  s.snapshot_taken = true;
  convertServerLog(s, s.realtime.snapshot, true);
  readIntoSeason(s);
  crashPoint("pages-written");
  if (!s.log_failed) finishSnapshot(s.realtime);
}

// Realtime mode: a snapshot an earlier run committed but did not finish is
// counted before anything new is read from the live log. False when the live
// log must wait.
bool finishPendingSnapshot(SeasonRun& s, const std::string& name, int number, int count) {
  switch (resumePendingSnapshot(s.realtime, s.status)) {
    case PendingSnapshot::kNone:
      return true;
    case PendingSnapshot::kFailed:
      return false;
    case PendingSnapshot::kFinishFirst:
      break;
  }
  if (!prepareDatabase(s, name)) return false;
  printLogHeader(name, number, count);
  readSnapshot(s);
  return !s.log_failed;
}

// Realtime mode: the new lines of a live log that complete a game are taken
// as a snapshot, archived and counted; the live log itself is never changed.
void processLiveLog(SeasonRun& s, const std::string& name, int number, int count) {
  if (!claimRealtimeFiles(s.config, name, s.realtime, s.status)) return;
  if (!finishPendingSnapshot(s, name, number, count)) return;
  s.log_failed = false;
  s.snapshot_taken = false;
  s.run.log_type = LogForm::kConsole;
  UnreadPart unread;
  if (!findUnreadLines(s.realtime, unread, s.status)) return;
  // The database first, also for a live log without a new game: the first
  // run of a season creates it, so the season site has tables to read, and a
  // database that is down is reported as such.
  if (!prepareDatabase(s, name)) return;
  if (!verifyLogfile(s.realtime, unread)) return;  // an idle live log waits; the run goes on
  printLogHeader(name, number, count);
  std::printf("\nServer log detected --------------------------------\n");
  if (!takeSnapshot(s.realtime, unread, s.status)) {
    s.log_failed = true;
    return;
  }
  readSnapshot(s);
}

void processLog(SeasonRun& s, const std::string& name, int number, int count) {
  s.run.log_type = LogForm::kConsole;
  s.run.logfile.assign(name);
  s.log_failed = false;
  s.snapshot_taken = false;
  if (s.config.realtime_log) {
    processLiveLog(s, name, number, count);
    return;
  }
  std::FILE* log = openInputFile(s.run.logfile.c_str());
  if (log == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", s.run.logfile.c_str());
    s.status.fail(Failure::kLog, "could not open logfile \"" + name + "\"");
    return;
  }
  if (!prepareDatabase(s, name)) {
    std::fclose(log);
    return;
  }
  printLogHeader(name, number, count);
  s.run.log = log;
  readIntoSeason(s);
}

// The season site from the database, by its own program; only after a run
// in which everything else succeeded.
void makeSeasonSite(SeasonRun& s) {
  std::printf("\n%s\n", kRule);
  std::printf(" Generating the season site (html/season/)\n");
  std::printf("%s\n", kRule);
  std::string command = "./kestrostats-site \"" + escapeForDoubleQuotes(s.config.path) + "\" >temp-s";
  if (int status = runCommand(s.config, command); status != 0) {
    s.status.fail(Failure::kProgram, "./kestrostats-site could not write the season site (exit status " +
                                         std::to_string(status) + (status == 127 ? ": not found)" : ")"));
  }
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
  removePageFiles();
}

namespace {

// "-q" before the logs asks for a quiet run; it is taken off the arguments.
bool takeQuietOption(int& argc, char** argv) {
  if (argc < 2 || std::string_view(argv[1]) != "-q") return false;
  for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
  --argc;
  return true;
}

// Whether the configuration asks for a quiet run, read before anything is
// printed (a configuration that cannot be read is reported later).
bool configAsksQuiet(const SeasonConfig& config) {
  SeasonConfig peek;
  peek.path = config.path;
  return loadConfig(peek) == ConfigRead::kRead && peek.quiet;
}

// A file that holds the database password should be its owner's only.
void warnIfPasswordReadable(const SeasonConfig& config) {
  struct stat info;
  if (config.db_pass.empty() || stat(config.path.c_str(), &info) != 0 || (info.st_mode & 0077) == 0) return;
  std::fflush(stdout);
  std::fprintf(stderr, "WARNING: %s holds the database password and other users may read it; "
                       "make it the owner's only: chmod 600 %s\n", config.path.c_str(), config.path.c_str());
}

std::string plural(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

// The one line of a quiet run.
std::string summaryLine(int logs, int games, double seconds, Failure failure) {
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", seconds);
  std::string line = "kestrostats-s: " + plural(logs, "log") + ", " + plural(games, "new game") + ", " + time;
  if (failure != Failure::kNone) line += ", exit status " + std::to_string(exitStatusOf(failure));
  return line;
}

// The run once the configuration is read: the lock, every log, the site.
// Returns the first failure (each was named as it happened); `games` the
// number of new games.
Failure seasonRun(const SeasonConfig& config, const std::vector<std::string>& logs, const RunClock& clock,
                  const QuietOutput& quiet, int& games) {
  RunLock lock;
  switch (lock.acquire(config.lock_wait_seconds)) {
    case LockResult::kTaken:
      break;
    case LockResult::kBusy:
      printError("another run is still working in this directory (kestrostats-s.lock); "
                 "nothing was read, try again later");
      return Failure::kLocked;
    case LockResult::kUnusable:
      printError(lock.problem() + "; nothing was read");
      return Failure::kWrite;
  }
  SeasonRun s(config);
  if (std::string problem; !loadCountingRules(config, s.rules, problem)) {
    printError(problem + "; nothing was read");
    return Failure::kUsage;
  }
  waitForProcessorSecond();

  ProgressLine progress(quiet.realOutput());
  if (quiet.onTerminal()) s.progress = &progress;
  int count = static_cast<int>(logs.size());
  for (int i = 0; i < count; ++i) processLog(s, logs[i], i + 1, count);
  if (config.make_season_site && !s.status.failed()) makeSeasonSite(s);
  progress.finish();

  if (s.run.game_count == kFirstGameCount) std::printf("No valid games were detected in the log file.\n");
  cleanUpTempFiles();
  games = s.run.game_count - kFirstGameCount;
  printRunSummary(clock, kTitle, count, games);
  return s.status.first();
}

}  // namespace

int kestrostatsS(int argc, char** argv) {
  RunClock clock = RunClock::start();
  const auto started = std::chrono::steady_clock::now();
  QuietOutput quiet;
  const bool quiet_asked = takeQuietOption(argc, argv);

  SeasonConfig config;
  std::vector<std::string> logs;
  switch (readCommandLine(argc, argv, config, logs)) {
    case CommandLine::kRun:
      break;
    case CommandLine::kVersionShown:
      return exitStatusOf(Failure::kNone);
    case CommandLine::kWrong:
      return exitStatusOf(Failure::kUsage);
  }
  if ((quiet_asked || configAsksQuiet(config)) && !quiet.silence()) {
    printError("could not make the run quiet");
    return exitStatusOf(Failure::kWrite);
  }
  printBanner(kTitle);
  if (const Error refused = readConfig(config); refused.failed()) {
    printError(refused.message);
    return exitStatusOf(refused.failure);
  }
  warnIfPasswordReadable(config);
  if (!passPasswordThroughEnvironment(config)) {
    printError(std::string("could not write the client's option file ") + kPasswordOptionFile + "; nothing was read");
    return exitStatusOf(Failure::kWrite);
  }
  int games = 0;
  Failure failure = seasonRun(config, logs, clock, quiet, games);
  removePasswordOptionFile();
  if (quiet.active()) {
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!quiet.writeLine(summaryLine(static_cast<int>(logs.size()), games, seconds, failure)) &&
        failure == Failure::kNone) {
      failure = Failure::kWrite;
    }
  }
  return exitStatusOf(failure);
}

}  // namespace season
