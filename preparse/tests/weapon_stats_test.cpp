// Unit tests of the weapon statistics translation: the server's
// "Weapon_Stats: " line and a client's "^7Stats for " block.
#include <gtest/gtest.h>

#include <string>

#include "line_text.h"
#include "output_capture.h"

using namespace preparse;

TEST(ServerWeaponStats, OneLinePerItemInItemOrder) {
  OutputCapture out;
  out.p.game.dupq3players[1].name.assign("Bart^7");
  out.p.scanWepnStats(eventText(
      "917.8 Weapon_Stats: 1 Gauntlet:0:10:0:0 MachineGun:1221:207:0:0 R.Launcher:71:26:20:12 "
      "Given:5161 Recvd:8688 Armor:630"));
  EXPECT_EQ(out.take(),
            "Bart^7 accuracy statistics Gauntlet 0:10:0:0 \n"
            "Bart^7 accuracy statistics MachineGun 1221 207:0:0\n"
            "Bart^7 accuracy statistics R.Launcher 71 26:20:12\n"
            "Bart^7 accuracy statistics Given 5161 \n"
            "Bart^7 accuracy statistics Recvd 8688 \n"
            "Bart^7 accuracy statistics Armor 630 \n");
}

TEST(ServerWeaponStats, WalkStopsAtAnIncompleteWeaponOrAWordWithoutColon) {
  OutputCapture out;
  out.p.game.dupq3players[2].name.assign("Cy^7");
  out.p.scanWepnStats(eventText("Weapon_Stats: 2 Shotgun:5:1 Railgun:12 Plasmagun:3:1 Given:1 Recvd:2"));
  EXPECT_EQ(out.take(), "Cy^7 accuracy statistics Shotgun 5 1\n");
  out.p.scanWepnStats(eventText("Weapon_Stats: 2 BFG:1:1 oops Given:1 Recvd:2"));
  EXPECT_EQ(out.take(), "Cy^7 accuracy statistics BFG 1 1\n");
  // Without both damage items the line is not a statistics line at all.
  out.p.scanWepnStats(eventText("Weapon_Stats: 2 BFG:1:1 Given:1"));
  // A client number out of range is credited to the catch-all record; no
  // number at all credits nobody.
  out.p.scanWepnStats(eventText("Weapon_Stats: 4000 Given:1 Recvd:2"));
  out.p.scanWepnStats(eventText("Weapon_Stats: x Given:1 Recvd:2"));
  EXPECT_EQ(out.take(), " accuracy statistics Given 1 \n accuracy statistics Recvd 2 \n");
}

TEST(ClientStatsBlock, RowsBecomeAccuracyLinesUntilTheReceivedDamageRow) {
  OutputCapture out(
      "^7[WP]MG ^2 35.2 (120/341)\n"
      "^7[WP]RG ^2 50.0 (10/20)\n"
      "^7[WP]PG no figures (1/2)\n"
      "^7something else\n"
      "^7DG ^2 5012.0\n"
      "^7DT ^2 4233.0\n"
      "after the block\n");
  out.p.scanWepnStats(eventText("^7Stats for ^1Zed"));
  EXPECT_EQ(out.take(),
            "^1Zed^7 accuracy statistics MachineGun 341 120\n"
            "^1Zed^7 accuracy statistics Railgun 20 10\n"
            "^1Zed^7 accuracy statistics Given 5012\n"
            "^1Zed^7 accuracy statistics Recvd 4233\n");
  EXPECT_EQ(out.nextLine(), "after the block\n");
}

TEST(ClientStatsBlock, StopsAtEndOfInput) {
  OutputCapture out("^7[WP]SG ^2 10.0 (1/2)\n");
  out.p.scanWepnStats(eventText("^7Stats for Ann"));
  EXPECT_EQ(out.take(), "Ann^7 accuracy statistics Shotgun 2 1\n");
}

TEST(ClientStatsBlock, HandsBackALineThatFramesAGame) {
  for (const char* framing : {"  0:05 InitGame: \\mapname\\q3dm1\\protocol\\68\n", "  0:05 Game_Start:\n",
                              "  0:05 ShutdownGame:\n"}) {
    OutputCapture out(std::string("^7[WP]SG ^2 10.0 (1/2)\n") + framing + "^7DT ^2 5.0\n");
    out.p.scanWepnStats(eventText("^7Stats for Ann"));
    EXPECT_EQ(out.take(), "Ann^7 accuracy statistics Shotgun 2 1\n") << framing;
    EXPECT_EQ(out.nextLine(), framing);
  }
}

TEST(WeaponStats, OnlyAtTheLineStart) {
  OutputCapture out("^7[WP]MG ^2 35.2 (120/341)\n");
  out.p.game.dupq3players[1].name.assign("Bart^7");
  out.p.scanWepnStats(eventText("  0:11 ClientUserinfoChanged: 1 n\\^7Stats for X\\t\\1\\model\\m"));
  out.p.scanWepnStats(eventText("  0:12 say: Bart: Weapon_Stats: 1 Given:99 Recvd:1"));
  EXPECT_EQ(out.take(), "");
  out.p.scanWepnStats(eventText("  9:59 Weapon_Stats: 1 Given:5 Recvd:6"));
  out.p.scanWepnStats(eventText("  9:59 ^7Stats for Zed"));
  EXPECT_EQ(out.take(),
            "Bart^7 accuracy statistics Given 5 \n"
            "Bart^7 accuracy statistics Recvd 6 \n"
            "Zed^7 accuracy statistics MachineGun 341 120\n");
}
