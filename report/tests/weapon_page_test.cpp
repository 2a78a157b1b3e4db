#include "kills.h"
#include "console_fixture.h"
#include "scoring.h"
#include "weapon_page.h"
#include "weaponstats.h"

using WeaponPage = ReportTest;

namespace {

// Writes the report and returns the weapon page.
std::string weaponPage(const kstest::TempDir& dir) {
  ReportTest::makeHtml();
  return dir.read("html/" + ReportTest::out_filename_wepns);
}

}  // namespace

TEST_F(WeaponPage, WeaponNamesAndNumbersAreColouredWhenConfigured) {
  EXPECT_EQ(getWeaponName(config(), kMachineGun), "<font size=-2 color=#FFFF00>Machine Gun</font>");
  EXPECT_EQ(getWeaponName(config(), kBfg), "<font size=-2 color=#054DA3>BFG</font>");
  EXPECT_EQ(getWeaponName(config(), kNoKill), "");
  EXPECT_EQ(render([](Report& r) { htmlPrintWeaponStat(r, kRailGun, 7); }), "<font color=#00FF00>7</font>");
  config().use_weapon_colors = false;
  EXPECT_EQ(getWeaponName(config(), kNailGun), "Nail Gun");
  EXPECT_EQ(getWeaponName(config(), kGrapple), "Grapple");
  EXPECT_EQ(render([](Report& r) { htmlPrintWeaponStat(r, kRailGun, 7); }), "7");
}

TEST_F(WeaponPage, OnlyUsedWeaponsGetARow) {
  addPlayers({"a", "b"});
  EXPECT_FALSE(weaponUsed(game(), kRailGun));
  game().q3players[0].kills_by_weapon[kRailGun][1] = 1;
  game().q3players[1].accuracy_hits[kGauntlet] = 2;
  game().q3players[1].accuracy_attempts[kShotGun - 1] = 5;
  game().q3players[1].accuracy_attempts[kBfg - 1] = 5;
  EXPECT_TRUE(weaponUsed(game(), kRailGun));
  EXPECT_TRUE(weaponUsed(game(), kGauntlet));
  EXPECT_TRUE(weaponUsed(game(), kShotGun));
  EXPECT_FALSE(weaponUsed(game(), kBfg));  // the BFG counts only through kills
  game().q3players[0].kills_by_weapon[kGrapple][kMaxPlayers] = 9;  // not a live victim
  EXPECT_FALSE(weaponUsed(game(), kGrapple));
}

TEST_F(WeaponPage, TeamTablesUseTheOpponentCountForTheirWidths) {
  for (int i = 0; i < 5; ++i) {
    addPlayer(game(), "p" + std::to_string(i));
    game().q3players[i].team = i == 0 ? kRed : kBlue;  // 1 red against 4 blue
  }
  game().q3players[0].kills_by_weapon[kRailGun][1] = 3;
  game().q3players[0].deaths_by_weapon[kRailGun][1] = 1;
  game().q3players[1].deaths_by_weapon[kRailGun][0] = 3;
  game().gametype = kTeamDeathmatch;
  addUpTables(game());
  std::string page = weaponPage(dir_);
  // The red player's table: u = 100 / (4 + 3).
  EXPECT_NE(page.find("<td WIDTH=\"14.29%\" CLASS=\"redHighlight\"><A name=\"weapons-p0\"><A href=\"" +
                      out_filename_stats + "#stat-p0\">"),
            std::string::npos);
  EXPECT_NE(page.find("<td WIDTH=\"7.14%\" CLASS=\"red\"><div align=right><font color=#00FF00>3</font></div></td>\n"),
            std::string::npos);
  EXPECT_NE(page.find("<td WIDTH=\"4.76%\" CLASS=\"red\"><div align=right><b>74.98 %</b></div></td>\n"),
            std::string::npos);
  // A blue player's table has one opponent: u = 100 / (1 + 3).
  EXPECT_NE(page.find("<td WIDTH=\"25.00%\" CLASS=\"blueHighlight\"><A name=\"weapons-p1\">"), std::string::npos);
  EXPECT_NE(page.find("<td WIDTH=\"12.50%\" CLASS=\"red\"><div align=left><font color=#00FF00>3</font></div></td>\n"),
            std::string::npos);
  EXPECT_NE(page.find("<td WIDTH=\"8.33%\" CLASS=\"blue\"><div align=right><b>0.00 %</b></div></td>\n"),
            std::string::npos);
  EXPECT_EQ(countOf(page, "<font size=-2 color=#00FF00>Rail Gun</font>"), 5);
  EXPECT_EQ(page.find("Machine Gun"), std::string::npos);
}

