// games.json: every recorded game with its players, for bots and other
// sites. Written game by game, so that a season of any length costs one game
// in memory: {"format": 1, "games": [...]}.
#pragma once

#include "game_records.h"
#include "json_writer.h"

namespace site {

// Opens the document: the format and the start of the games array.
void beginGamesJson(JsonWriter& j);
// One game's object within the array.
void writeGameJson(JsonWriter& j, const GameRecord& game);
// Closes the array and the document.
void endGamesJson(JsonWriter& j);

}  // namespace site
