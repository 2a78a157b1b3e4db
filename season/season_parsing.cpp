#include "season_parsing.h"

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "crash_point.h"
#include "events.h"
#include "keyword_index.h"
#include "keywords.h"
#include "kills.h"
#include "line_event.h"
#include "line_filter.h"
#include "line_names.h"
#include "line_pipeline.h"
#include "pipeline_steps.h"
#include "player_sql.h"
#include "players.h"
#include "scoring.h"
#include "season_keywords.h"
#include "shell_command.h"
#include "teams.h"
#include "weaponstats.h"

namespace season {

namespace {

constexpr const char* kConvertedLog = "kestro-s.log";

// The console reader's tables and the season's own, in one index.
const KeywordIndex& seasonKeywordIndex() {
  static const KeywordIndex index = [] {
    std::vector<KeywordTable> tables(std::begin(kReaderTables), std::end(kReaderTables));
    for (KeywordTable own : {KeywordTable(valid_strings), KeywordTable(addPlayer_strings), KeywordTable(reset_strings)}) {
      tables.push_back(own);
    }
    return KeywordIndex(tables);
  }();
  return index;
}

void writeGameToDatabase(SeasonRun& s, const std::string& fingerprint) {
  Game& game = *s.game;
  addUpTables(game);
  restoreOriginalPlayerNames(game);
  markBlankNames(game);
  markLeftOut(game, s.rules);
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", countWrittenGame(s.run));
  printPlayers(game);
  s.database.beginGame(fingerprint, s.run.game_count);
  sqlMake(game, s.config, s.database);
  s.database.endGame();
  std::printf("-------------------------------------<done>---------\n");
  std::printf("\n");
  if (s.progress != nullptr) s.progress->gameCounted(s.run.log);
}

// A game's fingerprint reads its lines as earlier versions cleaned them,
// with bytes above 127 made "_", so that a game counted before they were
// kept is still known when its log is read again.
void fingerprintLine(GameFingerprint& fingerprint, std::string_view line) {
  if (!holdsHighBytes(line)) {
    fingerprint.addLine(line);
    return;
  }
  FixedText earlier;
  earlier.assign(line);
  replaceNonPrintableChars(earlier);
  fingerprint.addLine(earlier);
}

void skipCountedGame(const std::string& fingerprint, bool pages_owed) {
  std::printf("\nAlready counted ------------<%.16s>-----\n", fingerprint.c_str());
  std::printf(" - a game with these lines is in the database: skipped\n");
  if (pages_owed) std::printf(" - its pages were never made: they are made now\n");
}

void skipAbortedGame(const std::string& fingerprint) {
  std::printf("\nAborted game ---------------<%.16s>-----\n", fingerprint.c_str());
  std::printf(" - the server did not end it (count_aborted_games: no): not counted\n");
}


// Models and renames; the OSP banner line is consumed. True when the line
// is fully handled. (The season leaves departures and re-entries alone: a
// player's totals are the same whichever record holds them.)
bool readModelsAndRenames(Game& game, const LineEvent& event) {
  const LineScan& stripped = event.stripped_scan;
  if (stripped.contains("Loaded OSP Client Version:")) return true;
  if (stripped.contains(" is using model ")) {
    int s = getVictim(game, event);
    if (isLivePlayer(game, s)) game.q3players[s].model.assign(event.attacker_name);
    return true;
  }
  if (stripped.contains("renamed to")) {
    Q3Player& p = game.q3players[getVictim(game, event)];
    p.name.assign(getAttackerName(stripped));
    p.raw_name.assign(event.attacker_name);
    return true;
  }
  return false;
}

class SeasonHooks final : public PipelineHooks {
 public:
  explicit SeasonHooks(SeasonRun& s) : s_(s) {}

  // Only a server's own "InitGame: " line, never a chat text or a name that
  // quotes one; once converted, the input is console text and stays so.
  // The line itself is not parsed. (A realtime log is converted before it is
  // read.)
  bool takeRawLine(std::string_view line) override {
    if (s_.run.log_type != LogForm::kConsole || !isServerInitGameLine(line)) return false;
    std::printf("\nServer log detected --------------------------------\n");
    convertServerLog(s_, std::string(s_.run.logfile.view()), false);
    return true;
  }

