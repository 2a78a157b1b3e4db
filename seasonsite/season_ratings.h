// The players' Glicko-2 ratings over the season, worked out from the game
// records in the order the games were played: the same records give the
// same ratings, whatever order they are read in, so a rating always agrees
// with the games that are recorded.
//
// Each game is one rating period of the players in it, in one of two
// families: free-for-all (duels among them), where every pair of players is
// a result by their frags; and team games, where each player has a result
// against every player of the other team, the team's.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "game_records.h"
#include "glicko2.h"
#include "site_model.h"

namespace site {

enum class RatingFamily { kFreeForAll, kTeam };
constexpr std::array<RatingFamily, 2> kRatingFamilies = {RatingFamily::kFreeForAll, RatingFamily::kTeam};

// The family's key in JSON: "ffa" or "team".
const char* ratingFamilyKey(RatingFamily family);
// The family's name on the pages.
const char* ratingFamilyLabel(RatingFamily family);

struct PlayerRating {
  Glicko2Rating rating;
  std::int64_t games = 0;        // rated games of the family
  std::vector<float> history;    // the rating after each of them, oldest first
};

// A rating still this unsure (a deviation above 110) is shown as
// provisional.
constexpr double kProvisionalDeviation = 110;
inline bool isProvisional(const PlayerRating& r) { return r.rating.deviation > kProvisionalDeviation; }

class SeasonRatings {
 public:
  // Ratings for the players of `m`, all at the starting values.
  SeasonRatings(const SiteModel& m, Glicko2Settings settings = {});

  // Notes a game's results (its players of the season, their teams, frags
  // and results); games may come in any order.
  void addGame(const GameRecord& game);
  // Rates every game noted in the order played (listed time, then id).
  // Call it once, after the last addGame().
  void rate();

  const PlayerRating& of(std::size_t player, RatingFamily family) const {
    return ratings_[player][static_cast<std::size_t>(family)];
  }
  const Glicko2Settings& settings() const { return settings_; }

 private:
  struct Entry {
    std::uint32_t player;
    std::int32_t frags;
    char team;    // 'r', 'b', or 0 outside a team
    char result;  // 'w', 'l', 'd', or 0 when not known
  };
  struct NotedGame {
    std::int64_t listed;  // "YYYY-MM-DD HH:MM:SS" as the number YYYYMMDDHHMMSS
    std::int64_t id;
    RatingFamily family;
    std::vector<Entry> players;
  };
  void rateGame(const NotedGame& game);
  std::uint32_t identityOf(const std::string& raw_name);

  const SiteModel& m_;
  Glicko2Settings settings_;
  std::vector<NotedGame> games_;
  std::vector<std::array<PlayerRating, 2>> ratings_;  // the model's players, then the others
  std::array<PlayerRating, 2> ratings_start_;
  std::unordered_map<std::string, std::uint32_t> others_;  // names outside the model -> index in ratings_
};

}  // namespace site
