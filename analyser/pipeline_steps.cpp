#include "pipeline_steps.h"

#include "events.h"
#include "game_state.h"
#include "kills.h"
#include "players.h"

void cleanLine(FixedText& line) {
  stripNewLineChars(line);
  replaceNonPrintableChars(line);
}

bool handleChatLine(std::string_view line) {
  if (chatSender(line) == kNobody) return false;
  scanForQuotes(line);
  return true;
}

void handleRejectedLine(std::string_view line) {
  if (contains(line, "Round starts!")) {
    resetHaveFlag(kBlue);
    resetHaveFlag(kRed);
  }
}

void addPlayersOfLine(std::string_view line, std::string_view stripped_line, KeywordTable add_player) {
  if (!containsAny(add_player, stripped_line)) return;
  addPlayer(getVictimName(line));
  addPlayer(getAttackerName(line));
}
