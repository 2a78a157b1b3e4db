#include "season_parsing.h"

#include <cstdio>
#include <string>

#include "crash_point.h"
#include "events.h"
#include "game_state.h"
#include "kills.h"
#include "line_filter.h"
#include "pipeline_steps.h"
#include "player_sql.h"
#include "players.h"
#include "realtime_log.h"
#include "scoring.h"
#include "season_config.h"
#include "season_keywords.h"
#include "shell_command.h"
#include "teams.h"
#include "weaponstats.h"

namespace season {

namespace {

constexpr const char* kConvertedLog = "kestro-s.log";

void writeGameToDatabase(const std::string& fingerprint, SeasonRun& run) {
  addUpTables();
  restoreOriginalPlayerNames();
  fixPlayerNames();
  if (g_game_count == 99999999) g_game_count = kFirstGameCount;
  g_game_count += 1;
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", g_game_count);
  printPlayers();
  run.database.beginGame(fingerprint, g_game_count);
  sqlMake(run.database);
  run.database.endGame();
  std::printf("-------------------------------------<done>---------\n");
  std::printf("\n");
}

void skipCountedGame(const std::string& fingerprint) {
  std::printf("\nAlready counted ------------<%.16s>-----\n", fingerprint.c_str());
  std::printf(" - a game with these lines is in the database: skipped\n");
}

void processLine(FixedText& line, SeasonRun& run) {
  freeMallocs();
  if (checkIfServerLog(line, run) == 1) return;
  freeMallocs();
  cleanLine(line);
  freeMallocs();
  if (handleChatLine(line)) {
    run.fingerprint.addLine(line);
    return;
  }
  if (!validLine(line, valid_strings)) {
    handleRejectedLine(line);
    return;
  }
  run.fingerprint.addLine(line);
  FixedText stripped;
  stripColorCodes(line, stripped);
  freeMallocs();
  if (season::updateMiscInfo(line, stripped) == 1) return;
  freeMallocs();
  addPlayersOfLine(line, stripped, addPlayer_strings);
  freeMallocs();
  assignTeam(line);
  freeMallocs();
  updateCTFStats(line);
  freeMallocs();
  updateTables(line);
  freeMallocs();
  updateItems(line);
  freeMallocs();
  scanWeaponStats(line);
  freeMallocs();
  checkForNewGameStart(line, run);
}

}  // namespace

void initGlobals() {
  g_reset_count = 0;
  g_gametype = kFreeForAll;
}

void fixPlayerNames() {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    Q3Player& p = q3players[i];
    if (p.name.view().find_first_not_of(' ') == std::string_view::npos) p.name.append("\\_");
  }
}

void checkForNewGameStart(std::string_view line, SeasonRun& run) {
  int entry = firstContained(reset_strings, line);
  if (entry < 0) return;
  if (reset_strings[entry] != "----- CL_Shutdown -----" && g_log_type == 0) {
    scanOspStats([&run](std::string_view block_line) { run.fingerprint.addLine(block_line); });
  }
  g_reset_count = kGameEnds;
  const std::string fingerprint = run.fingerprint.finish();
  if (getTotalPlayers() > 1) {
    if (run.database.isCounted(fingerprint)) {
      skipCountedGame(fingerprint);
    } else {
      writeGameToDatabase(fingerprint, run);
    }
  }
  initPlayers();
  initGlobals();
}

int updateMiscInfo(std::string_view line, std::string_view stripped_line) {
  if (contains(stripped_line, "Loaded OSP Client Version:")) return 1;
  if (contains(stripped_line, " is using model ")) {
    int s = getVictim(line);
    if (isLivePlayer(s)) q3players[s].model.assign(getAttackerName(line));
    return 1;
  }
  if (contains(stripped_line, "renamed to")) {
    Q3Player& p = q3players[getVictim(line)];
    p.name.assign(getAttackerName(stripped_line));
    p.raw_name.assign(getAttackerName(line));
    return 1;
  }
  return 0;
}

void convertServerLog(const std::string& source, bool carry_over, SeasonRun& run) {
  g_log_type = 1;
  std::printf(" - pre-parsing %s... (this may take a while)\n", source.c_str());
  std::string command = "./ks-preparse \"" + quotedValue(source) + "\" \"" + kConvertedLog + "\"";
  command += carry_over ? " \"1\" >temp-s" : " >temp-s";
  if (int status = runCommand(command); status != 0) {
    run.status.fail(Failure::kProgram, "./ks-preparse could not convert " + source + " (exit status " +
                                           std::to_string(status) + ")");
    run.log_failed = true;
  }
  crashPoint("converted");
  // When the conversion left no file, fp stays null and the log ends here.
  fpclose(fp);
  fp = std::fopen(kConvertedLog, "rb");
  std::printf("-------------------------------------<done>---------\n");
  // The converted games are fingerprinted from the converted text alone.
  run.fingerprint.finish();
}

int checkIfServerLog(std::string_view line, SeasonRun& run) {
  // Only a server's own "InitGame: " line, never a chat text or a name that
  // quotes one; once converted, the input is console text and stays so.
  if (g_log_type != 0 || !isServerInitGameLine(line)) return 0;
  std::printf("\nServer log detected --------------------------------\n");
  convertServerLog(std::string(g_logfile.view()), false, run);
  return 1;
}

void readLog(SeasonRun& run) {
  FixedText line;
  while (readLine(fp, line)) processLine(line, run);
  if (fp != nullptr && std::ferror(fp) != 0) {
    run.status.fail(Failure::kLog, "could not read " + std::string(g_logfile.view()) + " to its end");
    run.log_failed = true;
  }
}

}  // namespace season
