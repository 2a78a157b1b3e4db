// Kill events: whose kill it was, and what one kill changes in the player
// table. (A line's names and weapon are read by line_names.h.)
#pragma once

#include <string_view>

struct Game;
struct LineEvent;

// Player index of a name taken from a line; kNobody for kNoQuote or a name
// that is not in the table.
int indexOfName(const Game& game, std::string_view name);
// Player indices of the event's subject and second name; kNobody when
// unknown or absent.
int getVictim(const Game& game, const LineEvent& event);
int getAttacker(const Game& game, const LineEvent& event);

// Applies one kill: tallies, streaks, team kills and the live rating changes.
void updateTables(Game& game, const LineEvent& event);
