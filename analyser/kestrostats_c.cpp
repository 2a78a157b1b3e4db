#include "kestrostats_c.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <sys/wait.h>

#include "awards.h"
#include "events.h"
#include "game_state.h"
#include "keywords.h"
#include "kills.h"
#include "line_filter.h"
#include "page_writer.h"
#include "pipeline_steps.h"
#include "players.h"
#include "reportconfig.h"
#include "run_summary.h"
#include "scoring.h"
#include "teams.h"
#include "weaponstats.h"

namespace {

// Set by any step that failed; the run then ends with status 1.
bool g_run_failed = false;

constexpr const char* kConvertedLog = "kestro-c.log";
constexpr const char* kTitle = "              kestro stats - the project's contributors (c) 2001";

// --- Game boundaries -------------------------------------------------------

bool isMatchEndLine(std::string_view entry) {
  return entry == "Timelimit hit." || entry == "hit the capturelimit." || entry == "hit the fraglimit." ||
         entry == "wins the match: " || entry == "Pointlimit hit.";
}

// Sets g_reset_count when the line is a match end (after reading the OSP
// statistics block that follows it), a disconnect, a client shutdown, or an
// OSP "MATCH COMPLETE".
void detectGameEnd(std::string_view line) {
  const std::uint64_t found = containedMask(reset_strings, line);
  if (found == 0) return;
  for (int i = 0; i < static_cast<int>(std::size(reset_strings)); ++i) {
    if (!hasEntry(found, i)) continue;
    std::string_view entry = reset_strings[i];
    if (isMatchEndLine(entry)) {
      scanOspStats();
      g_reset_count = kGameEnds;
      return;
    }
    if (entry == "ERROR: Disconnected from server" || entry == "----- CL_Shutdown -----" ||
        (entry == "MATCH COMPLETE" && g_mod == 1)) {
      g_reset_count = kGameEnds;
      return;
    }
  }
}

bool gameQualifies() {
  if (g_gametype == kFreeForAll) return getTotalPlayers() > 1;
  return getTeamTotalPlayers(kRed) >= 1 && getTeamTotalPlayers(kBlue) >= 1;
}

// The end-of-game chain, then the report.
void writeGame() {
  if (g_connect_sequence == kGameEnds) {
    std::printf("\nServer connect/reconnect detected:\n");
    std::printf("Forcing html stats generation.\n");
  }
  assignTeamToUnknownPlayers();
  mergeAllIdenticalPlayers();
  addUpTables();
  assignAwards();
  restoreOriginalPlayerNames();
  fixPlayerNames();
  sort();
  if (g_game_count == 99999999) g_game_count = kFirstGameCount;
  g_game_count += 1;
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", g_game_count);
  printPlayers();
  makeHtml();
  std::printf("-------------------------------------<done>---------\n");
  std::printf("\n");
}

// --- Start and end of the run ----------------------------------------------

void printVersion() {
  std::printf("\nKestro Stats (c) ");
  std::printf("version 4.32");
  std::printf("\n  statistics for Quake III Arena OSP servers, by the project's contributors\n");
}

// Reads the command line into g_logfile, g_config and g_realtime_stats.
// Returns -1 to go on, or the exit status to end the program with.
int readCommandLine(int argc, char** argv) {
  int args = argc - 1;
  if (args == 1 && std::string_view(argv[1]) == "-v") {
    printVersion();
    return 0;
  }
  if (args < 1 || args > 3) {
    std::printf("usage: kestrostats(xx)-c logfile.log <config-file.cfg>\n");
    return 1;
  }
  g_realtime_stats = (args == 3 && std::string_view(argv[3]) == "realtime") ? 1 : 0;
  g_config.assign("c-default.cfg");
  if (args == 2) {
    if (!contains(toLowerCase(argv[2]), ".cfg")) {
      std::printf("ERROR: config file must have a .cfg extension\n");
      return 1;
    }
    g_config.assign(argv[2]);
  }
  g_logfile.assign(argv[1]);
  return -1;
}

void setTimeNow(std::time_t now) {
  char text[kTextBufferSize];
  std::strftime(text, sizeof text, "%Y-%m-%d,%H-%M-%S", std::localtime(&now));
  g_time_now.assign(text);
}

}  // namespace

void initGlobals() {
  g_mapname.clear();
  g_reset_count = 0;
  g_gametype = kFreeForAll;
  g_make_html = 1;
  g_int_swap = 0;
  g_connect_sequence = 0;
  g_ca_win_red = 0;
  g_ca_win_blue = 0;
}

