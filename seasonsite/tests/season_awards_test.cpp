#include "season_awards.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "program_runner.h"
#include "site_test_data.h"

namespace site {
namespace {

const AwardResult& resultOf(const std::vector<AwardCategory>& categories, const std::vector<AwardResult>& results,
                            const std::string& id) {
  for (const AwardResult& r : results) {
    if (categories[r.category].id == id) return r;
  }
  ADD_FAILURE() << "no award " << id;
  static AwardResult none;
  return none;
}

struct AwardsTest : ::testing::Test {
  std::vector<PlayerRow> players;
  std::vector<AwardCategory> categories = awardCategories(10);
  std::vector<AwardResult> awards(std::vector<std::size_t> candidates) {
    return seasonAwards(players, candidates, categories);
  }
  std::vector<AwardResult> awardsAll() {
    std::vector<std::size_t> all;
    for (std::size_t i = 0; i < players.size(); ++i) all.push_back(i);
    return awards(all);
  }
};

TEST_F(AwardsTest, TiesShareAnAwardAndNothingToRankGivesNobody) {
  players = {makePlayer("a", 5, 1), makePlayer("b", 5, 2), makePlayer("c", 5, 3)};
  players[0].frags = 7;
  players[2].frags = 7;
  players[1].frags = 3;
  players[1].suicides = 4;
  auto r = awardsAll();
  EXPECT_EQ(resultOf(categories, r, "most_frags").winners, (std::vector<std::size_t>{0, 2}));
  EXPECT_EQ(resultOf(categories, r, "most_frags").best, 7);
  EXPECT_EQ(resultOf(categories, r, "most_suicides").winners, (std::vector<std::size_t>{1}));
  EXPECT_TRUE(resultOf(categories, r, "most_kills_BFG").winners.empty());
  EXPECT_TRUE(resultOf(categories, r, "most_quad").winners.empty());
  EXPECT_TRUE(resultOf(categories, r, "most_flag_caps").winners.empty());
}

TEST_F(AwardsTest, NegativeSkillWinsNothing) {
  players = {makePlayer("a", 5, -1), makePlayer("b", 5, -0.5)};
  EXPECT_TRUE(resultOf(categories, awardsAll(), "best_skill").winners.empty());
}

TEST_F(AwardsTest, AccuracyNeedsTheMinimumOfAttemptsAndEqualRatiosTie) {
  players = {makePlayer("few", 5, 0), makePlayer("half", 5, 0), makePlayer("also half", 5, 0)};
  players[0].accuracy[5] = {9, 9};    // rail: 100 %, but 9 attempts
  players[1].accuracy[5] = {10, 20};  // 50 %
  players[2].accuracy[5] = {30, 60};  // 50 %
  players[0].accuracy_total = {9, 9};
  players[1].accuracy_total = {10, 30};
  auto r = awardsAll();
  const AwardResult& rail = resultOf(categories, r, "best_accuracy_RG");
  EXPECT_EQ(rail.winners, (std::vector<std::size_t>{1, 2}));
  EXPECT_DOUBLE_EQ(rail.best, 50.0);
  EXPECT_EQ(resultOf(categories, r, "best_accuracy").winners, (std::vector<std::size_t>{1}));
  EXPECT_TRUE(resultOf(categories, r, "best_accuracy_MG").winners.empty());
}

TEST_F(AwardsTest, KillsPerDeathCountsNoDeathsAsOneAndOnlyCandidatesWin) {
  players = {makePlayer("newcomer", 1, 0), makePlayer("regular", 9, 0), makePlayer("deathless", 9, 0)};
  players[0].kills = 50;  // one game: not a candidate
  players[1].kills = 20;
  players[1].deaths = 4;  // 5.0
  players[2].kills = 5;   // no deaths: 5.0 as well
  auto r = awards({1, 2});
  EXPECT_EQ(resultOf(categories, r, "best_kills_per_death").winners, (std::vector<std::size_t>{1, 2}));
}

TEST_F(AwardsTest, EveryCategoryHasItsOwnIdAndAnImageTheSiteHas) {
  std::set<std::string> ids;
  for (const AwardCategory& c : categories) {
    EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_TRUE(std::filesystem::is_regular_file(kstest::sourceDir() / "site/html/images/awards" / c.image)) << c.image;
  }
}

}  // namespace
}  // namespace site
