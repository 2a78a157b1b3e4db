#include "awards.h"
#include "kills.h"
#include "console_fixture.h"

using Awards = ReportTest;

namespace {
constexpr int kRocketKills = 4;
constexpr int kBfgKills = 8;
constexpr int kMachineGunAccuracy = 12;
constexpr int kBestKiller = awardSlot(PlayerAward::kBestKiller);
constexpr int kDeadliest = awardSlot(PlayerAward::kDeadliest);
constexpr int kMostValuable = awardSlot(PlayerAward::kMostValuable);
constexpr int kBestDefender = awardSlot(PlayerAward::kBestDefender);
constexpr int kOverallAccuracy = awardSlot(PlayerAward::kBestOverallAccuracy);

// Players a, b, c with their totals column at index 3.
void threePlayers() { ConsoleTest::addPlayers({"a", "b", "c"}); }
}  // namespace

TEST_F(Awards, TiesShareAnAwardAndAZeroBestGivesItToNobody) {
  threePlayers();
  game().q3players[0].kills_by_weapon[kRocketLauncher][3] = 4;
  game().q3players[2].kills_by_weapon[kRocketLauncher][3] = 4;
  assignAwards(game());
  EXPECT_EQ(game().q3players[0].awards[kRocketKills], 1);
  EXPECT_EQ(game().q3players[1].awards[kRocketKills], 0);
  EXPECT_EQ(game().q3players[2].awards[kRocketKills], 1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(game().q3players[i].awards[kBfgKills], 0);
    EXPECT_EQ(game().q3players[i].awards[19], 0);
    EXPECT_EQ(game().q3players[i].awards[kBestKiller], 0);
  }
  EXPECT_EQ(render([](Report& r) { htmlPrintAwards(r, game().q3players[1].awards, AwardGroup::kWeapons); }),
            "<IMG src=images/awards/blank.gif>&nbsp;");
  EXPECT_EQ(render([](Report& r) { htmlPrintAwards(r, game().q3players[0].awards, AwardGroup::kWeapons); }),
            "<IMG src=images/awards/carnage_rocket.jpg TITLE=\"best killer with rocket launcher\">&nbsp;");
}

TEST_F(Awards, AccuracyAwardsNeedAttempts) {
  threePlayers();
  game().q3players[0].accuracy_hits[kMachineGun] = 10;
  game().q3players[0].accuracy_attempts[kMachineGun - 1] = 20;
  game().q3players[1].accuracy_hits[kMachineGun] = 1;
  game().q3players[1].accuracy_attempts[kMachineGun - 1] = 2;
  assignAwards(game());
  EXPECT_EQ(game().q3players[0].awards[kMachineGunAccuracy], 1);
  EXPECT_EQ(game().q3players[1].awards[kMachineGunAccuracy], 1);
  EXPECT_EQ(game().q3players[2].awards[kMachineGunAccuracy], 0);
  EXPECT_EQ(game().q3players[2].awards[kMachineGunAccuracy + 1], 0);  // nobody fired the shotgun
}

TEST_F(Awards, OverallAccuracyDividesByAttemptsPlusOne) {
  threePlayers();
  game().q3players[0].accuracy_total_hits = 50;
  game().q3players[0].accuracy_total_attempts = 99;  // 50.0
  game().q3players[1].accuracy_total_hits = 48;
  game().q3players[1].accuracy_total_attempts = 97;  // 48.98
  game().q3players[2].accuracy_total_hits = 1;
  game().q3players[2].accuracy_total_attempts = 1;  // 50.0 as well
  assignAwards(game());
  EXPECT_EQ(game().q3players[0].awards[kOverallAccuracy], 1);
  EXPECT_EQ(game().q3players[1].awards[kOverallAccuracy], 0);
  EXPECT_EQ(game().q3players[2].awards[kOverallAccuracy], 1);
}

TEST_F(Awards, FortyNineHitsInNinetySevenAttemptsAlsoMakeFifty) {
  threePlayers();
  game().q3players[0].accuracy_total_hits = 50;
  game().q3players[0].accuracy_total_attempts = 99;
  game().q3players[1].accuracy_total_hits = 49;
  game().q3players[1].accuracy_total_attempts = 97;  // 4900 / 98 = 50.0: a tie, not a loss
  assignAwards(game());
  EXPECT_EQ(game().q3players[0].awards[kOverallAccuracy], 1);
  EXPECT_EQ(game().q3players[1].awards[kOverallAccuracy], 1);
}

TEST_F(Awards, NoMostValuablePlayerWhenEverySkillIsNegative) {
  threePlayers();
  game().q3players[0].skill = -0.5f;
  game().q3players[1].skill = -2.0f;
  game().q3players[2].skill = -1.0f;
  assignAwards(game());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(game().q3players[i].awards[kMostValuable], 0);
}

TEST_F(Awards, RealMeasuresMustPassTheirThreshold) {
  threePlayers();
  for (int i = 0; i < 3; ++i) game().q3players[i].combat = 0.0005f;
  game().q3players[1].ctf_base_defends = 1;
  assignAwards(game());
  EXPECT_EQ(game().q3players[1].awards[kBestDefender], 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(game().q3players[i].awards[kDeadliest], 0);
  game().q3players[1].awards = {};
  game().q3players[1].ctf_base_defends = 0;
  assignAwards(game());
  EXPECT_EQ(game().q3players[1].awards[kBestDefender], 0);
}

TEST_F(Awards, ImagesComeInTheirFixedOrder) {
  AwardFlags flags{};
  flags[5] = flags[6] = 1;
  flags[16] = flags[17] = 1;
  flags[kMostValuable] = flags[kBestKiller] = flags[kBestDefender] = 1;
  EXPECT_EQ(render([&](Report& r) { htmlPrintAwards(r, flags, AwardGroup::kWeapons); }),
            "<IMG src=images/awards/carnage_rail.jpg TITLE=\"best killer with rail gun\">&nbsp;"
            "<IMG src=images/awards/carnage_lightning.jpg TITLE=\"best killer with lightning gun\">&nbsp;");
  EXPECT_EQ(render([&](Report& r) { htmlPrintAwards(r, flags, AwardGroup::kAccuracy); }),
            "<IMG src=images/awards/accuracy_rail.jpg TITLE=\"best accuracy with rail gun\">&nbsp;"
            "<IMG src=images/awards/accuracy_lightning.jpg TITLE=\"best accuracy with lightning gun\">&nbsp;");
  EXPECT_EQ(render([&](Report& r) { htmlPrintAwards(r, flags, AwardGroup::kPlayer); }),
            "<IMG src=images/awards/player_kills.jpg TITLE=\"best killer\">&nbsp;"
            "<IMG src=images/awards/ctf_defense.jpg TITLE=\"best defender\">&nbsp;"
            "<IMG src=images/awards/player_kestro.jpg TITLE=\"most valuable player\">&nbsp;");
}
