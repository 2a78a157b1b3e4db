#include <utility>
#include <vector>

#include "analyser_fixture.h"
#include "kills.h"
#include "line_names.h"

using KillEvents = AnalyserTest;

TEST_F(KillEvents, EveryObituaryFormNamesItsWeapon) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"B^7 was pummeled by A^7", kGauntlet},
      {"B^7 was machinegunned by A^7", kMachineGun},
      {"B^7 was gunned down by A^7", kShotGun},
      {"B^7 was shredded by A^7's shrapnel", kGrenadeLauncher},
      {"B^7 ate A^7's grenade", kGrenadeLauncher},
      {"B^7 tripped on her own grenade.", kGrenadeLauncher},
      {"B^7 almost dodged A^7's rocket", kRocketLauncher},
      {"B^7 ate A^7's rocket", kRocketLauncher},
      {"B^7 blew itself up.", kRocketLauncher},
      {"B^7 was electrocuted by A^7", kLightningGun},
      {"B^7 pressed the wrong button.", kLightningGun},
      {"B^7 was swimming too close to A^7's super weapon", kLightningGun},
      {"B^7 was railed by A^7", kRailGun},
      {"B^7 was melted by A^7's plasmagun", kPlasmaGun},
      {"B^7 melted herself.", kPlasmaGun},
      {"B^7 was blasted by A^7's BFG", kBfg},
      {"B^7 should have used a smaller gun.", kBfg},
      {"B^7 was impaled by A^7's shower of nails", kNailGun},
      {"B^7 was disemboweled by A^7's grappling hook", kGrapple},
      {"B^7 tried to invade A^7's personal space", kTeleFrag},
      {"B^7 cratered.", kSuicide},
      {"B^7 killed himself.", kSuicide},
      {"B^7 does a back flip into the lava.", kSuicide},
      {"B^7 sank like a rock.", kSuicide},
      {"B^7 was squished.", kSuicide},
      {"B^7 melted.", kSuicide},
      {"B^7 was in the wrong place.", kSuicide},
      {"B^7 ate a sandwich", kNoKill},
      {"B^7 entered the game", kNoKill},
  };
  for (const auto& [line, weapon] : cases) EXPECT_EQ(getWeapon(Line(line).scan), weapon) << line;
}

// The event reads both names in one go; each must be what the functions
// for one name give, for every kind of line that names somebody.
TEST_F(KillEvents, TheEventsNamesAreThoseOfTheOneNameFunctions) {
  for (std::string_view text : {"^3Moss^7 was railed by ^1Raven^7", "Tarn^7 almost dodged Raven^7's rocket",
                                "Tarn^7 ate a sandwich", "Tarn^7 cratered.", "^1Raven^7 entered the game",
                                "Raven^7 renamed to Crow^7", "Raven^7 is using model sarge", "Raven^7 is on team RED",
                                "Tarn^7 killed himself. was railed by Moss^7", "no names here", ""}) {
    const Line line{text};
    EXPECT_EQ(line.event.victim_name, getVictimName(line.scan)) << text;
    EXPECT_EQ(line.event.attacker_name, getAttackerName(line.scan)) << text;
  }
}

TEST_F(KillEvents, NamesOfKillSuicideAndSelfLines) {
  EXPECT_EQ(getVictimName(Line("^3Moss^7 was railed by ^1Raven^7").scan), "^3Moss");
  EXPECT_EQ(getAttackerName(Line("^3Moss^7 was railed by ^1Raven^7").scan), "^1Raven");
  // Possessive endings are cut from the killer's name.
  EXPECT_EQ(getAttackerName(Line("Tarn^7 almost dodged Raven^7's rocket").scan), "Raven");
  EXPECT_EQ(getAttackerName(Line("Tarn^7 tried to invade Raven^7's personal space").scan), "Raven");
  EXPECT_EQ(getAttackerName(Line("Tarn^7 was impaled by Raven^7's shower of nails").scan), "Raven");
  EXPECT_EQ(getAttackerName(Line("Tarn^7 was disemboweled by Raven^7's grappling hook").scan), "Raven");
  // A suicide names the victim twice; " ate " without a weapon names no attacker.
  EXPECT_EQ(getAttackerName(Line("Tarn^7 cratered.").scan), "Tarn");
  EXPECT_EQ(getVictimName(Line("Tarn^7 cratered.").scan), "Tarn");
  EXPECT_EQ(getAttackerName(Line("Tarn^7 ate a sandwich").scan), kNoQuote);
  // Self lines: the one character before the ending is not part of the name.
  EXPECT_EQ(getVictimName(Line("^1Raven^7 entered the game").scan), "^1Raven");
  EXPECT_EQ(getVictimName(Line("Heron^7 entered the game (^1RED^7)").scan), "Heron");
  EXPECT_EQ(getVictimName(Line("Wren^7 got the BLUE flag!").scan), "Wren");
  // Non-kill separators: the second operand is a name or a value.
  EXPECT_EQ(getAttackerName(Line("Old^7 renamed to New^7").scan), "New");
  EXPECT_EQ(getAttackerName(Line("Raven^7 is using model sarge/krusade").scan), "sarge/krusade");
  EXPECT_EQ(getAttackerName(Line("Raven^7 is on team BLUE").scan), "BLUE");
  EXPECT_EQ(getVictimName(Line("Accuracy info for: Raven").scan), "");
  // A double caret at the end is text, not a colour code.
  EXPECT_EQ(getVictimName(Line("Odd^^ was railed by X").scan), "Odd^^");
  EXPECT_EQ(getVictimName(Line("nothing to see").scan), kNoQuote);
  EXPECT_EQ(getAttackerName(Line("nothing to see").scan), kNoQuote);
}

