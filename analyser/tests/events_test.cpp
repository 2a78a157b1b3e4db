#include <string>

#include "analyser_fixture.h"
#include "events.h"

using FlagEvents = AnalyserTest;
using MatchEvents = AnalyserTest;

namespace {
// 35 characters: long names appear cut to their first 29 in some lines.
const std::string kLongName = "TheVeryLongNamedFlagRunnerOfDoom^^X";
const std::string kCutName = kLongName.substr(0, 29);
}  // namespace

TEST_F(FlagEvents, ACaptureScoresAndClearsEveryCarrier) {
  addPlayers({"Wren", "Kite"});
  game().q3players[0].team = kRed;
  game().q3players[1].team = kBlue;
  game().q3players[0].has_flag = game().q3players[1].has_flag = 1;
  updateCTFStats(game(), Line("Wren^7 captured the BLUE flag!").event);
  EXPECT_EQ(game().q3players[0].ctf_flag_caps, 1);
  EXPECT_EQ(game().q3players[0].skill, 15.0f);
  EXPECT_EQ(game().q3players[0].has_flag, 0);
  EXPECT_EQ(game().q3players[1].has_flag, 0);
  EXPECT_EQ(game().gametype, kCaptureTheFlag);
}

TEST_F(FlagEvents, EachMessageCountsOnce) {
  addPlayers({"Heron"});
  const Q3Player& h = game().q3players[0];
  updateCTFStats(game(), Line("Heron^7 defends the RED flag carrier!").event);  // a carrier defence, not a flag defence
  updateCTFStats(game(), Line("Heron^7 defends the RED flag").event);
  updateCTFStats(game(), Line("Heron^7 defends RED's flag carrier against an agressive enemy").event);
  updateCTFStats(game(), Line("Heron^7 RED's flag carrier defends against an agressive enemy").event);
  updateCTFStats(game(), Line("Heron^7 fragged BLUE's flag carrier!").event);
  updateCTFStats(game(), Line("Heron^7 gets an assist for fragging the BLUE flag carrier!").event);
  updateCTFStats(game(), Line("Heron^7 gets an assist for returning the RED flag!").event);
  EXPECT_EQ(h.ctf_fc_defends, 1);
  EXPECT_EQ(h.ctf_base_defends, 1);
  EXPECT_EQ(h.ctf_fc_defends_aggressive, 1);
  EXPECT_EQ(h.ctf_hurt_carrier_defends, 1);
  EXPECT_EQ(h.ctf_efc_kills, 1);
  EXPECT_EQ(h.ctf_assist_efc_kills, 1);
  EXPECT_EQ(h.ctf_assist_flag_returns, 1);
  EXPECT_FLOAT_EQ(h.skill, 10.0f + 0.8f + 0.3f + 1.0f + 0.5f + 0.2f + 0.1f);
}

TEST_F(FlagEvents, AReturnClearsTheOtherTeamsCarrier) {
  addPlayers({"Merlin", "Falcon"});
  game().q3players[0].team = kBlue;
  game().q3players[1].team = kRed;
  game().q3players[1].has_flag = 1;
  updateCTFStats(game(), Line("Merlin^7 returned the BLUE flag!").event);
  EXPECT_EQ(game().q3players[1].has_flag, 0);
  EXPECT_EQ(game().q3players[0].ctf_flag_returns, 1);
}

TEST_F(FlagEvents, ALongNamedPickupMarksTheCutRecord) {
  addPlayers({kLongName, kCutName});
  updateCTFStats(game(), Line(kLongName + "^7 got the BLUE flag!").event);
  EXPECT_EQ(game().q3players[0].ctf_flag_touches, 1);
  EXPECT_EQ(game().q3players[0].has_flag, 0);
  EXPECT_EQ(game().q3players[1].has_flag, 1);
  resetHaveFlag(game(), kBlue);  // whatever the team, the cut record of a long name is cleared
  EXPECT_EQ(game().q3players[1].has_flag, 0);
}

