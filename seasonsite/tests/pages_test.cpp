// The pages and the site folder as a whole, from seasons made in the test.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>

#include "record_pages.h"
#include "html_text.h"
#include "index_page.h"
#include "player_history.h"
#include "player_page.h"
#include "program_runner.h"
#include "season_json.h"
#include "site_generator.h"
#include "site_test_data.h"
#include "svg_chart.h"

namespace site {
namespace {

const std::string kHostile = "<script>alert(1)</script>\"'&^1<img src=x onerror=alert(2)>^X\"><u>";

// Player page links in the order they appear in `html`.
std::vector<std::string> linkedPages(const std::string& html) {
  std::vector<std::string> pages;
  std::regex link("href=\"(players/p[0-9a-f]*\\.html)\"");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), link); it != std::sregex_iterator(); ++it) {
    pages.push_back((*it)[1]);
  }
  return pages;
}

// Nothing of a hostile name may reach a page as markup.
void expectNoInjection(const std::string& html) {
  EXPECT_EQ(html.find("<script>alert"), std::string::npos);
  EXPECT_EQ(html.find("<img src=x"), std::string::npos);
  EXPECT_EQ(html.find("<u>"), std::string::npos);
}

struct PagesTest : ::testing::Test {
  SeasonData data;
  void SetUp() override {
    data.last_update = "2024-06-12 20:15:03";
    data.players = {makePlayer("^1Red^7Dog", 5, 3.5), makePlayer(kHostile, 4, 7.25), makePlayer("newcomer", 1, 9)};
    data.players[1].model = "<sarge>";
    data.players[1].quote = "gg </q><script>x</script>";
    data.players[1].kills_by_weapon[4] = 12;  // rockets
    data.players[1].accuracy[5] = {5, 20};     // rail, no kills
    data.players[1].frags = 12;
    data.clans = {{kHostile, 1.5}};
    data.game_slots = {{1, "kestrostats_2024_06_12_20_15_03_1_FFA_PUB_main.html"}, {2, "1002.html"}};
  }
};

TEST_F(PagesTest, TheLeaderboardListsRegularsInSkillOrderAndAllPlayersEveryone) {
  SiteModel m = modelOf(data, 2, true);
  std::string index = indexPage(m, "../");
  std::vector<std::string> board = linkedPages(index.substr(index.find("id=\"leaderboard\"")));
  board.resize(std::min<std::size_t>(board.size(), 2));
  EXPECT_EQ(board, (std::vector<std::string>{m.page[1], m.page[0]}));
  EXPECT_EQ(index.find(m.page[2]), std::string::npos) << "a one-game player on the front page";
  std::string all = allPlayersPage(m, "../");
  EXPECT_EQ(linkedPages(all), (std::vector<std::string>{m.page[2], m.page[1], m.page[0]}));
  EXPECT_NE(index.find("href=\"../kestrostats_2024_06_12_20_15_03_1_FFA_PUB_main.html\""), std::string::npos);
  EXPECT_EQ(index.find("1002.html"), std::string::npos);
  EXPECT_NE(index.find("2024-06-12 20:15:03"), std::string::npos);
  EXPECT_NE(index.find("src=\"../images/awards/carnage_rocket.jpg\""), std::string::npos);
}

TEST_F(PagesTest, NoTextFromTheDatabaseBecomesMarkupOnAnyPage) {
  SiteModel m = modelOf(data, 2, true);
  expectNoInjection(indexPage(m, "../"));
  expectNoInjection(allPlayersPage(m, "../"));
  std::string page = playerPage(m, 1, "../");
  expectNoInjection(page);
  EXPECT_NE(page.find("&lt;sarge&gt;"), std::string::npos);
  EXPECT_NE(page.find("gg &lt;/q&gt;&lt;script&gt;x&lt;/script&gt;"), std::string::npos);
  EXPECT_NE(page.find("<title>kestro stats - &lt;script&gt;"), std::string::npos);
}

