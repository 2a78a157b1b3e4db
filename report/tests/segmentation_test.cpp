// Cutting a console log into games: boundaries, warm-ups, reconnects and the
// qualifying rules, run through the whole line pipeline.
#include <string>

#include "console_fixture.h"

using GameSegmentation = ConsoleTest;

namespace {

const std::string kTwoPlayerGame =
    "Raven^7 entered the game\n"
    "Moss^7 entered the game\n"
    "Moss^7 was railed by Raven^7\n";

}  // namespace

TEST_F(GameSegmentation, AMatchEndWritesAQualifyingFreeForAllGame) {
  std::string out = runLog(kTwoPlayerGame + "Timelimit hit.\n");
  EXPECT_NE(out.find("\nGenerating Stats ----------------<GAME ID 1001>-----\n"
                     "TOTAL PLAYERS -> 2\n - Raven\n - Moss\n"
                     "-------------------------------------<done>---------\n\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(run().game_count, 1001);
  EXPECT_EQ(getTotalPlayers(game()), 0);  // the table is cleared after every game
}

TEST_F(GameSegmentation, EveryKindOfBoundaryClosesTheGame) {
  for (const char* boundary : {"Raven^7 hit the fraglimit.", "Blue hit the capturelimit.", "Pointlimit hit.",
                               "Raven^7 wins the match: 3 to 1", "----- CL_Shutdown -----",
                               "ERROR: Disconnected from server"}) {
    resetGame();
    std::string out = runLog(kTwoPlayerGame + boundary + "\n");
    EXPECT_EQ(countOf(out, "<GAME ID"), 1) << boundary;
  }
}

TEST_F(GameSegmentation, GamesThatDoNotQualifyAreDiscarded) {
  std::string one_player = "Raven^7 entered the game\nRaven^7 cratered.\nTimelimit hit.\n";
  std::string one_side =
      "Raven^7 entered the game (^1RED^7)\nMoss^7 entered the game (^1RED^7)\n"
      "Raven^7 defends the RED base\nTimelimit hit.\n";
  EXPECT_EQ(countOf(runLog(one_player + one_side), "<GAME ID"), 0);
  EXPECT_EQ(run().game_count, 1000);
  EXPECT_EQ(getTotalPlayers(game()), 0);
}

TEST_F(GameSegmentation, AWarmUpIsDiscardedAndTheMatchAfterItWritten) {
  std::string out = runLog(
      "Kestrel^7 entered the game\nFennick^7 entered the game\n"
      "Kestrel^7 was railed by Fennick^7\n"
      "Match has begun!\n"
      "Stray^7 was railed by Fennick^7\n"
      "Timelimit hit.\n");
  EXPECT_NE(out.find("\nWarm-up detected: Skipping html generation for warm-up.\n\n"), std::string::npos);
  EXPECT_EQ(countOf(out, "<GAME ID"), 1);
  EXPECT_NE(out.find("TOTAL PLAYERS -> 2\n - Fennick\n - Stray\n"), std::string::npos) << out;
}

TEST_F(GameSegmentation, AChatLineAboutTheMatchStartIsNoWarmUp) {
  std::string out = runLog(kTwoPlayerGame + "Moss^7: Match has begun! good luck\nTimelimit hit.\n");
  EXPECT_EQ(out.find("Warm-up detected"), std::string::npos);
  EXPECT_EQ(countOf(out, "<GAME ID"), 1);
}

TEST_F(GameSegmentation, MatchCompleteEndsAGameOnlyAfterTheOspBanner) {
  EXPECT_EQ(countOf(runLog(kTwoPlayerGame + "MATCH COMPLETE\n"), "<GAME ID"), 0);
  resetGame();
  std::string with_banner = "Loaded OSP Client Version: 1.03a\n" + kTwoPlayerGame + "MATCH COMPLETE\n";
  EXPECT_EQ(countOf(runLog(with_banner), "<GAME ID"), 1);
  EXPECT_TRUE(run().osp_client);  // the banner lasts across games
  resetGame();
  run().osp_client = true;
  EXPECT_EQ(countOf(runLog("RE_Shutdown( 0 )\n" + kTwoPlayerGame + "MATCH COMPLETE\n"), "<GAME ID"), 0);
}

TEST_F(GameSegmentation, GameNumbersWrapFrom99999999To1001) {
  run().game_count = 99999999;
  std::string out = runLog(kTwoPlayerGame + "Timelimit hit.\n");
  EXPECT_NE(out.find("<GAME ID 1001>"), std::string::npos);
}

TEST_F(GameSegmentation, AClientReconnectForcesTheGameOut) {
  std::string out = runLog(kTwoPlayerGame +
                           "]/connect 10.0.0.5:27960\n"
                           "10.0.0.5:27960 resolved to 10.0.0.5:27960\n"
                           "RE_Shutdown( 0 )\n");
  EXPECT_NE(out.find("\nServer connect/reconnect detected:\nForcing html stats generation.\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(countOf(out, "<GAME ID"), 1);
  EXPECT_EQ(game().connect_sequence, ReconnectStep::kNone);
}

TEST_F(GameSegmentation, TheStatisticsBlockIsConsumedAndEndsAtTheEndOfTheLog) {
  std::string out = runLog(kTwoPlayerGame +
                           "Timelimit hit.\n"
                           "Accuracy info for: Raven\n"
                           "MachineGun   :  25.0        10/40\n"
                           "Moss^7 was railed by Raven^7\n");  // inside the block: never analysed
  EXPECT_EQ(countOf(out, "<GAME ID"), 1);
  EXPECT_NE(out.find("TOTAL PLAYERS -> 2"), std::string::npos);
}

TEST_F(GameSegmentation, TheLineThatEndsTheStatisticsBlockIsConsumedToo) {
  std::string out = runLog(kTwoPlayerGame +
                           "Timelimit hit.\n"
                           "Accuracy info for: Raven\n"
                           "Raven^7 entered the game\n"  // ends the block, unseen by the pipeline
                           "Moss^7 entered the game\n"
                           "Timelimit hit.\n");
  // The second game has only Moss: it does not qualify.
  EXPECT_EQ(countOf(out, "<GAME ID"), 1);
}

TEST_F(GameSegmentation, AMapLineInsideTheBlockSetsTheMapAndEndsTheBlock) {
  std::string out = runLog(kTwoPlayerGame + "Timelimit hit.\nMap: Q3DM6\nRaven^7 entered the game\n");
  EXPECT_NE(out.find("MAP: q3dm6\n"), std::string::npos);
  EXPECT_EQ(getTotalPlayers(game()), 1);  // the pipeline saw the line after the map
}

TEST_F(GameSegmentation, AGameStillOpenAtTheEndOfTheLogIsNotWritten) {
  EXPECT_EQ(countOf(runLog(kTwoPlayerGame), "<GAME ID"), 0);
}

TEST_F(GameSegmentation, ServerLogLinesAreNeverAnalysed) {
  run().log_type = LogForm::kServer;  // as if converted already: no conversion is attempted
  std::string out = runLog(
      "  0:01 ClientUserinfoChanged: 2 n\\Raven\\t\\0\n"
      "  0:05 Kill: 2 3 10: Raven killed Moss by MOD_RAILGUN\n"
      "  0:09 say: Raven: Moss was railed by Raven\n");
  EXPECT_EQ(getTotalPlayers(game()), 0);
  EXPECT_EQ(out, "");
}
