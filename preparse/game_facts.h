// What a server's lines state of a game beyond its events: the date of its
// "ServerTime:" line, its length from start to "Exit:", how it ended, and the
// final team score the server writes after "Exit:". They reach the converted
// log as fact lines (fact_lines.h) at the end of the game's section.
#pragma once

#include <string_view>

#include "fact_lines.h"

namespace preparse {

// The facts of the game being read, and what is needed to find them.
struct ServerFacts {
  StatedFacts stated;
  int start_tenths = -1;   // stamp of the line that began the game, or -1
  bool exit_seen = false;  // an "Exit:" line was read; its team score may follow
};

// A line's time stamp in tenths of a second: "  0:00 ", "981:27 " (minutes
// and seconds) or "915.6 " (seconds and a tenth); -1 for a line without one.
int stampTenths(std::string_view line);

// Takes what the line states: a "ServerTime:" date (any time: OSP writes it
// after every "InitGame:", before the game begins), and while a game is open
// its "Exit:" (reason and, from the game's start, its length) and the
// "red:N  blue:N" line that follows the exit. Every other line is passed over.
void noteGameFact(ServerFacts& facts, std::string_view line, std::string_view event, bool game_open);

}  // namespace preparse
