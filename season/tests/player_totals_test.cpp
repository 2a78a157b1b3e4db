// Season totals in a real database: what one game adds to a player's row.
#include <string>

#include "season_fixture.h"

using PlayerTotals = SeasonTest;

namespace {

// Two games of Alice and Bob; Carol enters the first and does nothing.
const std::string kTwoGames =
    "Alice^7 entered the game\n"
    "Bob^7 entered the game\n"
    "Carol^7 entered the game\n"
    "Alice^7 is using model sarge\n"
    "Bob^7 was railed by Alice^7\n"
    "Bob^7 almost dodged Alice^7's rocket\n"
    "Alice^7 was machinegunned by Bob^7\n"
    "Alice^7 picked up the item item_health_mega\n"
    "Bob^7 picked up the item item_armor_shard\n"
    "Bob^7 picked up the item item_health_small\n"
    "Alice^7 accuracy statistics Railgun 10 4\n"
    "Alice^7 accuracy statistics MachineGun 50 10\n"
    "Alice^7 accuracy statistics Given 900 \n"
    "Bob^7 cratered.\n"
    "Timelimit hit.\n"
    "----- CL_Shutdown -----\n"
    "Alice^7 entered the game\n"
    "Bob^7 entered the game\n"
    "Alice^7 got the BLUE flag!\n"
    "Alice^7 captured the BLUE flag!\n"
    "Bob^7 returned the BLUE flag!\n"
    "Bob^7 was electrocuted by Alice^7\n"
    "Timelimit hit.\n"
    "----- CL_Shutdown -----\n";

}  // namespace

TEST_F(PlayerTotals, TwoGamesAddUpAndAreCountedOnceHoweverOftenTheLogIsRead) {
  dir_.write("games.log", kTwoGames);
  auto first = season("games.log");
  ASSERT_EQ(first.status, 0) << first.output;
  EXPECT_NE(first.output.find("  games processed: 2\n"), std::string::npos) << first.output;
  EXPECT_EQ(column("Alice", "concat_ws(' ', frags, kills, deaths, suicides, games, kill_streak)"), "8 3 1 0 2 2");
  EXPECT_EQ(column("Alice", "concat_ws(' ', kills_RG, kills_RL, kills_LG, deaths_MG, kills_G)"), "1 1 1 1 0");
  EXPECT_EQ(column("Alice", "concat_ws(' ', accuracy_RG_hits, accuracy_RG_attempts, accuracy_MG_hits, "
                            "accuracy_MG_attempts, accuracy_total_hits, accuracy_total_attempts)"),
            "4 10 10 50 14 60");
  EXPECT_EQ(column("Alice", "concat_ws(' ', item_mega, damage_given, ctf_flag_caps, ctf_flag_touches, model)"),
            "1 900 1 1 sarge");
  EXPECT_EQ(column("Bob", "concat_ws(' ', frags, kills, deaths, suicides, games, ctf_flag_returns)"), "1 1 3 1 2 1");
  EXPECT_EQ(column("Bob", "concat_ws(' ', item_shard, item_health_small, item_health, deaths_RG, kills_MG)"),
            "1 1 0 1 1");
  EXPECT_EQ(column("Carol", "games"), "");  // did nothing: no row

  const std::string totals = "concat_ws(' ', frags, kills, games, kill_streak, accuracy_total_hits)";
  auto second = season("games.log");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_NE(second.output.find(" - a game with these lines is in the database: skipped\n"), std::string::npos);
  EXPECT_NE(second.output.find("  games processed: 0\n"), std::string::npos);
  EXPECT_EQ(column("Alice", totals), "8 3 2 2 14");
  EXPECT_EQ(sql("select count(*) from countedgames;"), "2\n");

  // Whoever wants every reading counted switches the check off.
  writeSeasonConfig("count_games_once:\nno\n");
  auto third = season("games.log");
  ASSERT_EQ(third.status, 0) << third.output;
  EXPECT_EQ(column("Alice", totals), "16 6 4 2 28");
}

TEST_F(PlayerTotals, NamesAreStoredSafelyAndKeepTheirRows) {
  std::string long_quote(300, 'q');
  std::string long_name(60, 'L');
  dir_.write("names.log",
             "O'Neil^7 entered the game\n"
             "ALICE^7 entered the game\n"
             "Alice^7 entered the game\n" +
                 long_name + "^7 entered the game\n" +
                 "O'Neil^7: " + long_quote + "\n"
                 "ALICE^7 was railed by O'Neil^7\n"
                 "Alice^7 was railed by ALICE^7\n" +
                 long_name + "^7 was railed by Alice^7\n"
                 "O'Neil^7 was railed by " + long_name + "^7\n"
                 "Timelimit hit.\n");
  auto result = season("names.log");
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(column("O_Neil", "concat_ws(' ', kills, length(quote))"), "1 255");
  EXPECT_EQ(column("ALICE", "kills"), "1");
  EXPECT_EQ(column("Alice", "kills"), "1");
  EXPECT_EQ(column(long_name.substr(0, 50), "kills"), "1");
  EXPECT_EQ(sql("select count(*) from playerstats;"), "4\n");
}

TEST_F(PlayerTotals, AOnePlayerGameWritesNothing) {
  dir_.write("solo.log", "Alice^7 entered the game\nAlice^7 cratered.\nTimelimit hit.\n");
  auto result = season("solo.log");
  ASSERT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("No valid games were detected in the log file.\n"), std::string::npos);
  EXPECT_EQ(sql("select count(*) from playerstats;"), "0\n");
}

TEST_F(PlayerTotals, APasswordWithADollarSignReachesTheServer) {
  kstest::sharedDatabase().query("CREATE USER IF NOT EXISTS 'dollar'@'%' IDENTIFIED BY 'pa$$ w0rd'; "
                                 "GRANT ALL ON *.* TO 'dollar'@'%';");
  dir_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                  "\ndb_user:\ndollar\ndb_pass:\npa$$ w0rd\n");
  dir_.write("games.log", kTwoGames);
  auto result = season("games.log");
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("               db pass: ********\n"), std::string::npos);
  EXPECT_EQ(column("Alice", "games"), "2");
}
