// A player's history from the game records: the games (newest first, in
// pages), the form over the last games, a summary per map, and the players
// the player killed most (easiest prey) and was killed by most (worst enemy).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game_records.h"
#include "season_ratings.h"
#include "site_model.h"

namespace site {

inline constexpr std::size_t kRivalsShown = 5;
inline constexpr std::size_t kPlayerGamesPerPage = 50;  // the player's page holds the first
inline constexpr std::size_t kFormGames = 50;
// The rating chart shows the line over this many of the last rated games.
inline constexpr std::size_t kRatingChartGames = 100;

struct Rival {
  std::string raw_name;
  std::int64_t kills = 0;
};

// The most-killed (prey) and most-killed-by (enemies) of one player, at most
// kRivalsShown each, most kills first (then by name).
struct Rivals {
  std::vector<Rival> prey;
  std::vector<Rival> enemies;
};

// Offers `rival` to a top list: kept when among the kRivalsShown best.
void offerRival(std::vector<Rival>& top, Rival rival);

// Every player's rivals, from the season's kills between players (one count
// per killer and victim, as head_to_head holds them): one entry per player
// of the model. False with `error` set when reading them fails.
bool readRivals(const SiteModel& m, GameRecordSource& records, std::vector<Rivals>& rivals, std::string& error);

// One player's games on one map.
struct MapRecord {
  std::string map;
  std::int64_t games = 0;
  std::int64_t wins = 0;
  std::int64_t frags = 0;
  std::int64_t kills = 0;
  std::int64_t deaths = 0;
};

// Per map of `games`, most games first (then by name).
std::vector<MapRecord> mapRecords(const std::vector<PlayerGame>& games);

struct PlayerHistory {
  const std::vector<PlayerGame>* games = nullptr;  // newest first; null: none recorded
  const Rivals* rivals = nullptr;
  bool records = true;  // false: the database keeps no game records
  const SeasonRatings* ratings = nullptr;  // null: none shown
};

// The pages of a player's game list: 1 is the player's page itself.
std::size_t playerGamesPageCount(std::size_t games);
// "players/p<hex>-games-<page>.html" for pages from 2 on.
std::string playerGamesPageName(const SiteModel& m, std::size_t player, std::size_t page);

// Appends the history to the player's page (`site` "../", the page in players/).
void appendPlayerHistory(std::string& out, const SiteModel& m, std::size_t player, const PlayerHistory& history);

// Page `page` (2 or more) of the player's game list.
std::string playerGamesPage(const SiteModel& m, std::size_t player, const std::vector<PlayerGame>& games,
                            std::size_t page, const std::string& pages);

}  // namespace site
