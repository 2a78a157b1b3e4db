#include "analyser_fixture.h"
#include "kills.h"
#include "scoring.h"

using Scoring = AnalyserTest;

TEST_F(Scoring, WeaponFactors) {
  EXPECT_EQ(getKestroPoints(kGauntlet), 1.5f);
  EXPECT_EQ(getKestroPoints(kGrapple), 1.5f);
  EXPECT_EQ(getKestroPoints(kTeleFrag), 1.0f);
  EXPECT_EQ(getKestroPoints(kRocketLauncher), 1.1f);
  EXPECT_EQ(getKestroPoints(kLightningGun), 1.15f);
  EXPECT_EQ(getKestroPoints(kRailGun), 1.2f);
  EXPECT_EQ(getKestroPoints(kBfg), 0.8f);
  EXPECT_EQ(getKestroPoints(kSuicide), 0.0f);
}

TEST_F(Scoring, EndOfGameCorrectionRemovesTheStartValuesAndPaysTheStreak) {
  addPlayers({"victim", "streaker"});
  game().q3players[1].kill_streak = 4;
  game().q3players[1].skill = 17.5f;
  addUpTables(game());
  EXPECT_EQ(game().q3players[0].skill, 0.0f);  // only died: back to nothing
  EXPECT_EQ(game().q3players[0].combat, 0.0f);
  EXPECT_EQ(game().q3players[1].skill, 9.5f);  // 17.5 - 10 + 0.5 x 4
}

TEST_F(Scoring, CaptureTheFlagScoreFollowsTheGamesPointRules) {
  addPlayers({"capper", "other"});
  Q3Player& p = game().q3players[0];
  p.kills_by_weapon[kRailGun][1] = 6;
  p.kills_by_weapon[kRocketLauncher][1] = 4;
  p.deaths_by_weapon[kSuicide][0] = 1;
  p.ctf_flag_caps = 1;
  p.ctf_flag_returns = 2;
  addUpTables(game());
  EXPECT_EQ(p.kills, 10);
  EXPECT_EQ(p.suicides, 1);
  EXPECT_EQ(p.frags, 16);  // 10 + 5 + 2 - 1
}

TEST_F(Scoring, TotalsFillTheTotalsColumnAndRow) {
  addPlayers({"a", "b", "c"});
  Q3Player& a = game().q3players[0];
  a.kills_by_weapon[kRailGun][1] = 2;
  a.kills_by_weapon[kShotGun][1] = 1;
  a.kills_by_weapon[kRailGun][2] = 3;
  a.deaths_by_weapon[kRailGun][2] = 2;
  a.deaths_by_weapon[kSuicide][0] = 1;
  a.kills_by_weapon[kSuicide][0] = 1;  // the own column of kills never counts
  addUpTables(game());
  const int n = 3;
  EXPECT_EQ(a.kills_by_weapon[kRailGun][n], 5);
  EXPECT_EQ(a.kills_by_weapon[kSuicide][n], 0);
  EXPECT_EQ(a.kills_by_weapon[kAllWeapons][1], 3);
  EXPECT_EQ(a.kills_by_weapon[kAllWeapons][n], 6);
  EXPECT_EQ(a.deaths_by_weapon[kSuicide][n], 1);
  EXPECT_EQ(a.deaths_by_weapon[kAllWeapons][n], 3);
  EXPECT_EQ(a.kills, 6);
  EXPECT_EQ(a.deaths, 2);  // suicides are not deaths
  EXPECT_EQ(a.frags, 5);
}

TEST_F(Scoring, AFreeForAllWithBothTeamsBecomesTeamDeathmatch) {
  addPlayers({"r", "b"});
  game().q3players[0].team = kRed;
  game().q3players[1].team = kBlue;
  addUpTables(game());
  EXPECT_EQ(game().gametype, kTeamDeathmatch);
}

TEST_F(Scoring, TeamSumsByKey) {
  addPlayers({"r1", "r2", "b1", "n1"});
  game().q3players[0].team = game().q3players[1].team = kRed;
  game().q3players[2].team = kBlue;
  game().q3players[0].ctf_flag_caps = 2;
  game().q3players[1].ctf_flag_caps = 1;
  game().q3players[0].ctf_fc_defends = 1;
  game().q3players[1].ctf_fc_defends_aggressive = 2;
  game().q3players[2].frags = 7;
  game().q3players[3].frags = 4;
  game().q3players[3].ctf_flag_caps = 9;
  EXPECT_EQ(getStats(game(), "caps_red"), 3);
  EXPECT_EQ(getStats(game(), "fcdefends_red"), 3);
  EXPECT_EQ(getStats(game(), "frags_blue"), 7);
  EXPECT_EQ(getStats(game(), "frags_noteam"), 4);
  EXPECT_EQ(getStats(game(), "caps_noteam"), 0);  // not a key
  EXPECT_EQ(getStats(game(), "nonsense"), 0);
  game().q3players[0].skill = 1.25f;
  game().q3players[2].combat = 3.5f;
  EXPECT_DOUBLE_EQ(getStatsDouble(game(), "kestro"), 1.25 + 10 + 10 + 10);
  EXPECT_DOUBLE_EQ(getStatsDouble(game(), "kestro_red"), 11.25);
  EXPECT_DOUBLE_EQ(getStatsDouble(game(), "combat_blue"), 3.5);
  EXPECT_DOUBLE_EQ(getStatsDouble(game(), "combat"), 0.0);
}

TEST_F(Scoring, WorstEnemyAndEasiestPreyPreferTheLowerIndexOnTies) {
  addPlayers({"a", "b", "p"});
  Q3Player& p = game().q3players[2];
  p.deaths_by_weapon[kAllWeapons][0] = 3;
  p.deaths_by_weapon[kAllWeapons][1] = 3;
  p.deaths_by_weapon[kAllWeapons][2] = 2;  // suicides
  EXPECT_EQ(getWorstEnemy(game(), 2), 0);
  p.deaths_by_weapon[kAllWeapons][2] = 3;  // the suicides win a tie
  EXPECT_EQ(getWorstEnemy(game(), 2), 2);
  EXPECT_EQ(getEasiestPrey(game(), 2), 2);  // nobody killed: the player itself
  p.kills_by_weapon[kAllWeapons][1] = 1;
  EXPECT_EQ(getEasiestPrey(game(), 2), 1);
}
