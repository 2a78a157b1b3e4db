// Translation of weapon statistics into the console's accuracy lines.
#pragma once

#include <string_view>

namespace preparse {

// Two sources are understood:
// - the server's "Weapon_Stats: " line, one per player, written by OSP at the
//   end of a game: one accuracy line per item, in the order of the items;
// - a client's "^7Stats for " block standing in the input: the rows that
//   follow are read from fp_now and consumed, up to the received-damage row,
//   the end of input, or a "ShutdownGame:" line, which is handed back to the
//   main loop so that the game it ends is still closed and counted.
void scanWepnStats(std::string_view line);

}  // namespace preparse
