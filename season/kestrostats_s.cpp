#include "kestrostats_s.h"

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "clan_stats.h"
#include "game_pages.h"
#include "game_state.h"
#include "player_sql.h"
#include "players.h"
#include "realtime_log.h"
#include "run_summary.h"
#include "season_config.h"
#include "season_parsing.h"
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

void processLog(const std::string& name, int number, int count) {
  g_log_type = 0;
  if (isYes(g_config_realtime_log)) verifyLogfile(name);
  g_logfile.assign(name);
  fp = std::fopen(g_logfile.c_str(), "rb");
  if (fp == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", g_logfile.c_str());
    return;
  }
  std::printf("\n%s\n", kRule);
  std::printf(" Generating stats for %s (%d/%d)\n", g_logfile.c_str(), number, count);
  std::printf("%s\n\n", kRule);
  initPlayers();
  initGlobals();
  readLog();
  std::printf("\n%s\n", kRule);
  generateClanStats();
  generateGameStats();
  fpclose(fp);
  fpclose(fp_sql);
}

}  // namespace

void cleanUpTempFiles() {
  for (const char* name : {"tmp", "temp", "tmp-c", "temp-c", "tmp-s", "temp-s", "db_sql.txt", "db_sql_gamestats.txt",
                           "db_sql_updatetags.txt", "db_sql_clanstats.txt", "players-r.txt", "players.txt",
                           "db_delhtml.txt", "db_cleanhtml.txt", "db_tags.txt", "kestro-s.log"}) {
    std::remove(name);
  }
}

int kestrostatsS(int argc, char** argv) {
  RunClock clock = RunClock::start();

  std::vector<std::string> logs;
  if (int status = readCommandLine(argc, argv, logs); status >= 0) return status;
  printBanner(kTitle);
  readConfig();
  waitForProcessorSecond();

  int count = static_cast<int>(logs.size());
  for (int i = 0; i < count; ++i) processLog(logs[i], i + 1, count);

  if (g_game_count == kFirstGameCount) std::printf("No valid games were detected in the log file.\n");
  cleanUpTempFiles();
  printRunSummary(clock, kTitle, count);
  return 0;
}

}  // namespace season
