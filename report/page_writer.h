// The page writer of the report: every page of a game is written through it.
#pragma once

#include <cstdio>

// The page being written; null between games.
extern std::FILE* fpw;

// The rotation file "db_sql_gamestats.txt", opened for appending by the
// driver for the whole run (null when it could not be opened).
extern std::FILE* fp_sql_gamestats;

// Writes the whole report of the game in the player table.
void makeHtml();
