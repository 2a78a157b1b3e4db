// What the log reader knows: the game being read, and the run that reads
// one log after another.
//
// A Game is the state of one game: the player table and what the lines have
// said about the match. It is cleared at every game boundary. A Run lives for
// a whole run: the log being read, its form, and the number of the last game
// written. Both are passed explicitly to every step that reads or changes
// them; nothing of either lives anywhere else.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "player.h"
#include "text.h"

inline constexpr int kFirstGameCount = 1000;  // Run::game_count before the first written game

// Game types (Game::gametype); the pages and records name them in words.
enum class GameType { kFreeForAll, kTeamDeathmatch, kCaptureTheFlag, kClanArena };
using enum GameType;

// What a log says of a game beyond its events: when it was played, how long
// it ran, how it ended, the final team score the server stated. Each is
// unknown (empty, -1) when the log does not say; nothing here is guessed
// from the time of processing.
struct GameFacts {
  FixedText played;    // "YYYY-MM-DD HH:MM:SS" as the log states it, or ""
  int duration = -1;   // game seconds from start to end, or -1
  FixedText ended;     // how it ended: "timelimit", "fraglimit", "capturelimit", ... or ""
  int red_score = -1;  // the server's own final team score, or -1
  int blue_score = -1;
  // The raw names of the players the server ran as bots (a server log
  // states them; a client's console does not).
  std::vector<std::string> bots;
  // A console log's own end of game: the line that a limit was hit
  // ("Timelimit hit.", "Raven^7 hit the fraglimit.").
  bool limit_hit = false;
};

// The client's reconnect detector (Game::connect_sequence): its connect or
// reconnect command, then the address line, then the renderer shutdown,
// which means the client left the server.
enum class ReconnectStep { kNone, kCommand, kResolved, kLeft };

// The form of the log being read (Run::log_type). A server log is converted
// by ks-preparse and read on in console form; the form stays kServer.
enum class LogForm { kConsole, kServer };

struct Game {
  // The player table: see player.h for how records are laid out.
  std::array<Q3Player, kPlayerRecords> q3players;
  GameType gametype = kFreeForAll;
  FixedText mapname;            // lower case; "" when the game named none
  bool game_ends = false;       // close the game now
  bool make_html = true;        // false: a warm-up, discarded
  ReconnectStep connect_sequence = ReconnectStep::kNone;
  int int_swap = 0;             // re-entries so far
  int ca_win_red = 0;           // clan-arena round wins
  int ca_win_blue = 0;
  GameFacts facts;              // cleared at every game boundary
  // The most records the game has had live at once: only those (and the
  // spare and "nobody" records) can differ from a free record at its end.
  int records_used = 0;

  Game() {
    for (Q3Player& player : q3players) resetPlayer(player);
  }
};

struct Run {
  FixedText logfile;            // the log named on the command line
  FixedText time_now;           // "%Y-%m-%d,%H-%M-%S" (page names)
  bool realtime_stats = false;  // kestrostats-c's realtime mode: fixed page names
  std::FILE* log = nullptr;     // the log being read; replaced by its converted form
  LogForm log_type = LogForm::kConsole;  // switched once, at a server's first "InitGame: "
  bool osp_client = false;      // after the OSP client banner, until "RE_Shutdown( 0 )"
  int game_count = kFirstGameCount;  // number of the last written game
};
