// The ks-preparse run: command line, carry-over files, and the main loop that
// frames each complete game of a server log as one console-form section.
//
// A section reads: "----------------- GAME BEGIN ---------------", the
// "Current map: " and "GameType: " lines, the translated events in input
// order, then "Timelimit hit." and "----- CL_Shutdown -----", the two lines
// that end a game in a client's console log.
#pragma once

#include <string>
#include <string_view>

#include "text.h"

namespace preparse {

// Names of the carry-over files of a source. Each is the pattern filled with
// the source name, then every character that is not a letter, digit or "."
// turned into "_", so that any source path gives a plain file name in the
// working directory.
struct CarryOverNames {
  std::string joined;  // "kestro_lastgame_%s": tail then head, read before the source
  std::string tail;    // "kestro_lastgame_1_%s": the unfinished rest of the last run
  std::string head;    // "kestro_lastgame_2_%s": this source's lines before its first "InitGame: "
};
CarryOverNames carryOverNames(std::string_view source);

// Counts the "ShutdownGame:" lines of a file into total_shut (0 when the
// file cannot be read). Only games that end before the last of them are
// translated.
int analyze(const char* path);

// Takes the map and the server's game type from an "InitGame:" line that
// holds "\mapname\" and "\protocol\" (or "\com_protocol\"); other lines are
// ignored. A value that ends the line runs to the line end.
void getGameInfo(std::string_view line);
void printGameInfo();
// Writes the two game-ending lines when the line holds "ShutdownGame:".
void printEndGame(std::string_view line);

// The whole program: returns the exit status. `argv` as given to main.
int run(int argc, char** argv);

}  // namespace preparse
