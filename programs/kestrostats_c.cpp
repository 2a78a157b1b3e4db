#include "kestrostats_c.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <sys/wait.h>

#include "awards.h"
#include "events.h"
#include "keyword_index.h"
#include "keywords.h"
#include "kills.h"
#include "line_event.h"
#include "line_filter.h"
#include "pipeline_steps.h"
#include "players.h"
#include "run_summary.h"
#include "scoring.h"
#include "teams.h"
#include "weaponstats.h"

namespace {

constexpr const char* kConvertedLog = "kestro-c.log";
constexpr const char* kTitle = "              kestro stats - the project's contributors (c) 2001";

// --- Game boundaries -------------------------------------------------------

bool isMatchEndLine(std::string_view entry) {
  return entry == "Timelimit hit." || entry == "hit the capturelimit." || entry == "hit the fraglimit." ||
         entry == "wins the match: " || entry == "Pointlimit hit.";
}

// Closes the game (reset_count) when the line is a match end (after reading the OSP
// statistics block that follows it), a disconnect, a client shutdown, or an
// OSP "MATCH COMPLETE".
void detectGameEnd(ConsoleRun& c, const LineScan& line) {
  const std::uint64_t found = line.containedMask(reset_strings);
  if (found == 0) return;
  for (int i = 0; i < static_cast<int>(std::size(reset_strings)); ++i) {
    if (!hasEntry(found, i)) continue;
    std::string_view entry = reset_strings[i];
    if (isMatchEndLine(entry)) {
      scanOspStats(*c.game, c.run.log);
      c.game->reset_count = kGameEnds;
      return;
    }
    if (entry == "ERROR: Disconnected from server" || entry == "----- CL_Shutdown -----" ||
        (entry == "MATCH COMPLETE" && c.run.mod == 1)) {
      c.game->reset_count = kGameEnds;
      return;
    }
  }
}

bool gameQualifies(const Game& game) {
  if (game.gametype == kFreeForAll) return getTotalPlayers(game) > 1;
  return getTeamTotalPlayers(game, kRed) >= 1 && getTeamTotalPlayers(game, kBlue) >= 1;
}

// The end-of-game chain, then the report.
void writeGame(ConsoleRun& c) {
  Game& game = *c.game;
  if (game.connect_sequence == kGameEnds) {
    std::printf("\nServer connect/reconnect detected:\n");
    std::printf("Forcing html stats generation.\n");
  }
  assignTeamToUnknownPlayers(game);
  mergeAllIdenticalPlayers(game);
  addUpTables(game);
  assignAwards(game);
  restoreOriginalPlayerNames(game);
  fixPlayerNames(game);
  sort(game);
  if (c.run.game_count == 99999999) c.run.game_count = kFirstGameCount;
  c.run.game_count += 1;
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", c.run.game_count);
  printPlayers(game);
  Report report(game, c.run, c.config, c.site);
  makeHtml(report);
  switch (c.write_pages ? writePages(report, c.rotation) : PageResult::kWritten) {
    case PageResult::kWritten:
      break;
    case PageResult::kNotWritten:
      c.failed = true;
      break;
    case PageResult::kCannotOpen:
      std::exit(1);  // as the report always did: a page that cannot be created ends the run
  }
  std::printf("-------------------------------------<done>---------\n");
  std::printf("\n");
}

// --- Start and end of the run ----------------------------------------------

void printVersion() {
  std::printf("\nKestro Stats (c) ");
  std::printf("version 4.32");
  std::printf("\n  statistics for Quake III Arena OSP servers, by the project's contributors\n");
}

// Reads the command line into the run and the configuration path. Returns
// -1 to go on, or the exit status to end the program with.
int readCommandLine(ConsoleRun& c, int argc, char** argv) {
  int args = argc - 1;
  if (args == 1 && std::string_view(argv[1]) == "-v") {
    printVersion();
    return 0;
  }
  if (args < 1 || args > 3) {
    std::printf("usage: kestrostats(xx)-c logfile.log <config-file.cfg>\n");
    return 1;
  }
  c.run.realtime_stats = args == 3 && std::string_view(argv[3]) == "realtime";
  c.config.path.assign("c-default.cfg");
  if (args == 2) {
    if (!contains(toLowerCase(argv[2]), ".cfg")) {
      std::printf("ERROR: config file must have a .cfg extension\n");
      return 1;
    }
    c.config.path.assign(argv[2]);
  }
  c.run.logfile.assign(argv[1]);
  return -1;
}

void setTimeNow(Run& run, std::time_t now) {
  char text[kTextBufferSize];
  std::strftime(text, sizeof text, "%Y-%m-%d,%H-%M-%S", std::localtime(&now));
  run.time_now.assign(text);
}

}  // namespace

