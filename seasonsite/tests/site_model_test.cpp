#include "site_model.h"

#include <gtest/gtest.h>

#include <set>

#include "site_test_data.h"

namespace site {
namespace {

TEST(SiteModel, PlayersRankBySkillThenGamesThenNameAndOnlyRegularsQualify) {
  SeasonData data;
  data.players = {makePlayer("b", 3, 1.5), makePlayer("a", 3, 1.5), makePlayer("top", 1, 9),
                  makePlayer("more games", 8, 1.5), makePlayer("low", 2, -4)};
  SiteModel m = modelOf(data, 2);
  EXPECT_EQ(m.by_skill, (std::vector<std::size_t>{2, 3, 1, 0, 4}));
  EXPECT_EQ(m.rank[2], 1u);
  EXPECT_EQ(m.rank[4], 5u);
  EXPECT_EQ(m.qualified, 4u);
  EXPECT_FALSE(qualifies(m, 2));
  EXPECT_EQ(modelOf(data, 0).qualified, 5u);
}

TEST(SiteModel, EveryRawNameGetsItsOwnSafePageName) {
  SeasonData data;
  for (const char* name : {"Alice", "Alice ", "alice", "", "../etc", "a/b", "^1<b>"}) {
    data.players.push_back(makePlayer(name, 1, 0));
  }
  data.players.push_back(makePlayer(std::string("\0\xFF", 2), 1, 0));
  SiteModel m = modelOf(data);
  std::set<std::string> pages(m.page.begin(), m.page.end());
  EXPECT_EQ(pages.size(), data.players.size());
  for (const std::string& page : m.page) {
    EXPECT_EQ(page.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789./"), std::string::npos) << page;
    EXPECT_TRUE(page.starts_with("players/p")) << page;
    EXPECT_EQ(page.find("..", 0), std::string::npos) << page;
  }
  EXPECT_EQ(m.page[0], "players/p416c696365.html");
  EXPECT_EQ(m.page[3], "players/p.html");
}

TEST(SiteModel, GamePageNamesAreReadAndPlaceholdersOrForeignNamesRefused) {
  GamePageLink link;
  ASSERT_TRUE(parseGamePage("kestrostats_2024_06_12_20_15_03_12_CTF_RED_vs_BLUE_main.html", link));
  EXPECT_EQ(link.when, "2024-06-12 20:15:03");
  EXPECT_EQ(link.game, 12);
  EXPECT_EQ(link.label, "CTF RED vs BLUE");
  EXPECT_EQ(link.weapons, "kestrostats_2024_06_12_20_15_03_12_CTF_RED_vs_BLUE_wpn.html");
  EXPECT_EQ(link.json, "kestrostats_2024_06_12_20_15_03_12_CTF_RED_vs_BLUE_game.json");
  ASSERT_TRUE(parseGamePage("kestrostats_realtime_main.htm", link));
  EXPECT_EQ(link.when, "");
  EXPECT_EQ(link.label, "realtime");
  EXPECT_EQ(link.weapons, "kestrostats_realtime_wpn.htm");
  for (const char* bad : {"1001.html", "", "kestrostats_x_wpn.html", "../kestrostats_main.html",
                          "kestrostats_a b_main.html", "kestrostats_\"_main.html", "other_main.html"}) {
    EXPECT_FALSE(parseGamePage(bad, link)) << bad;
  }
}

TEST(SiteModel, GamesComeNewestFirstOnceEachWithTheTwinsThatExist) {
  SeasonData data;
  data.game_slots = {{1, "kestrostats_2024_06_12_20_15_03_9_FFA_PUB_main.html"},
                     {2, "kestrostats_2024_06_12_20_15_03_10_FFA_PUB_main.html"},
                     {3, "1003.html"},
                     {4, "kestrostats_2024_06_11_08_00_00_1_FFA_PUB_main.html"},
                     {5, "kestrostats_realtime_main.html"},
                     {6, "kestrostats_realtime_main.html"}};
  SiteModel m = buildModel(data, SiteRules(), [](const std::string& name) {
    return name == "kestrostats_2024_06_12_20_15_03_10_FFA_PUB_wpn.html" ||
           name == "kestrostats_2024_06_12_20_15_03_10_FFA_PUB_game.json";
  });
  ASSERT_EQ(m.games.size(), 4u);
  EXPECT_EQ(m.games[0].game, 10);
  EXPECT_FALSE(m.games[0].weapons.empty());
  EXPECT_FALSE(m.games[0].json.empty());
  EXPECT_EQ(m.games[1].game, 9);
  EXPECT_TRUE(m.games[1].weapons.empty());
  EXPECT_EQ(m.games[2].when, "2024-06-11 08:00:00");
  EXPECT_EQ(m.games[3].label, "realtime");
}

TEST(SiteModel, ClansRankByStatWithTagsWithoutOneLastAndOnlyWhenDetected) {
  SeasonData data;
  data.clans = {{"[A]", 1.0}, {"[B]", std::nullopt}, {"[C]", 3.0}};
  EXPECT_EQ(modelOf(data, 2, true).clans, (std::vector<std::size_t>{2, 0, 1}));
  EXPECT_TRUE(modelOf(data, 2, false).clans.empty());
}

}  // namespace
}  // namespace site
