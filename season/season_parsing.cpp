#include "season_parsing.h"

#include <cstdio>
#include <string>

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

void writeGameToDatabase() {
  addUpTables();
  restoreOriginalPlayerNames();
  fixPlayerNames();
  if (g_game_count == 99999999) g_game_count = kFirstGameCount;
  g_game_count += 1;
  std::printf("\nGenerating Stats ----------------<GAME ID %d>-----\n", g_game_count);
  printPlayers();
  sqlMake();
  std::printf("-------------------------------------<done>---------\n");
  std::printf("\n");
}

void processLine(FixedText& line) {
  freeMallocs();
  if (checkIfServerLog(line) == 1) return;
  freeMallocs();
  cleanLine(line);
  freeMallocs();
  if (!validLine(line, valid_strings)) {
    handleRejectedLine(line);
    return;
  }
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
  checkForNewGameStart(line);
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

void checkForNewGameStart(std::string_view line) {
  int entry = firstContained(reset_strings, line);
  if (entry < 0) return;
  if (reset_strings[entry] != "----- CL_Shutdown -----" && g_log_type == 0) scanOspStats();
  g_reset_count = kGameEnds;
  if (getTotalPlayers() > 1) writeGameToDatabase();
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

int checkIfServerLog(std::string_view line) {
  // Once converted, the input is console text: a chat line quoting
  // "InitGame: " must not start the conversion over (and loop for ever).
  if (g_log_type != 0 || !contains(line, "InitGame: ")) return 0;
  g_log_type = 1;
  std::printf("\nServer log detected --------------------------------\n");
  std::string source(g_logfile.view());
  bool realtime = isYes(g_config_realtime_log);
  if (realtime) source = snapshotRealtimeLog();
  if (source.empty()) {
    fpclose(fp);  // nothing of this log is counted now; the next run reads it all
    return 1;
  }
  std::printf(" - pre-parsing %s... (this may take a while)\n", source.c_str());
  fpclose(fp);
  std::string command = "./ks-preparse \"" + quotedValue(source) + "\" \"" + kConvertedLog + "\"";
  command += realtime ? " \"1\" >temp-s" : " >temp-s";
  runCommand(command);
  // When the conversion left no file, fp stays null and the log ends here.
  fp = std::fopen(kConvertedLog, "rb");
  std::printf("-------------------------------------<done>---------\n");
  return 1;
}

void readLog() {
  FixedText line;
  while (readLine(fp, line)) processLine(line);
}

}  // namespace season
