// A player's chat is only ever a quote: whatever it says, it never ends a
// game, adds a player, starts a conversion or counts as an event. Real event
// lines whose player names hold the chat separator still count.
#include <string>

#include "console_fixture.h"
#include "kills.h"

using Chat = ConsoleTest;

namespace {

const std::string kTwoPlayers = "Raven^7 entered the game\nMoss^7 entered the game\n";

}  // namespace

TEST_F(Chat, GameEndsTypedInChatEndNothing) {
  for (const std::string chat : {"Raven^7: Timelimit hit.", "(Raven^7): Timelimit hit.",
                                 "Raven^7: Moss hit the fraglimit.", "(Moss^7): ----- CL_Shutdown -----",
                                 "Raven^7: ERROR: Disconnected from server", "Moss^7: Match has begun!"}) {
    resetGame();
    std::string out = runLog(kTwoPlayers + "Moss^7 was railed by Raven^7\n" + chat + "\n" +
                             "Raven^7 was railed by Moss^7\nRaven^7 was railed by Moss^7\n");
    EXPECT_EQ(out.find("GAME ID"), std::string::npos) << chat;
    EXPECT_EQ(out.find("Warm-up detected"), std::string::npos) << chat;
    ASSERT_EQ(getTotalPlayers(game()), 2) << chat;
    EXPECT_EQ(game().q3players[1].kills_by_weapon[kRailGun][0], 2) << chat;  // the game went on
  }
}

TEST_F(Chat, ChatNeitherAddsPlayersNorClearsFlagsButIsAQuote) {
  std::string log = kTwoPlayers + "Moss^7 got the BLUE flag!\n";
  for (int i = 0; i < 70; ++i) log += "Raven^7: Fake" + std::to_string(i) + "^7 entered the game\n";
  log += "(Raven^7): Round starts!\n";
  runLog(log);
  EXPECT_EQ(getTotalPlayers(game()), 2);
  EXPECT_EQ(game().q3players[1].has_flag, 1);
  EXPECT_EQ(game().q3players[0].quote.view(), "Round starts!");  // the team form is a quote too
}

TEST_F(Chat, NamesHoldingTheSeparatorStillPlay) {
  // Nobody called "Dr" plays, so these are a player's lines, not chat.
  runLog("Dr^7: Who^7 entered the game\nMoss^7 entered the game\nMoss^7 was railed by Dr^7: Who^7\n"
         "Dr^7: Who^7: nice shot\n");
  ASSERT_EQ(getTotalPlayers(game()), 2);
  EXPECT_EQ(game().q3players[0].raw_name.view(), "Dr^7: Who");
  EXPECT_EQ(game().q3players[0].kills_by_weapon[kRailGun][1], 1);
  EXPECT_EQ(game().q3players[0].quote.view(), "nice shot");  // the second separator follows the known name
}

TEST_F(Chat, ChatQuotingAServerLineStartsNoConversion) {
  runLog(kTwoPlayers + "Raven^7:   0:00 InitGame: \\sv_hostname\\x\\mapname\\q3dm17\\protocol\\68\n" +
         "Moss^7 was railed by Raven^7\n");
  EXPECT_EQ(run().log_type, LogForm::kConsole);
  EXPECT_EQ(game().q3players[0].kills_by_weapon[kRailGun][1], 1);
}
