// What a season leaves out when asked: the bots a server names, the names
// of the ignore_names file, games the server did not end. By default all of
// them count.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "program_runner.h"
#include "season_fixture.h"

namespace fs = std::filesystem;

using CountingRules = SeasonTest;

namespace {

std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

std::string realLog(const char* name) {
  std::ifstream in(kstest::sourceDir() / ".." / "shared" / "reallogs" / name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST_F(CountingRules, TheServersBotsAreLeftOutWhenAsked) {
  const std::string log = realLog("osp-server-ffa-bots-1game.log");
  if (log.empty()) GTEST_SKIP() << "the real logs are not here";
  dir_.write("bots.log", log);
  ASSERT_EQ(season("bots.log").status, 0);
  // Daemia and Doom are bots (a skill in their userinfo); Bartoszer is not.
  EXPECT_EQ(column("Daemia", "games"), "1");
  const std::string everyone = sql("select raw_name from playerstats order by raw_name;");

  sql("drop database " + database_ + ";");
  writeSeasonConfig("count_bots:\nno\n");
  ASSERT_EQ(season("bots.log").status, 0);
  EXPECT_EQ(column("Daemia", "games"), "");
  EXPECT_EQ(column("Doom", "games"), "");
  EXPECT_EQ(column("Bartoszer", "games"), "1");
  EXPECT_EQ(trimmed(sql("select count(*) from game_players where raw_name in ('Daemia', 'Doom');")), "0");
  EXPECT_EQ(trimmed(sql("select count(*) from game_kills where killer like 'D%' or victim like 'D%';")), "0");
  // The human's own kills of bots still count for the human.
  EXPECT_NE(column("Bartoszer", "kills"), "0");
  EXPECT_NE(everyone, sql("select raw_name from playerstats order by raw_name;"));
}

TEST_F(CountingRules, IgnoredNamesAndGamesTheServerDidNotEndAreNotCounted) {
  dir_.write("ended.log", serverGame("Alice", 2) + kGameEnd);
  // Ended by a vote or a map change: no "Exit:" line.
  dir_.write("aborted.log", serverGame("Carol", 3) + "  0:10 ShutdownGame:\n");
  dir_.write("ignore_names", "Bob\r\n\n");
  writeSeasonConfig("count_aborted_games:\nno\n");
  kstest::RunResult run = season("ended.log aborted.log");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(column("Alice", "kills"), "2");
  EXPECT_EQ(column("Bob", "games"), "");
  EXPECT_EQ(column("Carol", "games"), "");
  EXPECT_EQ(trimmed(sql("select count(*) from games;")), "1");
  EXPECT_NE(run.output.find("not counted"), std::string::npos);

  // With the default, the aborted game counts (once), and a name ignored no
  // longer counts from then on.
  writeSeasonConfig("");
  dir_.write("ignore_names", "");
  ASSERT_EQ(season("ended.log aborted.log").status, 0);
  EXPECT_EQ(column("Carol", "games"), "1");
  EXPECT_EQ(column("Bob", "games"), "1");
  EXPECT_EQ(trimmed(sql("select count(*) from games;")), "2");

  // An ignore_names that cannot be read stops the run before anything.
  fs::remove(dir_.path() / "ignore_names");
  fs::create_directory(dir_.path() / "ignore_names");
  EXPECT_EQ(season("ended.log").status, 1);
}
