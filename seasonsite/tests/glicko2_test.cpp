#include "glicko2.h"
#include "season_ratings.h"
#include "site_test_data.h"

#include <gtest/gtest.h>

#include <cmath>

namespace site {
namespace {

// The worked example of Glickman's "Example of the Glicko-2 system". The
// paper rounds as it goes: its new rating on the Glicko-2 scale, -0.2069,
// gives its 1464.06; unrounded it is -0.20694, 1464.05. So the rating is
// held to the paper's four places on that scale, the rest to its print.
TEST(Glicko2, ReproducesThePapersExample) {
  const Glicko2Rating player{1500, 200, 0.06};
  const std::vector<Glicko2Result> games = {
      {{1400, 30, 0.06}, 1},
      {{1550, 100, 0.06}, 0},
      {{1700, 300, 0.06}, 0},
  };
  const Glicko2Rating after = glicko2Update(player, games, Glicko2Settings{0.5});
  EXPECT_NEAR((after.rating - 1500) / 173.7178, -0.2069, 0.00005);
  EXPECT_NEAR(after.rating, 1464.06, 0.01);
  EXPECT_NEAR(after.deviation, 151.52, 0.005);
  EXPECT_NEAR(after.volatility, 0.05999, 0.00001);
}

TEST(Glicko2, AnUnseenPlayerOnlyGrowsLessSureAndNoResultGivesNaN) {
  const Glicko2Rating player{1620, 80, 0.06};
  const Glicko2Rating unseen = glicko2Update(player, {});
  EXPECT_EQ(unseen.rating, 1620);
  EXPECT_NEAR(unseen.deviation, std::sqrt(80.0 * 80 + std::pow(0.06 * 173.7178, 2)), 1e-9);
  // Wins, losses and draws between the starting values and far-off ones.
  for (double opponent : {1500.0, -1e9, 1e9}) {
    for (double score : {0.0, 0.5, 1.0}) {
      const Glicko2Rating r = glicko2Update(Glicko2Rating{}, {{{opponent, 350, 0.06}, score}});
      EXPECT_TRUE(std::isfinite(r.rating) && std::isfinite(r.deviation) && std::isfinite(r.volatility))
          << opponent << " " << score;
    }
  }
  // A win raises, a loss lowers, a draw between equals leaves the rating.
  EXPECT_GT(glicko2Update(Glicko2Rating{}, {{Glicko2Rating{}, 1}}).rating, 1500);
  EXPECT_LT(glicko2Update(Glicko2Rating{}, {{Glicko2Rating{}, 0}}).rating, 1500);
  EXPECT_NEAR(glicko2Update(Glicko2Rating{}, {{Glicko2Rating{}, 0.5}}).rating, 1500, 1e-9);
}

}  // namespace
}  // namespace site

namespace site {
namespace {

GamePlayer playerIn(const std::string& raw_name, std::int64_t frags, const std::string& team = "none",
                    const std::string& result = "") {
  GamePlayer p;
  p.figures = makePlayer(raw_name, 1, 0);
  p.figures.frags = frags;
  p.team = team;
  p.result = result;
  return p;
}

GameRecord gameOf(std::int64_t id, const std::string& listed, const std::string& type, std::vector<GamePlayer> players) {
  GameRecord g;
  g.id = id;
  g.listed = g.counted = listed;
  g.type = type;
  g.players = std::move(players);
  return g;
}

// Free-for-all pairs by frags and team games by the team's result, in the
// order played however the games come, each family on its own.
TEST(SeasonRatings, GamesAreRatedInTheOrderPlayedAndEachFamilyOnItsOwn) {
  SeasonData data;
  data.players = {makePlayer("a", 3, 0), makePlayer("b", 3, 0), makePlayer("c", 3, 0)};
  SiteModel m = modelOf(data);
  const std::vector<GameRecord> games = {
      gameOf(3, "2024-01-03 10:00:00", "ctf",
             {playerIn("a", 1, "red", "won"), playerIn("b", 9, "blue", "lost"), playerIn("c", 5, "red", "won")}),
      gameOf(2, "2024-01-02 10:00:00", "ffa", {playerIn("a", 20), playerIn("b", 10), playerIn("gone", 30)}),
      gameOf(1, "2024-01-02 10:00:00", "ffa", {playerIn("c", 5), playerIn("a", 5)}),
  };
  auto rated = [&](std::vector<GameRecord> order) {
    SeasonRatings r(m);
    for (const GameRecord& g : order) r.addGame(g);
    r.rate();
    return r;
  };
  SeasonRatings newest_first = rated(games);
  SeasonRatings oldest_first = rated({games[2], games[1], games[0]});
  for (std::size_t p = 0; p < 3; ++p) {
    for (RatingFamily f : kRatingFamilies) {
      EXPECT_EQ(newest_first.of(p, f).rating.rating, oldest_first.of(p, f).rating.rating);
      EXPECT_EQ(newest_first.of(p, f).rating.deviation, oldest_first.of(p, f).rating.deviation);
    }
  }
  const auto ffa = RatingFamily::kFreeForAll;
  const auto team = RatingFamily::kTeam;
  // Game 1, a draw between equals, changes only the deviations; game 2: a
  // beat b and lost to "gone", a player the site does not show (hidden),
  // who is rated all the same.
  const Glicko2Rating draw = glicko2Update(Glicko2Rating{}, {{Glicko2Rating{}, 0.5}});
  const Glicko2Rating a_after = glicko2Update(draw, {{Glicko2Rating{}, 1}, {Glicko2Rating{}, 0}});
  EXPECT_EQ(newest_first.of(0, ffa).rating.rating, a_after.rating);
  EXPECT_EQ(newest_first.of(0, ffa).games, 2);
  EXPECT_LT(newest_first.of(1, ffa).rating.rating, 1500);
  EXPECT_EQ(newest_first.of(2, ffa).rating.rating, draw.rating);
  // The capture game: a and c each beat b; b lost to both; frags do not count.
  EXPECT_GT(newest_first.of(0, team).rating.rating, 1500);
  EXPECT_EQ(newest_first.of(0, team).rating.rating, newest_first.of(2, team).rating.rating);
  EXPECT_LT(newest_first.of(1, team).rating.rating, 1500);
  EXPECT_EQ(newest_first.of(1, team).games, 1);
}

}  // namespace
}  // namespace site
