#include <string>
#include <vector>

#include "analyser_fixture.h"
#include "events.h"
#include "kills.h"
#include "teams.h"

using Teams = AnalyserTest;

namespace {
const std::string kFullName = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";  // 36 characters
const std::string kCutName = kFullName.substr(0, 29);
}  // namespace

TEST_F(Teams, TeamsComeFromTeamEntryAndFlagLines) {
  addPlayers({"a", "b", "c", "d", "e"});
  assignTeam(game(), Line("a^7 is on team BLUE").event);
  assignTeam(game(), Line("b^7 entered the game (^1RED^7)").event);
  assignTeam(game(), Line("c^7 got the RED flag!").event);
  assignTeam(game(), Line("d^7 is on team FFA").event);
  EXPECT_EQ(game().q3players[0].team, kBlue);
  EXPECT_EQ(game().q3players[1].team, kRed);
  EXPECT_EQ(game().q3players[2].team, kBlue);
  EXPECT_EQ(game().q3players[3].team, kNoTeam);
  EXPECT_EQ(game().gametype, kCaptureTheFlag);
}

// Each kind of team line, and lines holding two of them: the first test of
// the chain decides, as it always did.
TEST_F(Teams, EachTeamLineSetsItsTeamAndTheFirstKindWins) {
  struct Case {
    std::string line;
    Team team;
  };
  const std::vector<Case> cases = {
      {"p^7 is on team RED", kRed},
      {"p^7 entered the game (^4BLUE^7)", kBlue},
      {"p^7 entered the game (^1RED^7)", kRed},
      {"p^7 returned the BLUE flag!", kBlue},
      {"p^7 defends the RED base", kRed},
      {"p^7 entered the game (^4BLUE^7) is on team RED", kRed},
      {"p^7 entered the game (^4BLUE^7) entered the game (^1RED^7)", kRed},
      {"p^7 is on team FFA got the BLUE flag!", kNoTeam},
      {"p^7 was railed by q^7", kNoTeam},
  };
  for (const Case& c : cases) {
    resetGame();
    addPlayers({"p"});
    assignTeam(game(), Line(c.line).event);
    EXPECT_EQ(game().q3players[0].team, c.team) << c.line;
  }
}

TEST_F(Teams, UnknownTeamsAreGuessedFromDeathsThenKills) {
  addPlayers({"red", "blue", "victim", "hunter"});
  game().q3players[0].team = kRed;
  game().q3players[1].team = kBlue;
  game().q3players[2].deaths_by_weapon[kRailGun][0] = 1;  // killed by red: blue
  game().q3players[3].kills_by_weapon[kShotGun][1] = 2;   // killed blue: red
  ::testing::internal::CaptureStdout();
  assignTeamToUnknownPlayers(game());
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "Trying to guess-timate team for player (deaths): hunter\n"
            "Trying to guess-timate team for player (deaths): victim\n"
            "Trying to guess-timate team for player  (kills): hunter\n");
  EXPECT_EQ(game().q3players[2].team, kBlue);
  EXPECT_EQ(game().q3players[3].team, kRed);
  EXPECT_EQ(game().q3players[2].raw_name.view(), "victim^7&nbsp;<font color=#CC6600>~</font>");
}

TEST_F(Teams, GuessedPlayersCountAsEvidenceForLowerIndices) {
  addPlayers({"red", "blue", "early", "late"});
  game().q3players[0].team = kRed;
  game().q3players[1].team = kBlue;
  game().q3players[3].deaths_by_weapon[kRailGun][0] = 1;  // late: blue
  game().q3players[2].deaths_by_weapon[kRailGun][3] = 1;  // early died to late: red
  ::testing::internal::CaptureStdout();
  assignTeamToUnknownPlayers(game());
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(game().q3players[3].team, kBlue);
  EXPECT_EQ(game().q3players[2].team, kRed);
}

TEST_F(Teams, NothingIsGuessedUnlessBothTeamsAndAnUnknownExist) {
  addPlayers({"red", "nobody"});
  game().q3players[0].team = kRed;
  game().q3players[1].deaths_by_weapon[kRailGun][0] = 1;
  ::testing::internal::CaptureStdout();
  assignTeamToUnknownPlayers(game());
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(game().q3players[1].team, kNoTeam);
}