  void keepLine(std::string_view line) override { fingerprintLine(s_.fingerprint, line); }

  // The map is for the game's record only: the line stays out of the
  // fingerprint, as it always was, so games counted before are known.
  void rejectedLine(Game& game, std::string_view line) override {
    if (line.starts_with("Current map: ")) game.mapname.assign(mapOfLine(line));
  }

  bool bookkeeping(Game& game, Run&, const LineEvent& event) override { return readModelsAndRenames(game, event); }

  void afterKills(Game& game, const LineEvent& event) override { updateItems(game, event); }

  // Any of the season's boundaries closes the game; after a limit the OSP
  // statistics block that follows is read (and fingerprinted) first.
  bool endsGame(Game& game, const LineEvent& event) override {
    int entry = event.scan.firstContained(reset_strings);
    if (entry < 0) return false;
    if (reset_strings[entry] != "----- CL_Shutdown -----" && s_.run.log_type == LogForm::kConsole) {
      scanOspStats(
          game, s_.run.log, [this](std::string_view block_line) { fingerprintLine(s_.fingerprint, block_line); },
          HighBytes::kKept);
    }
    game.game_ends = true;
    return true;
  }

  // A game with more than one player is counted, unless its fingerprint
  // shows it is counted already; either way its span in the input is noted
  // (s.input_games), with whether it is to get pages.
  void finishGame(Game& game) override {
    const std::string fingerprint = s_.fingerprint.finish();
    if (getTotalPlayers(game) <= 1) {
      s_.input_games.passed(s_.run.log);
    } else if (!s_.rules.count_aborted_games && !endedByServer(game, s_.run.log_type == LogForm::kServer)) {
      skipAbortedGame(fingerprint);
      s_.input_games.passed(s_.run.log);
    } else if (s_.database.isCounted(fingerprint)) {
      const bool owed = s_.database.pagesOwed(fingerprint);
      skipCountedGame(fingerprint, owed);
      s_.input_games.counted(s_.run.log, fingerprint, owed);
    } else {
      writeGameToDatabase(s_, fingerprint);
      s_.input_games.counted(s_.run.log, fingerprint, true);
    }
  }

 private:
  SeasonRun& s_;
};

}  // namespace

void markBlankNames(Game& game) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    if (p.name.view().find_first_not_of(' ') == std::string_view::npos) p.name.append("\\_");
  }
}

void convertServerLog(SeasonRun& s, const std::string& source, bool carry_over) {
  s.run.log_type = LogForm::kServer;
  std::printf(" - pre-parsing %s... (this may take a while)\n", source.c_str());
  std::string command = "./ks-preparse \"" + escapeForDoubleQuotes(source) + "\" \"" + kConvertedLog + "\"";
  command += carry_over ? " \"1\" >temp-s" : " >temp-s";
  if (int status = runCommand(s.config, command); status != 0) {
    s.status.fail(Failure::kProgram, "./ks-preparse could not convert " + source + " (exit status " +
                                         std::to_string(status) + ")");
    s.log_failed = true;
  }
  crashPoint("converted");
  // When the conversion left no file, the input stays closed and ends here.
  fpclose(s.run.log);
  s.run.log = std::fopen(kConvertedLog, "rb");
  s.input_games.restart(s.run.log);
  std::printf("-------------------------------------<done>---------\n");
  // The converted games are fingerprinted from the converted text alone.
  s.fingerprint.finish();
}

void readLog(SeasonRun& s) {
  s.input_games.begin(s.run.log);
  SeasonHooks hooks(s);
  LinePipeline pipeline(s.run, *s.game, hooks,
                        {seasonKeywordIndex(), HighBytes::kKept, valid_strings, addPlayer_strings});
  if (!pipeline.readLog()) {
    s.status.fail(Failure::kLog, "could not read " + std::string(s.run.logfile.view()) + " to its end");
    s.log_failed = true;
  }
}

}  // namespace season