TEST_F(WeaponPage, FreeForAllSetsEveryPlayerAgainstEveryone) {
  for (int i = 0; i < 5; ++i) addPlayer(game(), "p" + std::to_string(i));
  game().q3players[0].kills_by_weapon[kGauntlet][1] = 1;
  game().q3players[0].kills_by_weapon[kNailGun][2] = 1;
  addUpTables(game());
  std::string page = weaponPage(dir_);
  EXPECT_NE(page.find("<td WIDTH=\"12.50%\" CLASS=\"neutralHighlight\"><A name=\"weapons-p0\"><A href=\"" +
                      out_filename_stats + "#list-p0\">"),
            std::string::npos);
  EXPECT_EQ(countOf(page, "COLSPAN=2 CLASS=\"neutralLowlight\"><center><font size=-2>"), 25);
  // Gauntlet without hits and the Nail Gun show "-" for hits, attempts and accuracy.
  std::string dashes = "<td WIDTH=\"4.17%\" CLASS=\"neutral\"><div align=right><b>-</b></div></td>\n"
                       "<td WIDTH=\"4.17%\" CLASS=\"neutral\"><div align=left><b>-</b></div></td>\n"
                       "<td WIDTH=\"4.17%\" CLASS=\"neutral\"><div align=right><b>-</b></div></td>\n";
  EXPECT_EQ(countOf(page, dashes), 10);
  EXPECT_EQ(countOf(page, "<td WIDTH=\"4.17%\" CLASS=\"neutral\"><div align=right><b>-</b></div></td>\n</tr>"), 15);
}

TEST_F(WeaponPage, AccuracyFiguresOfUsedWeapons) {
  addPlayers({"a", "b"});
  Q3Player& a = game().q3players[0];
  a.kills_by_weapon[kBfg][1] = 1;
  a.accuracy_hits[kMachineGun] = 25;
  a.accuracy_attempts[kMachineGun - 1] = 100;
  a.accuracy_total_hits = 25;
  a.accuracy_total_attempts = 100;
  addUpTables(game());
  std::string page = weaponPage(dir_);
  const std::string mg = "<td WIDTH=\"6.67%\" CLASS=\"neutral\"><div align=right><b><font color=#FFFF00>25</font></b>"
                         "</div></td>\n<td WIDTH=\"6.67%\" CLASS=\"neutral\"><div align=left><b><font "
                         "color=#FFFF00>100</font></b></div></td>\n<td WIDTH=\"6.67%\" CLASS=\"neutral\"><div "
                         "align=right><b>25.00 %</b></div></td>\n";
  EXPECT_NE(page.find(mg), std::string::npos);
  // The BFG row of a player without BFG hits: "-" hits, attempts 0, "-" accuracy.
  EXPECT_NE(page.find("<b>-</b></div></td>\n<td WIDTH=\"6.67%\" CLASS=\"neutral\"><div align=left><b><font "
                      "color=#054DA3>0</font></b></div></td>\n"),
            std::string::npos);
  EXPECT_NE(page.find("<td WIDTH=\"6.67%\" CLASS=\"neutral\"><div align=right><b>25.00 %</b></div></td>\n</tr>"),
            std::string::npos);
}
