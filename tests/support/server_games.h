// The games of a dedicated server's log as the server frames them, held
// against the games kestrostats-c writes from that log.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "program_runner.h"

namespace kstest {

struct GameFigures {
  std::string map;   // lower case, as the reports show it
  int kills = 0;     // by one player of another (team kills too)
  int suicides = 0;  // self-kills and deaths without a killer
  bool operator==(const GameFigures&) const = default;
};
std::ostream& operator<<(std::ostream& out, const GameFigures& figures);

struct ServerGame {
  GameFigures figures;
  std::string lines;  // from its "InitGame:" line to its "ShutdownGame:" line
};

// Each section from an "InitGame:" to the "ShutdownGame:" that ends it,
// leaving out sections never ended (the next "InitGame:" came first) and
// warm-ups (with OSP: no "Game_Start:"; without: a "Warmup:"). An OSP game
// counts from its "Game_Start:"; only deaths with an obituary in the console
// form count.
std::vector<ServerGame> serverGames(const std::string& log);

// The games written into `dir`/html as JSON files, by game number.
std::vector<GameFigures> writtenGames(const TempDir& dir);

// kestrostats-c, ks-preparse, a configuration that writes JSON, and html/.
void prepareServerLogRun(const TempDir& dir);

// Expects `written` to be the server's games of `log` in order, none merged
// with another, none split. A server game may be missing only if
// kestrostats-c writes no game for its section alone either (it does not
// qualify by its players).
void expectTheServersGames(const std::string& log, const std::vector<GameFigures>& written, const std::string& what);

}  // namespace kstest
