#include "pipeline_steps.h"

#include <algorithm>

#include "events.h"
#include "fact_lines.h"
#include "game.h"
#include "line_event.h"
#include "players.h"

void cleanLine(FixedText& line, HighBytes high) {
  stripNewLineChars(line);
  replaceNonPrintableChars(line, high);
}

bool readStatedFact(Game& game, std::string_view line) {
  // Both kinds of line are told by their first byte, and almost no line
  // starts with either.
  if (line.empty() || (line[0] != 'l' && line[0] != '\\')) return false;
  GameFacts& facts = game.facts;
  const std::string opened = playedFromLogfileOpened(line);
  if (!opened.empty()) {
    facts.played.assign(opened);
    return true;
  }
  StatedFacts stated;
  if (!readFactLine(line, stated)) return false;
  if (!stated.played.empty()) facts.played.assign(stated.played);
  if (stated.duration >= 0) facts.duration = stated.duration;
  if (!stated.ended.empty()) facts.ended.assign(stated.ended);
  for (std::string& bot : stated.bots) {
    if (std::find(facts.bots.begin(), facts.bots.end(), bot) == facts.bots.end()) facts.bots.push_back(std::move(bot));
  }
  if (stated.red_score >= 0) {
    facts.red_score = stated.red_score;
    facts.blue_score = stated.blue_score;
  }
  return true;
}

void noteLimitHit(Game& game, std::string_view line) {
  if (line.ends_with("limit hit.") || (line.ends_with("limit.") && line.find(" hit the ") != std::string_view::npos)) {
    game.facts.limit_hit = true;
  }
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