TEST_F(PagesTest, APlayerPageLinksBackAndReachesTheSiteFilesFromItsFolder) {
  SiteModel m = modelOf(data);
  std::string page = playerPage(m, 0, "../");
  EXPECT_NE(page.find("href=\"../index.html\""), std::string::npos);
  EXPECT_NE(page.find("href=\"../../c-kestro.css\""), std::string::npos);
  EXPECT_NE(page.find("href=\"../season.css\""), std::string::npos);
  EXPECT_NE(page.find("src=\"../season.js\""), std::string::npos);
  EXPECT_NE(page.find("<font color=#FF0000>Red</font>"), std::string::npos);
}

TEST_F(PagesTest, TheChartHasABarPerWeaponUsedAndANoteWithoutAny) {
  std::string chart;
  appendWeaponChart(chart, data.players[1]);
  // Rockets: a kill bar; rail: an empty kill bar, a track and an accuracy bar.
  std::regex bar("<rect x=\"(\\d+)\" y=\"\\d+\" width=\"(\\d+)\"");
  std::vector<int> widths;
  for (auto it = std::sregex_iterator(chart.begin(), chart.end(), bar); it != std::sregex_iterator(); ++it) {
    widths.push_back(std::stoi((*it)[2]));
  }
  EXPECT_EQ(widths, (std::vector<int>{200, 0, 200, 50}));
  EXPECT_NE(chart.find("rocket launcher: 12 kills"), std::string::npos);
  EXPECT_NE(chart.find("25.0 %"), std::string::npos);
  std::string none;
  appendWeaponChart(none, data.players[0]);
  EXPECT_EQ(none.find("<svg"), std::string::npos);
}

TEST_F(PagesTest, SeasonJsonHoldsEveryPlayerWithNamedFields) {
  SiteModel m = modelOf(data, 2, true);
  nlohmann::json j = nlohmann::json::parse(seasonJson(m, "now"));
  ASSERT_EQ(j["players"].size(), 3u);
  EXPECT_EQ(j["players"][1]["raw_name"], kHostile);
  EXPECT_EQ(j["players"][1]["kills_by_weapon"]["RL"], 12);
  EXPECT_EQ(j["players"][1]["accuracy"]["RG"]["percent"], 25.0);
  EXPECT_TRUE(j["players"][1]["accuracy"]["MG"]["percent"].is_null());
  EXPECT_EQ(j["players"][0]["on_leaderboard"], false);
  EXPECT_EQ(j["clans"][0]["tag"], kHostile);
  EXPECT_EQ(j["games"].size(), 1u);
  EXPECT_EQ(j["games"][0]["weapons"], nullptr);
}

TEST(SiteGenerator, WritesTheWholeFolderAndDropsPagesOfNamesNoLongerThere) {
  kstest::TempDir dir;
  dir.write("season/players/p6f6c64.html", "a player of another season");
  dir.write("season/players/notes.txt", "the admin's");
  dir.write("season/index.html.part-999999999", "left by a killed run");
  SeasonData data;
  data.players = {makePlayer("Alice", 3, 1), makePlayer("Bob", 3, 2)};
  SiteModel m = modelOf(data);
  std::string error;
  SiteCounts counts;
  ASSERT_TRUE(writeSite(m, SiteOutput{dir.path() / "season", "../", "now"}, counts, error)) << error;
  EXPECT_EQ(counts.written, 10u);
  for (const char* f : {"index.html", "all.html", "season.json", "season.css", "season.js", "games.html", "games.json",
                        "maps.html",
                        "players/p416c696365.html", "players/p426f62.html", "players/notes.txt"}) {
    EXPECT_TRUE(dir.exists(std::string("season/") + f)) << f;
  }
  EXPECT_FALSE(dir.exists("season/players/p6f6c64.html"));
  EXPECT_FALSE(dir.exists("season/index.html.part-999999999"));
}

TEST(SiteGenerator, AFolderThatCannotBeMadeFailsBeforeAnythingIsWritten) {
  kstest::TempDir dir;
  dir.write("season", "a file where the folder should be");
  SeasonData data;
  SiteModel m = modelOf(data);
  std::string error;
  SiteCounts counts;
  EXPECT_FALSE(writeSite(m, SiteOutput{dir.path() / "season", "../", "now"}, counts, error));
  EXPECT_EQ(dir.read("season"), "a file where the folder should be");
}

