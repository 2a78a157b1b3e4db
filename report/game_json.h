// The game as JSON, for bots and other sites: one file beside the game's two
// pages when the report configuration's make_json_stats: is "yes".
#pragma once

#include <string>

class Report;

// The JSON document of the game the report shows (format 1): the game, its
// teams and every player with figures, weapons and awards. Texts are the
// log's (printable ASCII), escaped for JSON.
std::string gameJson(const Report& r);
