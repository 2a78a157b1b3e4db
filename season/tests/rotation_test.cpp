// The rotating per-game pages: kestrostats-c writes them, the database keeps
// one slot per page, and pages that fall out of the slots are deleted.
#include <set>
#include <string>

#include "season_fixture.h"

using PageRotation = SeasonTest;

namespace {

// A console log of `games` two-player games. Each game says which it is, so
// no two games of the tests are the same game.
std::string gamesLog(int games, const std::string& label) {
  std::string log;
  for (int i = 0; i < games; ++i) {
    log += "Ann^7 entered the game\nBen^7 entered the game\nAnn^7: " + label + " game " + std::to_string(i) +
           "\nBen^7 was railed by Ann^7\nTimelimit hit.\n----- CL_Shutdown -----\n";
  }
  return log;
}

std::set<std::string> pages(const kstest::TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "html")) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

std::string slots(const SeasonTest& test) { return test.sql("select slot, html from gamestats order by slot;"); }

}  // namespace

TEST_F(PageRotation, NewSlotsStartWithPlaceholdersAndTakeTheNewPage) {
  writeSeasonConfig("no_of_game_stats:\n3\n");
  dir_.write("one.log", gamesLog(1, "one"));
  auto result = season("one.log");
  ASSERT_EQ(result.status, 0) << result.output;
  std::string table = slots(*this);
  EXPECT_NE(table.find("1\tkestrostats_"), std::string::npos) << table;
  EXPECT_NE(table.find("2\t1002.html\n3\t1003.html\n"), std::string::npos) << table;
  EXPECT_EQ(pages(dir_).size(), 2u);  // the main page and its weapon page
}

TEST_F(PageRotation, MoreGamesThanSlotsKeepOnlyTheNewest) {
  writeSeasonConfig("no_of_game_stats:\n1\n");
  dir_.write("three.log", gamesLog(3, "three"));
  ASSERT_EQ(season("three.log").status, 0);
  auto left = pages(dir_);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_NE(left.begin()->find("_1003_FFA_PUB_"), std::string::npos);
  EXPECT_NE(slots(*this).find("_1003_FFA_PUB_main.html"), std::string::npos);
}

TEST_F(PageRotation, APageDisplacedByALaterRunGoesWithItsWeaponPageAndJson) {
  dir_.write("c-default.cfg", "make_json_stats:\nyes\n");
  writeSeasonConfig("no_of_game_stats:\n1\n");
  dir_.write("one.log", gamesLog(1, "first"));
  ASSERT_EQ(season("one.log").status, 0);
  auto before = pages(dir_);
  ASSERT_EQ(before.size(), 3u);  // main page, weapon page, JSON file
  dir_.write("one.log", gamesLog(1, "second"));
  ASSERT_EQ(season("one.log").status, 0);
  auto after = pages(dir_);
  ASSERT_EQ(after.size(), 3u);
  for (const std::string& old_page : before) EXPECT_EQ(after.count(old_page), 0u) << old_page;
}

TEST_F(PageRotation, LoweringTheSlotCountDeletesTheDroppedPages) {
  writeSeasonConfig("no_of_game_stats:\n3\n");
  dir_.write("three.log", gamesLog(3, "three"));
  ASSERT_EQ(season("three.log").status, 0);
  EXPECT_EQ(pages(dir_).size(), 6u);
  writeSeasonConfig("no_of_game_stats:\n1\n");
  dir_.write("one.log", gamesLog(1, "one"));
  ASSERT_EQ(season("one.log").status, 0);
  EXPECT_EQ(pages(dir_).size(), 2u);
  EXPECT_EQ(sql("select count(*) from gamestats;"), "1\n");
}

TEST_F(PageRotation, ZeroSlotsMakeNoReportButDeleteLeftovers) {
  writeSeasonConfig("no_of_game_stats:\n2\n");
  dir_.write("two.log", gamesLog(2, "two"));
  ASSERT_EQ(season("two.log").status, 0);
  EXPECT_EQ(pages(dir_).size(), 4u);
  writeSeasonConfig("no_of_game_stats:\n0\n");
  dir_.write("one.log", gamesLog(1, "one"));
  auto result = season("one.log");
  ASSERT_EQ(result.status, 0);
  EXPECT_EQ(result.output.find("Generating game stats (html)"), std::string::npos);
  EXPECT_NE(result.output.find("  - deleting leftover html game stats (if any)...\n"), std::string::npos);
  EXPECT_TRUE(pages(dir_).empty());
  EXPECT_EQ(sql("select count(*) from gamestats;"), "0\n");
}

TEST_F(PageRotation, TheConfiguredReportConfigurationIsUsed) {
  dir_.write("pages.cfg", "file_extension:\nhtm\n");
  writeSeasonConfig("no_of_game_stats:\n2\ngame_stats_config_file:\npages.cfg\n");
  dir_.write("one.log", gamesLog(1, "one"));
  ASSERT_EQ(season("one.log").status, 0);
  auto left = pages(dir_);
  ASSERT_EQ(left.size(), 2u);
  for (const std::string& page : left) EXPECT_TRUE(page.ends_with(".htm")) << page;
  // The run's temporary files are gone.
  for (const char* temp : {"db_sql.txt", "db_sql_gamestats.txt", "db_delhtml.txt", "db_cleanhtml.txt", "tmp-s",
                           "temp-s", "kestro-s.log"}) {
    EXPECT_FALSE(dir_.exists(temp)) << temp;
  }
}
