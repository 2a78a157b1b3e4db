// What the lines of the current game have taught the converter: the map,
// the game type, whether the server runs OSP, what it states of the game, whether a game section is
// open, and the client tables.
//
// All of it is forgotten at every "ShutdownGame:" (reset()), so that the
// translation of a game depends on its own lines only, exactly as in a run
// that begins after it.
#pragma once

#include "clients.h"
#include "game_facts.h"
#include "text.h"

namespace preparse {

struct GameState {
  GameState() { reset(); }

  FixedText mapname;       // from the last usable "InitGame:" line
  FixedText gametype;      // the server's g_gametype value, as text
  int OSP = 0;             // 1 once an "InitGame: " line shows an OSP server
  bool game_open = false;  // a game section has been begun and not yet ended

  // The clients of the game being translated, by slot.
  ClientTable q3players;
  // Only the names matter: the last name each slot had. They survive a
  // disconnect, because a server writes its weapon statistics after players
  // may have left.
  ClientTable dupq3players;
  // Latch set by a red or blue team value in a userinfo line and cleared only
  // when join lines are written (see addClient).
  int validteam = 0;
  // What the server's lines state of the game: its date, length, end and
  // final team score. Kept across init(), forgotten by reset().
  ServerFacts facts;

  // Frees every record of q3players and sets every dupq3players team to '0'
  // (names kept). Runs at every game begin and end.
  void init();
  // Forgets everything: map, game type, the OSP mark, the open game, the
  // client records and their remembered names, and the team latch.
  void reset();
};

}  // namespace preparse
