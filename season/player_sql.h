// The season totals in the database: item pickups counted while parsing, the
// schema, and the statements that add one finished game to the players' rows.
#pragma once

#include <string>
#include <string_view>

#include "season_config.h"

struct Game;
struct LineEvent;

namespace season {

// Counts an item pickup line for its player.
void updateItems(Game& game, const LineEvent& event);

// The script that prepares the database: creates it and its tables when they
// are missing (playerstats, gamestats, clanstats, miscstats and countedgames,
// the fingerprints of the games already counted) and brings tables made by
// earlier versions up to date: raw names and tags become byte strings, so
// that "Alice" and "Alice " are two players, and every table becomes
// transactional (InnoDB), so that a game is committed whole or not at all.
// The page slots and the counted games carry the server's name (slots of
// earlier versions go to the first server that has none), and each counted
// game whether its pages were made.
std::string schemaScript(const SeasonConfig& config);

// The server's name (config.server) escaped for a literal in the scripts.
std::string serverValue(const SeasonConfig& config);

// Makes the player texts safe inside the script's quotes: every "'" becomes "_".
void sqlVerifyData(Game& game);

// The statements of the game in the player table: the time of the last
// update, this server's page slots, and for every player who did something the INSERT
// and the UPDATEs of the row. Runs sqlVerifyData() first.
std::string gameStatements(Game& game, const SeasonConfig& config);

}  // namespace season