TEST_F(MatchEvents, ReEntryWithTheSameTeamKeepsOneRecordAndASwitchStartsAnother) {
  runLog(
      "Falcon^7 entered the game (^1RED^7)\n"
      "Falcon^7 entered the game (^1RED^7)\n");
  ASSERT_EQ(getTotalPlayers(game()), 1);
  runLog("Falcon^7 entered the game (^4BLUE^7)\n");
  ASSERT_EQ(getTotalPlayers(game()), 2);
  EXPECT_EQ(game().q3players[0].raw_name.view(), "Falcon^7<font color=#CC6600>&nbsp;1</font>");
  EXPECT_EQ(game().q3players[0].disconnected, 1);
  EXPECT_EQ(game().q3players[0].team, kRed);
  EXPECT_EQ(game().q3players[1].team, kBlue);
  EXPECT_EQ(game().int_swap, 1);
}

TEST_F(MatchEvents, WithoutTeamAnnouncementsEveryRepeatedEntryStartsARecord) {
  runLog("Falcon^7 entered the game\nFalcon^7 entered the game\nFalcon^7 entered the game\n");
  EXPECT_EQ(getTotalPlayers(game()), 3);
  EXPECT_EQ(game().q3players[1].raw_name.view(), "Falcon^7<font color=#CC6600>&nbsp;2</font>");
}

TEST_F(MatchEvents, AConvertedServerLogNeverTriggersTheReEntryRule) {
  run().log_type = LogForm::kServer;
  runLog("Falcon^7 entered the game\nFalcon^7 entered the game\n");
  EXPECT_EQ(getTotalPlayers(game()), 1);
}

TEST_F(MatchEvents, RenamesDisconnectsAndModels) {
  runLog(
      "Old^7 entered the game\n"
      "Old^7 is using model visor/blue\n"
      "Old^7 renamed to ^2New^7\n"
      "Ghost^7 renamed to Spook^7\n"
      "^2New^7 disconnected\n");
  ASSERT_EQ(getTotalPlayers(game()), 1);
  const Q3Player& p = game().q3players[0];
  EXPECT_EQ(p.model.view(), "visor/blue");
  EXPECT_EQ(p.name.view(), "New");
  EXPECT_EQ(p.original_name.view(), "Old");
  EXPECT_EQ(p.raw_name.view(), std::string("^2New") + std::string(kDisconnectMarker));
  EXPECT_EQ(p.disconnected, 1);
  EXPECT_EQ(game().q3players[kNobody].name.view(), "Spook");  // unknown: never reported
}

TEST_F(MatchEvents, ClanArenaRoundsAndTies) {
  std::string out = runLog(
      "^1RED^7 leads: 1 to 0\n^1RED^7 leads: 2 to 0\n^1RED^7 leads: 3 to 0\n"
      "^4BLUE^7 leads: 1 to 3\n"
      "Match tied: 3 to 1\n");
  EXPECT_EQ(game().gametype, kClanArena);
  EXPECT_EQ(game().ca_win_red, 3);
  EXPECT_EQ(game().ca_win_blue, 2);
  runLog("Match tied: 3 to 2\nMatch tied: 3 to 3\n");  // a tie of equals gives nobody a round
  EXPECT_EQ(game().ca_win_red, 3);
  EXPECT_EQ(game().ca_win_blue, 3);
}

TEST_F(MatchEvents, TheMapIsTheThirdWordInLowerCase) {
  std::string out = runLog("Current map: Q3WCTF1 (Capture Showdown)\n");
  EXPECT_EQ(out, "MAP: q3wctf1\n");
  EXPECT_EQ(game().mapname.view(), "q3wctf1");
}

TEST_F(MatchEvents, AnIncompleteReconnectSequenceDoesNothing) {
  runLog("Raven^7 entered the game\n]/reconnect\nRE_Shutdown( 0 )\n");
  EXPECT_EQ(game().connect_sequence, ReconnectStep::kCommand);
  EXPECT_EQ(getTotalPlayers(game()), 1);
}