TEST_F(Teams, ACutNameIsMergedIntoItsFullName) {
  addPlayers({kFullName, kCutName});
  Q3Player& full = game().q3players[0];
  full.team = kRed;
  full.ctf_flag_caps = 2;
  full.skill = 14.0f;
  full.kills_by_weapon[kRailGun][1] = 5;  // dropped by the merge
  game().q3players[1].ctf_flag_caps = 1;
  game().q3players[1].skill = 12.0f;
  ::testing::internal::CaptureStdout();
  mergeAllIdenticalPlayers(game());
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "\nPossible Duplicate Player detected:\n" + kCutName + "\n" + kFullName + "\nMerging Players.\n\n");
  ASSERT_EQ(getTotalPlayers(game()), 1);
  const Q3Player& merged = game().q3players[0];
  EXPECT_EQ(merged.name.view(), kFullName);
  EXPECT_EQ(merged.raw_name.view(), kFullName + "<font color=#CC6600> / </font>" + kCutName +
                                        "^7<font color=#CC6600>&nbsp;+</font>");
  EXPECT_EQ(merged.ctf_flag_caps, 3);
  EXPECT_EQ(merged.team, kRed);
  EXPECT_EQ(merged.skill, 26.0f);  // both start values of 10 are in it
  EXPECT_EQ(merged.kills_by_weapon[kRailGun][0], 0);
}

TEST_F(Teams, ThreeNamesHoldingTheCutNameAreAmbiguous) {
  addPlayers({kFullName, kCutName + "other", kCutName});
  game().q3players[2].team = kBlue;
  mergeAllIdenticalPlayers(game());
  EXPECT_EQ(getTotalPlayers(game()), 3);
  EXPECT_EQ(game().q3players[2].team, kNoTeam);
}

TEST_F(Teams, ADisconnectOfTheCutNameMergesAndMarksTheMergedRecord) {
  addPlayers({kFullName, kCutName});
  ::testing::internal::CaptureStdout();
  updateMiscInfo(game(), run(), Line(kCutName + "^7 disconnected").event);
  ::testing::internal::GetCapturedStdout();
  ASSERT_EQ(getTotalPlayers(game()), 1);
  EXPECT_EQ(game().q3players[0].disconnected, 1);
  EXPECT_EQ(game().q3players[0].raw_name.view().substr(0, kFullName.size()), kFullName);
  EXPECT_TRUE(game().q3players[0].raw_name.view().ends_with("&nbsp;x</font>"));
}

TEST_F(Teams, MarkersOnA509CharacterNameAreCutToFit) {
  std::string huge(509, 'n');
  addPlayers({huge, "red", "blue"});
  game().q3players[1].team = kRed;
  game().q3players[2].team = kBlue;
  game().q3players[0].deaths_by_weapon[kRailGun][1] = 1;
  ::testing::internal::CaptureStdout();
  assignTeamToUnknownPlayers(game());
  ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(game().q3players[0].raw_name.size(), 509u);
  EXPECT_EQ(game().q3players[0].team, kBlue);
}

TEST_F(Teams, ClanLabelsComeFromTheLongestCommonText) {
  addPlayers({"|X|Falcon", "|X|Heron", "[NX]Kite", "[NX]Osprey"});
  game().q3players[0].team = game().q3players[1].team = kRed;
  game().q3players[2].team = game().q3players[3].team = kBlue;
  std::string label;
  detectClans(game(), label);
  EXPECT_EQ(label, "FFA_PUB");
  game().gametype = kCaptureTheFlag;
  detectClans(game(), label);
  EXPECT_EQ(label, "CTF_|X|_vs_[NX]");
  game().gametype = kClanArena;
  game().q3players[3].name.assign("Osprey");  // no common tag of two characters
  detectClans(game(), label);
  EXPECT_EQ(label, "CA_|X|_vs_BLUE");
}

TEST_F(Teams, ThreePlayerGamesAndEmptyTeamsUseTheTeamColours) {
  addPlayers({"|X|Falcon", "|X|Heron", "[NX]Kite"});
  game().q3players[0].team = game().q3players[1].team = kRed;
  game().q3players[2].team = kBlue;
  game().gametype = kTeamDeathmatch;
  std::string label;
  detectClans(game(), label);
  EXPECT_EQ(label, "TDM_RED_vs_BLUE");
  game().q3players[2].team = kNoTeam;  // blue is left without players
  addPlayer(game(), "|X|Wren");
  game().q3players[3].team = kRed;
  detectClans(game(), label);
  EXPECT_EQ(label, "TDM_|X|_vs_BLUE");
}