void checkIfServerLog(std::string_view line) {
  if (g_log_type != 0 || !isServerInitGameLine(line)) return;
  g_log_type = 1;
  std::printf("\nServer log detected ----------< pre-parsing >-----\n");
  std::printf(" - this may take a while...\n");
  fpclose(fp);
  // The log path goes inside double quotes; escaping keeps any file name one
  // word, so it can never run a command of its own.
  std::string command = "./ks-preparse \"" + escapeForDoubleQuotes(g_logfile) + "\" \"" + kConvertedLog + "\" > tmp-c";
  std::fflush(stdout);
  int status = std::system(command.c_str());
  if (status != 0) {
    std::fprintf(stderr, "ERROR: ./ks-preparse could not convert \"%s\" (status %d)\n", g_logfile.c_str(),
                 WIFEXITED(status) ? WEXITSTATUS(status) : status);
    g_run_failed = true;
  }
  // When the conversion left no file, fp stays null and the log ends here.
  fp = std::fopen(kConvertedLog, "rb");
  std::printf("-----------------------------------<done>---------\n");
}

void checkForNewGameStart(std::string_view line) {
  detectGameEnd(line);
  if (g_connect_sequence == kGameEnds) g_reset_count = kGameEnds;
  if (!contains(line, ":") && contains(line, "Match has begun")) {
    g_make_html = 0;
    g_reset_count = kGameEnds;
    std::printf("\nWarm-up detected: Skipping html generation for warm-up.\n\n");
  }
  if (g_reset_count != kGameEnds) return;
  if (g_make_html == 1 && gameQualifies()) writeGame();
  fpclose(fpw);
  initPlayers();
  initGlobals();
}

void processLine(FixedText& line) {
  checkIfServerLog(line);
  freeMallocs();
  cleanLine(line);
  if (handleChatLine(line)) return;
  if (!validLine(line, valid_strings)) {
    handleRejectedLine(line);
    return;
  }
  FixedText stripped;
  stripColorCodes(line, stripped);
  freeMallocs();
  if (updateMiscInfo(line, stripped) == 1) return;
  addPlayersOfLine(line, stripped, addPlayer_strings);
  freeMallocs();
  assignTeam(line);
  freeMallocs();
  updateCTFStats(line);
  freeMallocs();
  updateTables(line);
  freeMallocs();
  scanWeaponStats(line);
  freeMallocs();
  checkForNewGameStart(line);
}

void readLog() {
  FixedText line;
  while (readLine(fp, line)) processLine(line);
  if (fp != nullptr && std::ferror(fp) != 0) {
    std::fprintf(stderr, "ERROR: could not read logfile \"%s\" to its end\n", g_logfile.c_str());
    g_run_failed = true;
  }
}

void cleanUpTempFiles() {
  std::remove("tmp-c");
  std::remove("temp-c");
  std::remove(kConvertedLog);
}

int kestrostatsC(int argc, char** argv) {
  RunClock clock = RunClock::start();
  g_run_failed = false;
  g_failed_games = 0;
  setTimeNow(outputTime(clock.wall_start));

  if (int status = readCommandLine(argc, argv); status >= 0) return status;
  printBanner(kTitle);
  readConfig();
  waitForProcessorSecond();

  fp_sql_gamestats = std::fopen("db_sql_gamestats.txt", "a");
  fp = openInputFile(g_logfile.c_str());
  if (fp == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", g_logfile.c_str());
    std::fprintf(stderr, "ERROR: could not open logfile \"%s\"\n", g_logfile.c_str());
    return 1;
  }
  std::printf("\n%s\n", kRule);
  std::printf("                   Generating Stats, Please wait...\n");
  std::printf("%s\n\n", kRule);
  initPlayers();
  initGlobals();

  readLog();

  if (g_game_count == kFirstGameCount) std::printf("No games were detected in the log file.\n");
  cleanUpTempFiles();
  printRunSummary(clock, kTitle, -1);
  fpclose(fp);
  if (fp_sql_gamestats != nullptr && std::fclose(fp_sql_gamestats) != 0) {
    std::fprintf(stderr, "ERROR: could not write db_sql_gamestats.txt\n");
    g_run_failed = true;
  }
  fp_sql_gamestats = nullptr;
  if (g_failed_games > 0) g_run_failed = true;
  return g_run_failed ? 1 : 0;
}
