// The season totals in the database: item pickups counted while parsing, and
// the SQL script that adds one finished game to the players' rows.
#pragma once

#include <cstdio>
#include <string_view>

namespace season {

// The stream of "db_sql.txt"; null between games.
extern std::FILE* fp_sql;

// Counts an item pickup line for its player.
void updateItems(std::string_view line);

// Writes text to "db_sql.txt", creating the file on the first write of a game.
void sqlWr(std::string_view text);

// Makes the player texts safe inside the script's quotes: every "'" becomes "_".
void sqlVerifyData();

// Writes the game's script and applies it with the mysql client.
void sqlMake();

}  // namespace season
