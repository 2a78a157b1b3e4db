#include "console_run.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

// The games' files in keep mode (ConsoleRun::kept_pages), in the games'
// order. The rotation gives each new page the slot that holds the smallest
// name. Whatever the slots held before, a page can outlast only as many
// later pages as it has smaller names beside it in the slots, at most
// slots - 1, and each later page with a greater name uses one of them up:
// once slots - 1 greater names have come after it, the next page displaces
// it. Such a page's files are dropped unwritten. Held files beyond
// kHeldBytes are written early, oldest first.
class HeldPages {
 public:
  explicit HeldPages(ConsoleRun& c) : c_(c) {}

  void add(GameFiles game) {
    for (Held& held : games_) {
      if (!held.files) continue;
      if (held.greater_after >= c_.kept_pages - 1) {
        bytes_ -= held.files->bytes();
        held.files.reset();
      } else if (game.mainPage() > held.main_page) {
        ++held.greater_after;
      }
    }
    bytes_ += game.bytes();
    games_.push_back(Held{game.mainPage(), game.number, std::move(game)});
    while (bytes_ > kHeldBytes && !c_.stopped) writeOldestEarly();
  }

  // Writes the held files and appends every game's rotation statements, in
  // the games' order, up to a game whose pages could not be created.
  void writeOut() {
    for (Held& held : games_) {
      if (held.stops) break;
      if (held.lost) continue;
      if (held.files) {
        if (!record(writeGameFiles(*held.files, c_.rotation))) break;
      } else if (!appendRotationStatements(held.main_page, held.number, c_.rotation)) {
        c_.status.record(Failure::kWrite);
      }
    }
    games_.clear();
  }

 private:
  static constexpr std::size_t kHeldBytes = 64u << 20;

  struct Held {
    std::string main_page;
    int number = 0;
    std::optional<GameFiles> files;  // none: dropped, or written early
    int greater_after = 0;           // later pages with a greater name
    bool lost = false;               // written early, and a write failed
    bool stops = false;              // written early, and its pages could not be created
  };

  void writeOldestEarly() {
    for (Held& held : games_) {
      if (!held.files) continue;
      const PageResult result = writeGameFiles(*held.files, nullptr);
      bytes_ -= held.files->bytes();
      held.files.reset();
      held.lost = result == PageResult::kNotWritten;
      held.stops = result == PageResult::kCannotOpen;
      record(result);
      return;
    }
  }

  // False when the run is to stop.
  bool record(PageResult result) {
    if (result != PageResult::kWritten) c_.status.record(Failure::kWrite);
    if (result == PageResult::kCannotOpen) c_.stopped = true;
    return result != PageResult::kCannotOpen;
  }

  ConsoleRun& c_;
  std::vector<Held> games_;
  std::size_t bytes_ = 0;
};

class ConsoleHooks final : public PipelineHooks {
 public:
  explicit ConsoleHooks(ConsoleRun& c) : c_(c), held_(c) {}

  // In keep mode, the pages are written once the log is read.
  void writeHeldPages() { held_.writeOut(); }

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
  HeldPages held_;
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
    c_.status.fail(Failure::kProgram, "./ks-preparse could not convert \"" + std::string(c_.run.logfile.view()) +
                                          "\" (status " + std::to_string(status) + ")");
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
  if (c_.write_pages && c_.kept_pages > 0) {
    held_.add(gameFiles(report));
    std::printf("-------------------------------------<done>---------\n");
    std::printf("\n");
    return;
  }
  switch (c_.write_pages ? writePages(report, c_.rotation) : PageResult::kWritten) {
    case PageResult::kWritten:
      break;
    case PageResult::kNotWritten:
      c_.status.record(Failure::kWrite);
      break;
    case PageResult::kCannotOpen:
      // As the report always did, a page that cannot be created ends the
      // reading; the run still cleans up after itself.
      c_.status.record(Failure::kWrite);
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
    c.status.fail(Failure::kLog, "could not read logfile \"" + std::string(c.run.logfile.view()) + "\" to its end");
  }
  hooks.writeHeldPages();
}

void cleanUpTempFiles() {
  std::remove("tmp-c");
  std::remove("temp-c");
  std::remove(kConvertedLog);
}
