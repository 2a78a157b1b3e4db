// Every counted game gets its pages once: a log that grew since it was
// last read gets pages for its new games only, and a run killed between
// the commit of its games and their pages, or while making them, is
// finished by the next run, which also removes the pages the killed run
// left outside the rotation.
#include <set>
#include <string>

#include "season_fixture.h"

namespace {

// A console log of games `from` to `to` - 1: in game i Ann rails Vic<i>.
std::string consoleGames(int from, int to) {
  std::string log;
  for (int i = from; i < to; ++i) {
    const std::string victim = "Vic" + std::to_string(i);
    log += "Ann^7 entered the game\n" + victim + "^7 entered the game\n" + victim +
           "^7 was railed by Ann^7\nTimelimit hit.\n----- CL_Shutdown -----\n";
  }
  return log;
}

// A server's log of games `from` to `to` - 1.
std::string serverGames(int from, int to) {
  std::string log;
  for (int i = from; i < to; ++i) log += serverGame("P" + std::to_string(i), 1) + kGameEnd;
  return log;
}

class GamePages : public SeasonTest {
 protected:
  void SetUp() override {
    SeasonTest::SetUp();
    writeSeasonConfig("no_of_game_stats:\n8\n");
  }

  int run(const std::string& environment = "") {
    return kstest::runIn(dir_, environment + " ./kestrostats-s games.log > out.txt 2> errors.txt").status;
  }

  // The real pages of the rotation (placeholders left out).
  std::set<std::string> rotation() const {
    std::set<std::string> names;
    std::string rows = sql("select html from gamestats where html like 'kestrostats%';");
    for (std::size_t at = 0, end; (end = rows.find('\n', at)) != std::string::npos; at = end + 1) {
      names.insert(rows.substr(at, end - at));
    }
    return names;
  }

  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path() / "html")) {
      if (entry.is_regular_file()) names.insert(entry.path().filename().string());
    }
    return names;
  }

  // The rotation holds one entry per counted game, each game's pages are in
  // html/ and nothing else of the season is; no game is owed its pages.
  void expectOnePageEach(int games, const std::set<std::string>& others = {}) {
    const std::set<std::string> held = rotation();
    EXPECT_EQ(held.size(), static_cast<std::size_t>(games));
    std::set<std::string> expected = others;
    for (std::string page : held) {
      expected.insert(page);
      expected.insert(page.replace(page.rfind("_main."), 6, "_wpn."));
    }
    EXPECT_EQ(files(), expected);
    EXPECT_EQ(sql("select count(*) from countedgames where pages=0;"), "0\n");
  }
};

class KilledAroundThePages : public GamePages, public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_F(GamePages, ALogThatGrewGetsPagesForItsNewGamesOnly) {
  dir_.write("games.log", consoleGames(0, 3));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  const std::set<std::string> first = rotation();
  dir_.write("games.log", consoleGames(0, 4));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  expectOnePageEach(4);
  for (const std::string& page : first) EXPECT_EQ(rotation().count(page), 1u) << page;
  // The new game's page shows the new game.
  std::set<std::string> added = rotation();
  for (const std::string& page : first) added.erase(page);
  ASSERT_EQ(added.size(), 1u);
  const std::string page = dir_.read("html/" + *added.begin());
  EXPECT_NE(page.find("Vic3"), std::string::npos);
  EXPECT_EQ(page.find("Vic2"), std::string::npos);

  // Read again unchanged: nothing new, no pages made.
  ASSERT_EQ(run(), 0);
  EXPECT_EQ(dir_.read("out.txt").find("Generating game stats (html)"), std::string::npos);
  expectOnePageEach(4);
}

TEST_F(GamePages, AServerLogThatGrewGetsPagesForItsNewGamesOnly) {
  // Two games of the same lines count once, and get one page.
  dir_.write("games.log", serverGames(0, 2) + serverGames(1, 2));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  expectOnePageEach(2);
  dir_.write("games.log", serverGames(0, 2) + serverGames(1, 2) + serverGames(2, 4));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  expectOnePageEach(4);
  EXPECT_EQ(column("Bob", "games"), "4");
}

TEST_P(KilledAroundThePages, TheNextRunGivesEveryGameItsPagesAndRemovesTheLeftovers) {
  dir_.write("games.log", consoleGames(0, 3));
  ASSERT_EQ(run(std::string("KS_KILL_AT=") + GetParam()), 128 + 9);
  EXPECT_EQ(sql("select count(*) from countedgames;"), "3\n");
  // What else lives in html/ stays: the site's files, pages of other kinds.
  const std::set<std::string> others = {"c-kestro.css", "kestrostats_realtime_main.html", "notes_main.html"};
  for (const std::string& other : others) dir_.write("html/" + other, "x");
  // A page cut short by a kill under its temporary name.
  dir_.write("html/kestrostats_2024_01_02_03_04_05_1001_FFA_PUB_wpn.html.part", "<html>");
  dir_.write("games.log", consoleGames(0, 6));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  expectOnePageEach(6, others);
  EXPECT_EQ(column("Ann", "games"), "6");
}

INSTANTIATE_TEST_SUITE_P(EveryStep, KilledAroundThePages,
                         ::testing::Values("games-committed", "pages-made", "pages-rotated"));

TEST_F(GamePages, TablesOfEarlierVersionsKeepTheirPagesAndRotation) {
  dir_.write("games.log", consoleGames(0, 3));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  const std::set<std::string> first = rotation();
  // The tables as versions without servers made them.
  sql("alter table gamestats drop primary key, drop column server, add primary key (slot);"
      "alter table countedgames drop column server, drop column pages;");
  dir_.write("games.log", consoleGames(0, 4));
  ASSERT_EQ(run(), 0) << dir_.read("errors.txt");
  expectOnePageEach(4);
  for (const std::string& page : first) EXPECT_EQ(rotation().count(page), 1u) << page;
  // The old slots are this server's now; the old games are not owed pages.
  const std::string server = dir_.path().filename().string();
  EXPECT_EQ(sql("select count(*) from gamestats where server='" + server + "';"), "8\n");
  EXPECT_EQ(sql("select count(*) from countedgames where server is null and pages=1;"), "3\n");
}
