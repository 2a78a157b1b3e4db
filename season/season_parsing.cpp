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
  season::fixPlayerNames(game);
  markLeftOut(game, s.rules);
  if (s.run.game_count == 99999999) s.run.game_count = kFirstGameCount;
  s.run.game_count += 1;
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", s.run.game_count);
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

}  // namespace

void initGame(Game& game) {
  game.reset_count = 0;
  game.gametype = kFreeForAll;
  game.mapname.clear();
  game.ca_win_red = 0;
  game.ca_win_blue = 0;
  game.facts = GameFacts{};
}

void fixPlayerNames(Game& game) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    if (p.name.view().find_first_not_of(' ') == std::string_view::npos) p.name.append("\\_");
  }
}

void checkForNewGameStart(SeasonRun& s, const LineEvent& event) {
  int entry = event.scan.firstContained(reset_strings);
  if (entry < 0) return;
  Game& game = *s.game;
  if (reset_strings[entry] != "----- CL_Shutdown -----" && s.run.log_type == 0) {
    scanOspStats(
        game, s.run.log, [&s](std::string_view block_line) { fingerprintLine(s.fingerprint, block_line); },
        HighBytes::kKept);
  }
  game.reset_count = kGameEnds;
  const std::string fingerprint = s.fingerprint.finish();
  if (getTotalPlayers(game) > 1) {
    if (!s.rules.count_aborted_games && !endedByServer(game, s.run.log_type == 1)) {
      skipAbortedGame(fingerprint);
      s.input_games.passed(s.run.log);
    } else if (s.database.isCounted(fingerprint)) {
      const bool owed = s.database.pagesOwed(fingerprint);
      skipCountedGame(fingerprint, owed);
      s.input_games.counted(s.run.log, fingerprint, owed);
    } else {
      writeGameToDatabase(s, fingerprint);
      s.input_games.counted(s.run.log, fingerprint, true);
    }
  } else {
    s.input_games.passed(s.run.log);
  }
  initPlayers(game);
  initGame(game);
}

int updateMiscInfo(Game& game, const LineEvent& event) {
  const LineScan& stripped = event.stripped_scan;
  if (stripped.contains("Loaded OSP Client Version:")) return 1;
  if (stripped.contains(" is using model ")) {
    int s = getVictim(game, event);
    if (isLivePlayer(game, s)) game.q3players[s].model.assign(event.attacker_name);
    return 1;
  }
  if (stripped.contains("renamed to")) {
    Q3Player& p = game.q3players[getVictim(game, event)];
    p.name.assign(getAttackerName(stripped));
    p.raw_name.assign(event.attacker_name);
    return 1;
  }
  return 0;
}

void convertServerLog(SeasonRun& s, const std::string& source, bool carry_over) {
  s.run.log_type = 1;
  std::printf(" - pre-parsing %s... (this may take a while)\n", source.c_str());
  std::string command = "./ks-preparse \"" + quotedValue(source) + "\" \"" + kConvertedLog + "\"";
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

int checkIfServerLog(SeasonRun& s, std::string_view line) {
  // Only a server's own "InitGame: " line, never a chat text or a name that
  // quotes one; once converted, the input is console text and stays so.
  if (s.run.log_type != 0 || !isServerInitGameLine(line)) return 0;
  std::printf("\nServer log detected --------------------------------\n");
  convertServerLog(s, std::string(s.run.logfile.view()), false);
  return 1;
}

void processLine(SeasonRun& s, FixedText& line) {
  Game& game = *s.game;
  if (checkIfServerLog(s, line) == 1) return;
  if (readStatedFact(game, line)) return;
  cleanLine(line, HighBytes::kKept);
  if (handleChatLine(game, line)) {
    fingerprintLine(s.fingerprint, line);
    return;
  }
  noteLimitHit(game, line);
  const LineScan scan(seasonKeywordIndex(), line);
  if (!validLine(scan, valid_strings)) {
    // The map is for the game's record only: the line stays out of the
    // fingerprint, as it always was, so games counted before are known.
    if (line.view().starts_with("Current map: ")) game.mapname.assign(mapOfLine(line));
    handleRejectedLine(game, line);
    return;
  }
  fingerprintLine(s.fingerprint, line);
  const LineEvent event(scan);
  if (season::updateMiscInfo(game, event) == 1) return;
  addPlayersOfLine(game, event, addPlayer_strings);
  assignTeam(game, event);
  updateCTFStats(game, event);
  updateTables(game, event);
  updateItems(game, event);
  scanWeaponStats(game, event);
  checkForNewGameStart(s, event);
}

void readLog(SeasonRun& s) {
  s.input_games.begin(s.run.log);
  FixedText line;
  while (readLine(s.run.log, line)) processLine(s, line);
  if (s.run.log != nullptr && std::ferror(s.run.log) != 0) {
    s.status.fail(Failure::kLog, "could not read " + std::string(s.run.logfile.view()) + " to its end");
    s.log_failed = true;
  }
}

}  // namespace season