// Game records from a list, newest first as the database gives them.
class ListedGames : public GameRecordSource {
 public:
  explicit ListedGames(std::vector<GameRecord> games) : games_(std::move(games)) {}
  bool hasRecords() const override { return true; }
  std::int64_t unrecordedGames() const override { return 2; }
  std::int64_t recordedGames() const override { return static_cast<std::int64_t>(games_.size()); }
  bool forEachGame(const GameVisitor& each, std::string& error) override {
    for (const GameRecord& g : games_) {
      if (!each(g, error)) return false;
    }
    return true;
  }
  bool forEachPlayersGames(const PlayerGamesVisitor&, std::string&) override { return true; }
  bool forEachHeadToHead(const HeadToHeadVisitor&, std::string&) override { return true; }

 private:
  std::vector<GameRecord> games_;
};

std::vector<GameRecord> gamesOnMap(std::size_t n, const std::string& map) {
  std::vector<GameRecord> games;
  for (std::size_t i = n; i > 0; --i) {
    GameRecord g;
    g.id = static_cast<std::int64_t>(i);
    g.counted = g.listed = "2024-01-01 00:00:00";
    g.map = map;
    g.type = "ffa";
    g.duration = 90;
    GamePlayer p;
    p.figures = makePlayer(kHostile, 1, 0);
    g.players.push_back(p);
    games.push_back(std::move(g));
  }
  return games;
}

// The list's pages break after every hundredth game, and no sooner.
TEST(GamePages, AListPageHoldsAHundredGamesAndTheNextPageTheRest) {
  for (std::size_t n : {100u, 101u}) {
    kstest::TempDir dir;
    SeasonData data;
    data.players = {makePlayer(kHostile, 3, 1)};
    SiteModel m = modelOf(data);
    ListedGames source(gamesOnMap(n, "q3dm17"));
    std::string error;
    SiteCounts counts;
    ASSERT_TRUE(writeSite(m, SiteOutput{dir.path() / "season", "../", "now"}, source, counts, error)) << error;
    std::string first = dir.read("season/games.html");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n') > 100, true);
    EXPECT_EQ(dir.exists("season/games-2.html"), n == 101) << n;
    EXPECT_EQ(first.find("rel=\"next\"") != std::string::npos, n == 101) << n;
    EXPECT_TRUE(dir.exists("season/games/" + std::to_string(n) + ".html"));
    EXPECT_NE(first.find("2 counted games have no record"), std::string::npos);
    EXPECT_NE(dir.read("season/maps/m" + hexOf("q3dm17") + ".html").find(std::to_string(n) + " games, on average 1:30"),
              std::string::npos);
    expectNoInjection(dir.read("season/games/1.html"));
  }
}

// Every byte of a map's name shows in its page's file name as hexadecimal.
TEST(GamePages, MapAndSummaryFileNamesAreSafeForAnyName) {
  EXPECT_EQ(mapPageName("../a/b"), "maps/m2e2e2f612f62.html");
  EXPECT_EQ(mapPageName(""), "maps/m.html");
  EXPECT_NE(mapPageName("Q3DM17"), mapPageName("q3dm17"));
  EXPECT_EQ(summaryPageName(42), "games/42.html");
  EXPECT_EQ(gamesListPageName(1), "games.html");
  EXPECT_EQ(gamesListPageName(3), "games-3.html");
  EXPECT_EQ(durationText(605), "10:05");
  EXPECT_EQ(durationText(std::nullopt), "-");
}

// A top list keeps the five best, most kills first, ties by name.
TEST(PlayerHistory, RivalsKeepTheFiveWithTheMostKills) {
  std::vector<Rival> top;
  for (int i = 0; i < 9; ++i) offerRival(top, {"p" + std::to_string(i), i % 4});
  ASSERT_EQ(top.size(), kRivalsShown);
  EXPECT_EQ(top[0].kills, 3);
  EXPECT_EQ(top[0].raw_name, "p3");
  EXPECT_EQ(top[1].raw_name, "p7");
  EXPECT_EQ(top[3].raw_name, "p6");
  EXPECT_EQ(top[4].raw_name, "p1");
}

}  // namespace
}  // namespace site
