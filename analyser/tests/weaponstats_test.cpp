#include "analyser_fixture.h"
#include "kills.h"
#include "weaponstats.h"

using WeaponStats = AnalyserTest;

TEST_F(WeaponStats, AccuracyLinesOfTheSameWeaponAddUp) {
  addPlayers({"Raven"});
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics MachineGun 152 23:0:0").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics MachineGun 48 7").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics Railgun 10 5").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics Given 3185 ").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics Recvd 1081 ").event);
  const Q3Player& p = game().q3players[0];
  EXPECT_EQ(p.accuracy_attempts[kMachineGun - 1], 200);
  EXPECT_EQ(p.accuracy_hits[kMachineGun], 30);
  EXPECT_EQ(p.accuracy_total_attempts, 210);
  EXPECT_EQ(p.accuracy_total_hits, 35);
  EXPECT_EQ(p.damage_given, 3185);
  EXPECT_EQ(p.damage_recvd, 1081);
}

TEST_F(WeaponStats, APlayerWhoLeftKeepsTheLinesPrintedAfterTheDeparture) {
  // A server prints a leaving player's statistics after the disconnect.
  runLog("Raven^7 entered the game\nMoss^7 entered the game\nMoss^7 was railed by Raven^7\n"
         "Moss^7 disconnected\nMoss^7 accuracy statistics MachineGun 1419 330\nMoss^7 accuracy statistics Given 77 \n");
  ASSERT_EQ(getTotalPlayers(game()), 2);
  const Q3Player& moss = game().q3players[1];
  EXPECT_EQ(moss.disconnected, 1);
  EXPECT_EQ(moss.accuracy_attempts[kMachineGun - 1], 1419);
  EXPECT_EQ(moss.accuracy_hits[kMachineGun], 330);
  EXPECT_EQ(moss.damage_given, 77);
  EXPECT_EQ(game().q3players[kNobody].accuracy_hits[kMachineGun], 0);
}

TEST_F(WeaponStats, MalformedAccuracyLinesAreIgnored) {
  addPlayers({"Raven"});
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics MachineGun 152").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics Given lots").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics Armor 550 ").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics MachineGun 2147483647 1").event);
  scanWeaponStats(game(), Line("Raven^7 accuracy statistics MachineGun 2147483647 1").event);  // counters saturate
  const Q3Player& p = game().q3players[0];
  EXPECT_EQ(p.accuracy_attempts[kMachineGun - 1], 2147483647);
  EXPECT_EQ(p.accuracy_hits[kMachineGun], 2);
  EXPECT_EQ(p.damage_given, 0);
  EXPECT_EQ(game().q3players[kNobody].accuracy_total_hits, 0);
}

TEST_F(WeaponStats, StatisticsBlocksReplaceWeaponFiguresButAddTotals) {
  addPlayers({"^1Raven", "Moss"});
  const std::string block =
      "Accuracy info for: ^1Raven\n"
      "Weapon          Accrcy      Hits/Atts\n"
      "Gauntlet     :   0.0         3/0\n"
      "MachineGun   :  25.0        10/40\n"
      "Damage Given: 2240\n"
      "Damage Recvd: 1310\n";
  run().log = std::tmpfile();
  std::fputs((block + block + "Moss^7 entered the game\n").c_str(), run().log);
  std::rewind(run().log);
  scanOspStats(game(), run().log);
  const Q3Player& p = game().q3players[0];
  EXPECT_EQ(p.accuracy_hits[kMachineGun], 10);
  EXPECT_EQ(p.accuracy_attempts[kMachineGun - 1], 40);
  EXPECT_EQ(p.accuracy_total_hits, 20);
  EXPECT_EQ(p.accuracy_total_attempts, 80);
  EXPECT_EQ(p.accuracy_hits[kGauntlet], 3);
  EXPECT_EQ(p.damage_given, 2240);
  EXPECT_EQ(p.damage_recvd, 1310);
  EXPECT_EQ(game().q3players[1].damage_given, 0);
  // The line that ended the block was consumed.
  FixedText rest;
  EXPECT_FALSE(readLine(run().log, rest));
}

TEST_F(WeaponStats, ABlockOfAnUnknownPlayerTouchesOnlyTheNobodyRecord) {
  addPlayers({"Moss"});
  run().log = std::tmpfile();
  std::fputs("Accuracy info for: Stranger\nRailgun      :  50.0   5/10\nDamage Given: 99\nMATCH COMPLETE\n", run().log);
  std::rewind(run().log);
  scanOspStats(game(), run().log);
  EXPECT_EQ(game().q3players[kNobody].accuracy_hits[kRailGun], 5);
  EXPECT_EQ(game().q3players[kNobody].damage_given, 99);
  EXPECT_EQ(game().q3players[0].accuracy_total_attempts, 0);
}

TEST_F(WeaponStats, UnreadableNumbersKeepThePreviousReadingOfTheBlock) {
  addPlayers({"Moss"});
  run().log = std::tmpfile();
  std::fputs("Accuracy info for: Moss\nShotgun      :  50.0   6/12\nRailgun      :  50.0%  5/10\nMATCH COMPLETE\n",
             run().log);
  std::rewind(run().log);
  scanOspStats(game(), run().log);
  EXPECT_EQ(game().q3players[0].accuracy_hits[kRailGun], 6);
  EXPECT_EQ(game().q3players[0].accuracy_attempts[kRailGun - 1], 12);
}
