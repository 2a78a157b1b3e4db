#include "preparser.h"

#include "line_text.h"

namespace preparse {

namespace {

// The line without its line end: cut at the first carriage return or line
// feed among its last five characters, as the console readers cut theirs.
std::string_view withoutLineEnd(std::string_view line) {
  for (std::size_t at = line.size() > 5 ? line.size() - 5 : 0; at < line.size(); ++at) {
    if (line[at] == '\r' || line[at] == '\n') return line.substr(0, at);
  }
  return line;
}

bool announcesOsp(std::string_view line) {
  return containsIgnoringCase(line, "\\gameversion\\osp") || containsIgnoringCase(line, "\\gamename\\osp\\");
}

}  // namespace

void Preparser::convert() {
  std::string_view line;
  while (in_.nextLine(line)) handleLine(line);
  // A game still open at the end never finished.
  abandonGame();
}

void Preparser::handleLine(std::string_view line) {
  if (in_.lineIsContinuation()) return;
  line = withoutLineEnd(line);
  std::string_view event = eventText(line);
  frameLine(line, event);
  noteGameFact(game.facts, line, event, game.game_open);
  if (game.game_open) translateEvent(event);
}

// The section is written as it is read, but stays only when the server
// ends the game (endGame).
// The game's length counts from the line that begins it.
void Preparser::openGame(std::string_view line) {
  out_.hold();
  out_.put("----------------- GAME BEGIN ---------------\n");
  printGameInfo();
  game.init();
  game.facts.start_tenths = stampTenths(line);
  game.game_open = true;
}

// A "ShutdownGame:" line ends the open game and forgets all the game taught,
// so that the next game starts as a run would start with it.
void Preparser::endGame(std::string_view line) {
  if (game.game_open) {
    printEndGame(line);
    out_.keep();
  }
  game.reset();
}

// A game the server never ended (it restarted or crashed and began anew with
// an "InitGame:"): its section is taken back whole, and all that its lines
// taught is forgotten, so that none of it reaches another game.
void Preparser::abandonGame() {
  if (game.game_open) out_.takeBack();
  game.reset();
}

// On a server without OSP a warm-up is not a game: lines are skipped up to
// the next "InitGame:" or "ShutdownGame:" (or the end of input), which
// becomes the current line.
void Preparser::skipWarmup(std::string_view& line) {
  while (in_.nextLine(line)) {
    if (in_.lineIsContinuation()) continue;
    if (isEvent(line, "InitGame:") || isEvent(line, "ShutdownGame:")) {
      line = withoutLineEnd(line);
      return;
    }
  }
  line = {};
}

// Opens and closes game sections. May replace the line and its event text
// (warm-up skip).
void Preparser::frameLine(std::string_view& line, std::string_view& event) {
  // Every "InitGame:" begins a game of the server's; one still open then was
  // never ended.
  if (event.starts_with("InitGame:")) abandonGame();
  if (event.starts_with("InitGame: ") && announcesOsp(line)) game.OSP = 1;
  if (game.OSP == 1) {
    // OSP writes warm-ups as games of their own; the match begins at "Game_Start:".
    if (event.starts_with("InitGame:")) getGameInfo(line);
    if (event.starts_with("Game_Start:")) openGame(line);
  } else {
    if (event.starts_with("Warmup:")) {
      skipWarmup(line);
      event = eventText(line);
      if (event.starts_with("InitGame:")) abandonGame();
    }
    if (event.starts_with("InitGame:")) {
      getGameInfo(line);
      openGame(line);
    }
  }
  if (event.starts_with("ShutdownGame:")) endGame(line);
}

void Preparser::getGameInfo(std::string_view line) {
  // Newer server builds name the protocol "\com_protocol\"; both forms mark a
  // full server-info line.
  if (!isEvent(line, "InitGame:") || !contains(line, "\\mapname\\") || !contains(line, "protocol\\")) return;
  game.mapname.assign(upTo(afterKeyword(line, "\\mapname\\"), "\\"));
  game.gametype.assign(upTo(afterKeyword(line, "\\g_gametype\\"), "\\"));
}

void Preparser::printGameInfo() {
  out_.print("Current map: %s\n", {game.mapname});
  out_.print("GameType: %s\n", {game.gametype});
}

void Preparser::printEndGame(std::string_view line) {
  if (!isEvent(line, "ShutdownGame:")) return;
  out_.put(factLines(game.facts.stated));
  out_.put("Timelimit hit.\n");
  out_.put("----- CL_Shutdown -----\n");
  game.init();
}

}  // namespace preparse
