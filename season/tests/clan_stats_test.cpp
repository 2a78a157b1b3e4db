// Clan statistics: tags found by TagSift, added and deleted by hand, and
// rated by the server from the season totals.
#include <string>

#include "season_fixture.h"

using ClanStats = SeasonTest;

namespace {

// Three players of [KoS] beat three players without a clan.
const std::string kClanGame =
    "[KoS]Ace^7 entered the game\n[KoS]Bat^7 entered the game\n[KoS]Cat^7 entered the game\n"
    "Dove^7 entered the game\nEmu^7 entered the game\nFinch^7 entered the game\n"
    "Dove^7 was railed by [KoS]Ace^7\nEmu^7 was railed by [KoS]Bat^7\nFinch^7 was railed by [KoS]Cat^7\n"
    "Timelimit hit.\n";

const std::string kClanSettings =
    "detect_clan_tag:\nyes\nprocess_clan_tag_auto:\nyes\nprocess_clan_tag_add:\nyes\nprocess_clan_tag_del:\nyes\n"
    "clan_tag_min_length:\n4\nclan_tag_min_matches:\n2\nclan_tag_min_condition:\ngames>0\n";

}  // namespace

TEST_F(ClanStats, TagsAreDetectedAddedDeletedAndRated) {
  writeSeasonConfig(kClanSettings);
  dir_.write("clan.log", kClanGame);
  dir_.write("tags_add.txt", "Zzz\n[kos]\nGone\nQu'ote\n");
  dir_.write("tags_del.txt", "Gone\n");
  auto result = season("clan.log");
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find(" Generating clan stats\n"), std::string::npos);
  EXPECT_NE(result.output.find("  - auto-detecting tags...\n"), std::string::npos);
  EXPECT_EQ(dir_.read("tags.txt"), "[KoS]\n");

  // Each clan member's skill is 1.2 x 1.1 for a rail kill on a player of
  // skill 10, plus 0.5 for a kill streak of one; every player has played one
  // game, so the spread of games is 0.
  std::string kos = sql("select round(stat, 2) from clanstats where tag='[KoS]';");
  EXPECT_EQ(kos, "1.82\n");
  EXPECT_EQ(sql("select stat from clanstats where tag='Zzz';"), "NULL\n");     // matches nobody
  EXPECT_EQ(sql("select stat from clanstats where tag='[kos]';"), "NULL\n");   // case matters
  EXPECT_EQ(sql("select count(*) from clanstats where tag='Gone';"), "0\n");  // added, then deleted
  // A tag with a quote is stored as it is written, and rated like any other.
  EXPECT_EQ(sql("select stat from clanstats where tag='Qu\\'ote';"), "NULL\n");
  EXPECT_EQ(sql("select count(*) from clanstats;"), "4\n");

  for (const char* temp : {"players.txt", "players-r.txt", "db_tags.txt", "db_sql_clanstats.txt",
                           "db_sql_updatetags.txt", "tags-temp-kjaslkjefa392.txt"}) {
    EXPECT_FALSE(dir_.exists(temp)) << temp;
  }
  EXPECT_TRUE(dir_.exists("tags.txt"));
}

TEST_F(ClanStats, WithoutProcessingOnlyTheKnownTagsAreRated) {
  writeSeasonConfig(kClanSettings);
  dir_.write("clan.log", kClanGame);
  ASSERT_EQ(season("clan.log").status, 0);
  writeSeasonConfig("detect_clan_tag:\nyes\n");
  dir_.write("tags_add.txt", "Newtag\n");
  ASSERT_EQ(season("clan.log").status, 0);
  EXPECT_EQ(sql("select tag from clanstats;"), "[KoS]\n");
  EXPECT_EQ(sql("select round(stat, 2) from clanstats;"), "1.82\n");  // two games each now: same ratio
}

TEST_F(ClanStats, ATagMatchesOnlyItselfNotAsAPattern) {
  // "_" and "%" in a tag are letters of the tag, not wildcards: "_X_0"
  // is the clan of the first two players only, "50%" matches no "50_Eve".
  writeSeasonConfig("detect_clan_tag:\nyes\nprocess_clan_tag_add:\nyes\n");
  dir_.write("tags_add.txt", "_X_0\n50%\n");
  dir_.write("clan.log",
             "_X_0Ann^7 entered the game\n_X_0Bob^7 entered the game\nAXB0Cat^7 entered the game\n"
             "QXZ0Dan^7 entered the game\n50%Eve^7 entered the game\n"
             "AXB0Cat^7 was railed by _X_0Ann^7\nQXZ0Dan^7 was railed by _X_0Bob^7\n"
             "_X_0Ann^7 was railed by AXB0Cat^7\n_X_0Bob^7 was railed by AXB0Cat^7\n"
             "_X_0Ann^7 was railed by QXZ0Dan^7\n50%Eve^7 was railed by QXZ0Dan^7\nTimelimit hit.\n");
  ASSERT_EQ(season("clan.log").status, 0);
  const std::string members =
      "select round(SUM(skill)/SUM(games+(select STD(games) from playerstats)), 4) from playerstats where ";
  EXPECT_EQ(sql("select round(stat, 4) from clanstats where tag='_X_0';"),
            sql(members + "raw_name in ('_X_0Ann', '_X_0Bob');"));
  // "%" in a name is stored as "_": the tag "50%" is nobody's.
  EXPECT_EQ(sql("select stat from clanstats where tag='50%';"), "NULL\n");
}