void initGame(Game& game) {
  game.mapname.clear();
  game.reset_count = 0;
  game.gametype = kFreeForAll;
  game.make_html = 1;
  game.int_swap = 0;
  game.connect_sequence = 0;
  game.ca_win_red = 0;
  game.ca_win_blue = 0;
  game.facts = GameFacts{};
}

void checkIfServerLog(ConsoleRun& c, std::string_view line) {
  if (c.run.log_type != 0 || !isServerInitGameLine(line)) return;
  c.run.log_type = 1;
  std::printf("\nServer log detected ----------< pre-parsing >-----\n");
  std::printf(" - this may take a while...\n");
  fpclose(c.run.log);
  // The log path goes inside double quotes; escaping keeps any file name one
  // word, so it can never run a command of its own.
  std::string command =
      "./ks-preparse \"" + escapeForDoubleQuotes(c.run.logfile) + "\" \"" + kConvertedLog + "\" > tmp-c";
  std::fflush(stdout);
  int status = std::system(command.c_str());
  if (status != 0) {
    std::fprintf(stderr, "ERROR: ./ks-preparse could not convert \"%s\" (status %d)\n", c.run.logfile.c_str(),
                 WIFEXITED(status) ? WEXITSTATUS(status) : status);
    c.failed = true;
  }
  // When the conversion left no file, the log stays closed and ends here.
  c.run.log = std::fopen(kConvertedLog, "rb");
  std::printf("-----------------------------------<done>---------\n");
}

void checkForNewGameStart(ConsoleRun& c, const LineEvent& event) {
  Game& game = *c.game;
  detectGameEnd(c, event.scan);
  if (game.connect_sequence == kGameEnds) game.reset_count = kGameEnds;
  if (!event.scan.contains(":") && event.scan.contains("Match has begun")) {
    game.make_html = 0;
    game.reset_count = kGameEnds;
    std::printf("\nWarm-up detected: Skipping html generation for warm-up.\n\n");
  }
  if (game.reset_count != kGameEnds) return;
  if (game.make_html == 1 && gameQualifies(game)) writeGame(c);
  initPlayers(game);
  initGame(game);
}

void processLine(ConsoleRun& c, FixedText& line) {
  Game& game = *c.game;
  checkIfServerLog(c, line);
  if (readStatedFact(game, line)) return;
  cleanLine(line);
  if (handleChatLine(game, line)) return;
  const LineScan scan(consoleKeywordIndex(), line);
  if (!validLine(scan, valid_strings)) {
    handleRejectedLine(game, line);
    return;
  }
  const LineEvent event(scan);
  if (updateMiscInfo(game, c.run, event) == 1) return;
  addPlayersOfLine(game, event, addPlayer_strings);
  assignTeam(game, event);
  updateCTFStats(game, event);
  updateTables(game, event);
  scanWeaponStats(game, event);
  checkForNewGameStart(c, event);
}

void readLog(ConsoleRun& c) {
  FixedText line;
  while (readLine(c.run.log, line)) processLine(c, line);
  if (c.run.log != nullptr && std::ferror(c.run.log) != 0) {
    std::fprintf(stderr, "ERROR: could not read logfile \"%s\" to its end\n", c.run.logfile.c_str());
    c.failed = true;
  }
}

void cleanUpTempFiles() {
  std::remove("tmp-c");
  std::remove("temp-c");
  std::remove(kConvertedLog);
}

int kestrostatsC(int argc, char** argv) {
  RunClock clock = RunClock::start();
  ConsoleRun c;
  setTimeNow(c.run, outputTime(clock.wall_start));

  if (int status = readCommandLine(c, argc, argv); status >= 0) return status;
  printBanner(kTitle);
  if (!readConfig(c.config)) return 1;
  c.site = loadSiteFiles(c.config);
  waitForProcessorSecond();

  c.rotation = std::fopen("db_sql_gamestats.txt", "a");
  c.run.log = openInputFile(c.run.logfile.c_str());
  if (c.run.log == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", c.run.logfile.c_str());
    std::fprintf(stderr, "ERROR: could not open logfile \"%s\"\n", c.run.logfile.c_str());
    return 1;
  }
  std::printf("\n%s\n", kRule);
  std::printf("                   Generating Stats, Please wait...\n");
  std::printf("%s\n\n", kRule);

  readLog(c);

  if (c.run.game_count == kFirstGameCount) std::printf("No games were detected in the log file.\n");
  cleanUpTempFiles();
  printRunSummary(clock, kTitle, -1, c.run.game_count - kFirstGameCount);
  fpclose(c.run.log);
  if (c.rotation != nullptr && std::fclose(c.rotation) != 0) {
    std::fprintf(stderr, "ERROR: could not write db_sql_gamestats.txt\n");
    c.failed = true;
  }
  c.rotation = nullptr;
  return c.failed ? 1 : 0;
}