TEST_F(KillEvents, AKillTalliesWeaponAndOpponentAndRaisesTheKillersRatings) {
  addPlayers({"Alpha", "Bravo"});
  updateTables(game(), Line("Bravo^7 was railed by Alpha^7").event);
  const Q3Player& a = game().q3players[0];
  const Q3Player& b = game().q3players[1];
  EXPECT_EQ(a.kills_by_weapon[kRailGun][1], 1);
  EXPECT_EQ(b.deaths_by_weapon[kRailGun][0], 1);
  // Single precision: 10 + 1.2 * (10 / 100 + 1), the product rounded to float.
  EXPECT_EQ(a.skill, 11.32f);
  EXPECT_EQ(a.combat, 11.32f);
  EXPECT_EQ(b.skill, 10.0f);  // the victim's skill does not drop
  EXPECT_EQ(b.combat, 9.9f);
  EXPECT_EQ(a.kills, 0);  // kills are totalled at the end of the game
  EXPECT_EQ(a.kills_by_weapon[kAllWeapons][1], 0);
  EXPECT_EQ(a.kills_by_weapon[kNoKill][1], 0);
}

TEST_F(KillEvents, KillValueFollowsTheVictimsSkill) {
  addPlayers({"Alpha", "Bravo"});
  game().q3players[1].skill = 30.0f;
  updateTables(game(), Line("Bravo^7 was railed by Alpha^7").event);
  EXPECT_FLOAT_EQ(game().q3players[0].skill - 10.0f, 1.56f);  // 1.2 x 1.3
}

TEST_F(KillEvents, StreaksRunUntilTheNextDeathOrKill) {
  addPlayers({"Alpha", "Bravo"});
  for (int i = 0; i < 3; ++i) updateTables(game(), Line("Bravo^7 was machinegunned by Alpha^7").event);
  updateTables(game(), Line("Alpha^7 was gunned down by Bravo^7").event);
  const Q3Player& a = game().q3players[0];
  const Q3Player& b = game().q3players[1];
  EXPECT_EQ(a.kill_streak, 3);
  EXPECT_EQ(a.current_kill_streak, 0);
  EXPECT_EQ(a.current_death_streak, 1);
  EXPECT_EQ(a.death_streak, 1);
  EXPECT_EQ(b.death_streak, 3);
  EXPECT_EQ(b.current_death_streak, 0);
  EXPECT_EQ(b.kill_streak, 1);
}

TEST_F(KillEvents, TeamKillCostsTheKillerAndStillExtendsHisStreak) {
  addPlayers({"Alpha", "Bravo"});
  game().q3players[0].team = game().q3players[1].team = kBlue;
  updateTables(game(), Line("Bravo^7 was railed by Alpha^7").event);
  const Q3Player& a = game().q3players[0];
  EXPECT_EQ(a.kills, -1);
  EXPECT_EQ(a.team_kills, 1);
  EXPECT_EQ(a.skill, 8.0f);
  EXPECT_EQ(a.combat, 8.0f);
  EXPECT_EQ(a.current_kill_streak, 1);
  EXPECT_EQ(game().q3players[1].combat, 10.0f);
}

TEST_F(KillEvents, SuicidesCountInTheOwnColumnAndLeaveKillsAlone) {
  addPlayers({"Alpha"});
  updateTables(game(), Line("Alpha^7 cratered.").event);
  updateTables(game(), Line("Alpha^7 blew himself up.").event);
  const Q3Player& a = game().q3players[0];
  EXPECT_EQ(a.deaths_by_weapon[kSuicide][0], 1);
  EXPECT_EQ(a.deaths_by_weapon[kRocketLauncher][0], 1);
  EXPECT_EQ(a.kills, 0);
  EXPECT_EQ(a.current_kill_streak, 0);
  EXPECT_EQ(a.death_streak, 2);
  float once = 10.0f - 10.0f / 95.0f;
  EXPECT_FLOAT_EQ(a.combat, once - once / 95.0f);
  EXPECT_EQ(a.skill, 10.0f);
}

TEST_F(KillEvents, FlagCarriersScoreHoldKillsAndDropTheFlagOnlyBySuicide) {
  addPlayers({"Alpha", "Bravo"});
  game().q3players[0].has_flag = 1;
  game().q3players[1].has_flag = 1;
  updateTables(game(), Line("Bravo^7 was railed by Alpha^7").event);
  EXPECT_EQ(game().q3players[0].ctf_flag_hold_kills, 1);
  EXPECT_FLOAT_EQ(game().q3players[0].skill, 11.32f + 0.8f);
  EXPECT_EQ(game().q3players[1].has_flag, 1);  // kept until a return, capture or round start
  updateTables(game(), Line("Alpha^7 cratered.").event);
  EXPECT_EQ(game().q3players[0].has_flag, 0);
}

TEST_F(KillEvents, KillsInvolvingUnknownPlayersChangeNothing) {
  addPlayers({"Alpha"});
  updateTables(game(), Line("Stranger^7 was railed by Alpha^7").event);
  updateTables(game(), Line("Alpha^7 was railed by Stranger^7").event);
  updateTables(game(), Line("Alpha^7 ate a sandwich").event);
  EXPECT_EQ(game().q3players[0].skill, 10.0f);
  EXPECT_EQ(game().q3players[0].combat, 10.0f);
  EXPECT_EQ(game().q3players[0].current_death_streak, 0);
  EXPECT_EQ(game().q3players[kNobody].kills_by_weapon[kRailGun][0], 0);
}
