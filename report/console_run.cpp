#include "console_run.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "awards.h"
#include "events.h"
#include "keyword_index.h"
#include "keywords.h"
#include "line_event.h"
#include "line_filter.h"
#include "line_pipeline.h"
#include "players.h"
#include "scoring.h"
#include "shell_launch.h"
#include "teams.h"
#include "weaponstats.h"

namespace {

constexpr const char* kConvertedLog = "kestro-c.log";

bool isMatchEndLine(std::string_view entry) {
  return entry == "Timelimit hit." || entry == "hit the capturelimit." || entry == "hit the fraglimit." ||
         entry == "wins the match: " || entry == "Pointlimit hit.";
}

bool gameQualifies(const Game& game) {
  if (game.gametype == kFreeForAll) return getTotalPlayers(game) > 1;
  return getTeamTotalPlayers(game, kRed) >= 1 && getTeamTotalPlayers(game, kBlue) >= 1;
}

class ConsoleHooks final : public PipelineHooks {
 public:
  explicit ConsoleHooks(ConsoleRun& c) : c_(c) {}

  // On the first server "InitGame: " line, hands the log to ks-preparse and
  // goes on reading its output "kestro-c.log" (the line itself is read on).
  bool takeRawLine(std::string_view line) override {
    if (c_.run.log_type == LogForm::kConsole && isServerInitGameLine(line)) convertServerLog();
    return false;
  }

  bool bookkeeping(Game& game, Run& run, const LineEvent& event) override {
    return updateMiscInfo(game, run, event);
  }

  bool endsGame(Game& game, const LineEvent& event) override {
    detectMatchEnd(game, event.scan);
    if (game.connect_sequence == ReconnectStep::kLeft) game.game_ends = true;
    if (!event.scan.contains(":") && event.scan.contains("Match has begun")) {
      game.make_html = false;
      game.game_ends = true;
      std::printf("\nWarm-up detected: Skipping html generation for warm-up.\n\n");
    }
    return game.game_ends;
  }

  void finishGame(Game& game) override {
    if (game.make_html && gameQualifies(game)) writeGame(game);
  }

  bool stopReading() const override { return c_.stopped; }

 private:
  void convertServerLog();
  void detectMatchEnd(Game& game, const LineScan& line);
  void writeGame(Game& game);

  ConsoleRun& c_;
};

void ConsoleHooks::convertServerLog() {
  c_.run.log_type = LogForm::kServer;
  std::printf("\nServer log detected ----------< pre-parsing >-----\n");
  std::printf(" - this may take a while...\n");
  fpclose(c_.run.log);
  // The log path goes inside double quotes; escaping keeps any file name one
  // word, so it can never run a command of its own.
  std::string command =
      "./ks-preparse \"" + escapeForDoubleQuotes(c_.run.logfile) + "\" \"" + kConvertedLog + "\" > tmp-c";
  if (int status = runShellCommand(command); status != 0) {
    std::fprintf(stderr, "ERROR: ./ks-preparse could not convert \"%s\" (status %d)\n", c_.run.logfile.c_str(),
                 status);
    c_.failed = true;
  }
  // When the conversion left no file, the log stays closed and ends here.
  c_.run.log = std::fopen(kConvertedLog, "rb");
  std::printf("-----------------------------------<done>---------\n");
}

// Closes the game when the line is a match end (after reading the OSP
// statistics block that follows it), a disconnect, a client shutdown, or an
// OSP "MATCH COMPLETE".
void ConsoleHooks::detectMatchEnd(Game& game, const LineScan& line) {
  const std::uint64_t found = line.containedMask(reset_strings);
  if (found == 0) return;
  for (int i = 0; i < static_cast<int>(std::size(reset_strings)); ++i) {
    if (!hasEntry(found, i)) continue;
    std::string_view entry = reset_strings[i];
    if (isMatchEndLine(entry)) {
      scanOspStats(game, c_.run.log);
      game.game_ends = true;
      return;
    }
    if (entry == "ERROR: Disconnected from server" || entry == "----- CL_Shutdown -----" ||
        (entry == "MATCH COMPLETE" && c_.run.osp_client)) {
      game.game_ends = true;
      return;
    }
  }
}

// The end-of-game chain, then the report.
void ConsoleHooks::writeGame(Game& game) {
  if (game.connect_sequence == ReconnectStep::kLeft) {
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
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", countWrittenGame(c_.run));
  printPlayers(game);
  Report report(game, c_.run, c_.config, c_.site);
  makeHtml(report);
  switch (c_.write_pages ? writePages(report, c_.rotation) : PageResult::kWritten) {
    case PageResult::kWritten:
      break;
    case PageResult::kNotWritten:
      c_.failed = true;
      break;
    case PageResult::kCannotOpen:
      // As the report always did, a page that cannot be created ends the
      // reading; the run still cleans up after itself.
      c_.failed = true;
      c_.stopped = true;
      return;
  }
  std::printf("-------------------------------------<done>---------\n");
  std::printf("\n");
}

}  // namespace

void readLog(ConsoleRun& c) {
  ConsoleHooks hooks(c);
  LinePipeline pipeline(c.run, *c.game, hooks,
                        {consoleKeywordIndex(), HighBytes::kReplaced, valid_strings, addPlayer_strings});
  if (!pipeline.readLog()) {
    std::fprintf(stderr, "ERROR: could not read logfile \"%s\" to its end\n", c.run.logfile.c_str());
    c.failed = true;
  }
}

void cleanUpTempFiles() {
  std::remove("tmp-c");
  std::remove("temp-c");
  std::remove(kConvertedLog);
}
