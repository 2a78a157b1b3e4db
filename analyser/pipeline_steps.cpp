#include "pipeline_steps.h"

#include "events.h"
#include "game.h"
#include "line_event.h"
#include "players.h"

void cleanLine(FixedText& line, HighBytes high) {
  stripNewLineChars(line);
  replaceNonPrintableChars(line, high);
}

bool handleChatLine(Game& game, std::string_view line) {
  if (chatSender(game, line) == kNobody) return false;
  scanForQuotes(game, line);
  return true;
}

void handleRejectedLine(Game& game, std::string_view line) {
  if (contains(line, "Round starts!")) {
    resetHaveFlag(game, kBlue);
    resetHaveFlag(game, kRed);
  }
}

void addPlayersOfLine(Game& game, const LineEvent& event, KeywordTable add_player) {
  if (!event.stripped_scan.containsAny(add_player)) return;
  addPlayer(game, event.victim_name);
  addPlayer(game, event.attacker_name);
}
