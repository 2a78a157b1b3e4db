// The converter of one input: reads its lines, frames each game of a server
// log as one console-form section and translates the game's events into the
// lines a client's console log would hold.
//
// A section reads: "----------------- GAME BEGIN ---------------", the
// "Current map: " and "GameType: " lines, the translated events in input
// order, the fact lines of what the server stated of the game (its date,
// length, end and final team score; see fact_lines.h), then "Timelimit hit."
// and "----- CL_Shutdown -----", the two lines that end a game in a client's
// console log.
//
// Only games that the server ended with a "ShutdownGame:" are written. A
// game that the next "InitGame:" finds still open (the server restarted or
// crashed) never finished: its section is taken back from the output, and
// nothing its lines taught is carried into the next game.
//
// The object holds the reader it takes its lines from, the output it writes
// to, and the state of the game being read; nothing else is shared. Which
// lines it is given (only up to the input's last "ShutdownGame:") is the
// caller's choice, see conversion.h.
#pragma once

#include <string_view>

#include "game_state.h"
#include "line_reader.h"
#include "output.h"

namespace preparse {

class Preparser {
 public:
  Preparser(LineReader& in, Output& out) : in_(in), out_(out) {}
  Preparser(const Preparser&) = delete;
  Preparser& operator=(const Preparser&) = delete;

  // Handles every line the reader gives. A game still open after the last
  // line never finished and is not written.
  void convert();

  // One line from the reader: opens and closes game sections and, while a
  // game is open, translates the line. The rest of an overlong line (a
  // continuation) is no line of its own and is passed over.
  void handleLine(std::string_view line);

  // Takes the map and the server's game type from an "InitGame:" line that
  // holds "\mapname\" and "\protocol\" (or "\com_protocol\"); other lines are
  // ignored. A value that ends the line runs to the line end.
  void getGameInfo(std::string_view line);
  void printGameInfo();
  // Writes the game's fact lines and the two game-ending lines when the line
  // is a "ShutdownGame:".
  void printEndGame(std::string_view line);

  // --- Translators ----------------------------------------------------------
  // Each takes a line's event text (the line without its time stamp, see
  // eventText), recognises its own event keyword at its start and writes
  // zero or more console lines. Names written are the client records'
  // colour-coded names, which end in "^7".

  // Offers one line, its line end cut, to the translators below. Each acts
  // on its own event keyword only, so a keyword in a player's name or chat
  // text never passes for a server event.
  void translateLine(std::string_view line);
  // The same for the line's event text.
  void translateEvent(std::string_view event);

  // "ClientUserinfoChanged: " lines with a team and a model: joins, team
  // changes and renames. Updates the client's record and its remembered name.
  void addClient(std::string_view event);

  // "ClientDisconnect:" and "ClientConnect:" lines: an occupied slot is
  // reported as disconnected and freed. A connect on a slot still in use thus
  // reports the previous holder as gone.
  void delClient(std::string_view event);

  // "say: " and "sayteam: " lines: "name^7: message" and "(name^7): message".
  // Written only when the sender is an introduced client (see ClientRecord),
  // whose name the console reader knows and so reads the line as chat and
  // nothing else; the sender is the longest such name that the text begins
  // with, followed by ": ". Lines that mention rcon or a password in any
  // letter case are never written.
  void printChat(std::string_view event);

  // OSP's flag events ("Flag_Capture:" and the rest) and "Round starts!".
  void printCtfStats(std::string_view event);

  // "Kill: " lines: the obituary of the cause; world and environment deaths
  // name the victim only. Updates the records of killer and victim; the names
  // the obituary shows are introduced to the reader.
  void printKills(std::string_view event);

  // "Item: " lines: health, armour and power-up pickups, and on servers
  // without OSP the pickup of the enemy flag.
  void printItems(std::string_view event);

  // Weapon statistics, two sources:
  // - the server's "Weapon_Stats: " line, one per player, written by OSP at
  //   the end of a game: one accuracy line per item, in the order of the
  //   items;
  // - a client's "^7Stats for " block standing in the input: the rows that
  //   follow are taken from the reader, up to the received-damage row, the
  //   end of input, or a line that frames a game ("ShutdownGame:",
  //   "InitGame:", "Game_Start:"), which is handed back to the reader so
  //   that the game it ends or begins is still framed.
  // `event` is not used after the block's first row is read.
  void scanWepnStats(std::string_view event);

  GameState game;

 private:
  void frameLine(std::string_view& line, std::string_view& event);
  void skipWarmup(std::string_view& line);
  void openGame(std::string_view line);
  void endGame(std::string_view line);
  void abandonGame();

  LineReader& in_;
  Output& out_;
};

}  // namespace preparse
