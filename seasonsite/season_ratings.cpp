#include "season_ratings.h"

#include <algorithm>
#include <limits>

namespace site {

namespace {

std::int64_t listedNumber(const std::string& listed) {
  std::int64_t n = 0;
  for (char c : listed) {
    if (c >= '0' && c <= '9') n = n * 10 + (c - '0');
  }
  return n;
}

char teamOf(const std::string& team) { return team == "red" ? 'r' : team == "blue" ? 'b' : 0; }

char resultOf(const std::string& result) {
  return result == "won" ? 'w' : result == "lost" ? 'l' : result == "draw" ? 'd' : 0;
}

double scoreOfResult(char result) { return result == 'w' ? 1.0 : result == 'l' ? 0.0 : 0.5; }

std::int32_t clampedFrags(std::int64_t frags) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(frags, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

const char* ratingFamilyKey(RatingFamily family) { return family == RatingFamily::kFreeForAll ? "ffa" : "team"; }

const char* ratingFamilyLabel(RatingFamily family) {
  return family == RatingFamily::kFreeForAll ? "free-for-all and duels" : "team games";
}

SeasonRatings::SeasonRatings(const SiteModel& m, Glicko2Settings settings) : m_(m), settings_(settings) {
  PlayerRating start;
  start.rating = Glicko2Rating{settings.start_rating, settings.start_deviation, settings.start_volatility};
  ratings_start_ = {start, start};
  ratings_.assign(m.data->players.size(), ratings_start_);
}

void SeasonRatings::addGame(const GameRecord& game) {
  NotedGame noted{listedNumber(game.listed), game.id,
                  game.type == "ffa" ? RatingFamily::kFreeForAll : RatingFamily::kTeam, {}};
  for (const GamePlayer& p : game.players) {
    noted.players.push_back(Entry{identityOf(p.figures.raw_name), clampedFrags(p.figures.frags), teamOf(p.team),
                                  resultOf(p.result)});
  }
  if (noted.players.size() >= 2) games_.push_back(std::move(noted));
}

std::uint32_t SeasonRatings::identityOf(const std::string& raw_name) {
  if (std::optional<std::size_t> player = playerIndex(m_, raw_name)) return static_cast<std::uint32_t>(*player);
  // A player the site does not show (hidden): rated all the same, so that
  // the others' ratings take every game they played.
  auto [at, added] = others_.emplace(raw_name, static_cast<std::uint32_t>(ratings_.size()));
  if (added) ratings_.push_back(ratings_start_);
  return at->second;
}

void SeasonRatings::rateGame(const NotedGame& game) {
  const auto f = static_cast<std::size_t>(game.family);
  std::vector<Glicko2Rating> after(game.players.size());
  std::vector<bool> rated(game.players.size(), false);
  std::vector<Glicko2Result> results;
  for (std::size_t i = 0; i < game.players.size(); ++i) {
    const Entry& me = game.players[i];
    results.clear();
    for (std::size_t k = 0; k < game.players.size(); ++k) {
      const Entry& other = game.players[k];
      if (k == i || other.player == me.player) continue;
      const Glicko2Rating& opponent = ratings_[other.player][f].rating;
      if (game.family == RatingFamily::kFreeForAll) {
        results.push_back({opponent, me.frags > other.frags ? 1.0 : me.frags < other.frags ? 0.0 : 0.5});
      } else if (me.team != 0 && other.team != 0 && other.team != me.team && me.result != 0) {
        results.push_back({opponent, scoreOfResult(me.result)});
      }
    }
    if (results.empty()) continue;
    after[i] = glicko2Update(ratings_[me.player][f].rating, results, settings_);
    rated[i] = true;
  }
  // Everybody is rated against the ratings from before the game.
  for (std::size_t i = 0; i < game.players.size(); ++i) {
    if (!rated[i]) continue;
    PlayerRating& r = ratings_[game.players[i].player][f];
    r.rating = after[i];
    ++r.games;
    r.history.push_back(static_cast<float>(after[i].rating));
  }
}

void SeasonRatings::rate() {
  std::sort(games_.begin(), games_.end(), [](const NotedGame& a, const NotedGame& b) {
    return a.listed != b.listed ? a.listed < b.listed : a.id < b.id;
  });
  for (const NotedGame& g : games_) rateGame(g);
}

}  // namespace site
