// maps.html and one page per map (maps/m<hex of the name>.html: safe and
// different for every name, like the player pages): games, average
// duration, the latest games and the best players on the map.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "record_pages.h"
#include "player_history.h"
#include "site_model.h"

namespace site {

inline constexpr std::size_t kMapLatestGames = 10;
inline constexpr std::size_t kMapBestPlayers = 10;

// A player's figures on one map.
struct MapPlayer {
  std::size_t player = 0;
  MapRecord record;
};

struct MapStats {
  std::string map;
  std::int64_t games = 0;
  std::int64_t timed = 0;    // games whose duration is known
  std::int64_t seconds = 0;  // their durations summed
  std::vector<GameBrief> latest;  // newest first
  std::vector<MapPlayer> best;    // best kills per death first
};

// Gathers the maps while the games and the players' games stream by.
class MapTable {
 public:
  // Games must come newest first.
  void addGame(const GameBrief& game);
  // One player's records per map; a map counts once the player has
  // `min_games` games on it.
  void addPlayer(std::size_t player, const std::vector<MapRecord>& records, std::int64_t min_games);

  const std::map<std::string, MapStats>& maps() const { return maps_; }

 private:
  std::map<std::string, MapStats> maps_;
};

std::string mapsPage(const SiteModel& m, const MapTable& maps, const std::string& pages);
std::string mapPage(const SiteModel& m, const MapStats& map, const std::string& pages);

}  // namespace site
