// The ks-preparse run: command line, carry-over files, and the main loop that
// frames each complete game of a server log as one console-form section.
//
// A section reads: "----------------- GAME BEGIN ---------------", the
// "Current map: " and "GameType: " lines, the translated events in input
// order, then "Timelimit hit." and "----- CL_Shutdown -----", the two lines
// that end a game in a client's console log.
//
// Only lines up to the input's last "ShutdownGame:" are handled. In carry-over
// mode the input is the tail the previous run left, followed by the source,
// and everything after that last "ShutdownGame:" line becomes the next tail.
// Every game is therefore translated by exactly one run, whole, and the same
// as a single run over the whole log would translate it.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "text.h"

namespace preparse {

// Names of the carry-over files of a source. The tail is the pattern filled
// with the source name, then every character that is not a letter, digit or
// "." turned into "_", so that any source path gives a plain file name in the
// working directory. The run's own scratch files add a suffix with a "-",
// which no tail name holds, so that no run ever touches another source's
// tail.
struct CarryOverNames {
  std::string tail;     // "kestro_lastgame_1_%s": the unfinished rest of the last run
  std::string input;    // tail + "-input": this run's input, the tail followed by the source
  std::string new_tail; // tail + "-new": the next tail while it is written
};
CarryOverNames carryOverNames(std::string_view source);

// Counts the "ShutdownGame:" lines from the stream's position on into
// total_shut and puts the stream back. `count_unfinished_last` says whether a
// last line without its line end counts: in carry-over mode it does not,
// because the server may still be writing it; it stays for the next run.
int analyze(std::FILE* file, bool count_unfinished_last);

// Takes the map and the server's game type from an "InitGame:" line that
// holds "\mapname\" and "\protocol\" (or "\com_protocol\"); other lines are
// ignored. A value that ends the line runs to the line end.
void getGameInfo(std::string_view line);
void printGameInfo();
// Writes the two game-ending lines when the line is a "ShutdownGame:".
void printEndGame(std::string_view line);

// The whole program: returns the exit status. `argv` as given to main.
// Errors are printed on standard output as one "error: " line each; after a
// failed write or read the target is removed (when it is a regular file) and
// the previous tail is left as it was.
int run(int argc, char** argv);

}  // namespace preparse
