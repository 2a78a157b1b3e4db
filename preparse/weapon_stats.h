// Translation of weapon statistics into the console's accuracy lines.
#pragma once

#include <string_view>

namespace preparse {

// Two sources are understood:
// - the server's "Weapon_Stats: " line, one per player, written by OSP at the
//   end of a game: one accuracy line per item, in the order of the items;
// - a client's "^7Stats for " block standing in the input: the rows that
//   follow are read from fp_now and consumed, up to the received-damage row,
//   the end of input, or a line that frames a game ("ShutdownGame:",
//   "InitGame:", "Game_Start:"), which is handed back to the main loop so that
//   the game it ends or begins is still framed and counted.
// Both are recognised by their event keyword at the start of the line (after
// its time stamp) only.
void scanWepnStats(std::string_view line);

}  // namespace preparse
