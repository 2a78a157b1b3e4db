// Unit tests of the server-event translators: joins, renames, disconnects,
// chat, flag events, kills and pickups, written in console form.
#include <gtest/gtest.h>

#include <string>

#include "line_text.h"
#include "output_capture.h"

using namespace preparse;

namespace {

std::string userinfo(int slot, const std::string& name, char team, const std::string& model = "sarge") {
  return "  0:01 ClientUserinfoChanged: " + std::to_string(slot) + " n\\" + name + "\\t\\" + team + "\\model\\" +
         model + "\\hmodel\\" + model + "\\c1\\4";
}

std::string joinLines(const std::string& name, const std::string& team, const std::string& model = "sarge") {
  return name + " entered the game\n" + name + " is on team " + team + "\n" + name + " is using model " + model +
         "\n";
}

}  // namespace

TEST(AddClient, JoinsRenamesAndTeamChangesFollowTheTeamLatch) {
  OutputCapture out;
  out.p.addClient(eventText(userinfo(2, "^1Ann", '1')));
  EXPECT_EQ(out.take(), joinLines("^1Ann^7", "RED"));

  // The same userinfo again writes nothing but sets the latch again...
  out.p.addClient(eventText(userinfo(2, "^1Ann", '1')));
  EXPECT_EQ(out.take(), "");
  // ...so the next free client joins even though its own team is free.
  out.p.addClient(eventText(userinfo(3, "Bob", '0', "doom")));
  EXPECT_EQ(out.take(), joinLines("Bob^7", "UNKNOWN", "doom"));

  out.p.addClient(eventText(userinfo(2, "^1Anna", '1')));
  EXPECT_EQ(out.take(), "^1Ann^7 renamed to ^1Anna^7\n");
  out.p.addClient(eventText(userinfo(2, "^1Anna", '2')));
  EXPECT_EQ(out.take(), joinLines("^1Anna^7", "BLUE"));

  EXPECT_EQ(out.p.game.q3players[2].team, '2');
  EXPECT_EQ(out.p.game.dupq3players[2].name.view(), "^1Anna^7");
}

TEST(AddClient, FreeClientWithoutTeamJoinsOnlyInGameTypeOne) {
  OutputCapture out;
  out.p.addClient(eventText(userinfo(0, "Solo", '0')));
  EXPECT_EQ(out.take(), "");  // free-for-all joins come from the kill lines instead

  out.p.game.gametype.assign("1");
  out.p.addClient(eventText(userinfo(1, "Duel", '0')));
  EXPECT_EQ(out.take(), "Duel^7 entered the game\nDuel^7 is on team FFA\nDuel^7 is using model sarge\n");
}

TEST(AddClient, OddNumbersAndTeamsStayInsideTheTables) {
  OutputCapture out;
  out.p.addClient(eventText(userinfo(900, "Far", '7')));   // slot 64, team taken as free
  out.p.addClient(eventText(userinfo(-3, "Neg", '0')));    // slot 64 as well: a rename
  EXPECT_EQ(out.take(), "Far^7 renamed to Neg^7\n");
  EXPECT_EQ(out.p.game.q3players[64].team, '0');
  out.p.addClient(eventText("ClientUserinfoChanged: x n\\Nobody\\t\\1\\model\\m"));  // no client number
  out.p.addClient(eventText("ClientUserinfoChanged: 5 \\t\\1\\model\\m"));          // no name
  EXPECT_EQ(out.take(), "");
}

TEST(DelClient, ReportsOccupiedSlotsOnly) {
  OutputCapture out;
  out.p.delClient(eventText("  1:00 ClientDisconnect: 4"));  // free slot
  out.p.delClient(eventText("  1:00 ClientDisconnect: 1022"));
  EXPECT_EQ(out.take(), "");

  out.p.addClient(eventText(userinfo(4, "Cid", '1')));
  out.take();
  out.p.delClient(eventText("  1:00 ClientConnect: 4"));  // the slot changes hands
  EXPECT_EQ(out.take(), "Cid^7 disconnected\n");
  EXPECT_TRUE(isFree(out.p.game.q3players[4]));
  EXPECT_EQ(out.p.game.dupq3players[4].name.view(), "Cid^7");  // kept for the weapon statistics
  out.p.delClient(eventText("  1:00 ClientDisconnect: 4"));
  EXPECT_EQ(out.take(), "");
}

TEST(PrintChat, OnlyIntroducedSendersAreWrittenUnderTheirKnownName) {
  OutputCapture out;
  // Nobody is introduced yet: the reader would not know the sender.
  out.p.printChat(eventText("19.6 say: Doom: How many Gauntlets: two?"));
  EXPECT_EQ(out.take(), "");

  out.p.addClient(eventText(userinfo(1, "Doom", '1')));
  out.p.addClient(eventText(userinfo(2, "Ann: the Great", '2')));
  out.p.addClient(eventText(userinfo(3, "^1Ann", '3')));  // a spectator: no join lines
  out.take();
  out.p.printChat(eventText("19.6 say: Doom: How many Gauntlets: two?"));
  out.p.printChat(eventText("19.6 sayteam: Doom: cover me"));
  // A name holding ": " is not cut at its first ": ".
  out.p.printChat(eventText("19.7 say: Ann: the Great: hi"));
  out.p.printChat(eventText("19.8 say: ^1Ann: from the stands"));
  EXPECT_EQ(out.take(),
            "Doom^7: How many Gauntlets: two?\n"
            "(Doom^7): cover me\n"
            "Ann: the Great^7: hi\n");

  // Servers that write the colour-free name still reach the known name.
  out.p.addClient(eventText(userinfo(4, "^3Bo^4b", '1')));
  out.take();
  out.p.printChat(eventText("  2:00 say: Bob: nice one"));
  EXPECT_EQ(out.take(), "^3Bo^4b^7: nice one\n");

  out.p.printChat(eventText("19.6 say: Doom: my RCON is secret"));
  out.p.printChat(eventText("19.6 say: Doom: new PassWord please"));
  out.p.printChat(eventText("19.6 say: Doom without a separator"));
  out.p.printChat(eventText("19.6 tell: Doom to Ann: psst"));
  out.p.delClient(eventText("  2:00 ClientDisconnect: 1"));
  out.take();
  out.p.printChat(eventText("  2:01 say: Doom: still here?"));  // the reader retired Doom
  EXPECT_EQ(out.take(), "");
}

TEST(PrintChat, ObituariesIntroduceAndSilentNameChangesRetire) {
  OutputCapture out;
  out.p.printKills(eventText("  1:00 Kill: 0 1 10: K killed V by MOD_RAILGUN"));
  out.p.printKills(eventText("  1:01 Kill: 1022 2 22: <world> killed W by MOD_FALLING"));
  out.take();
  out.p.printChat(eventText("  1:02 say: K: gg"));
  out.p.printChat(eventText("  1:02 say: V: gg"));
  out.p.printChat(eventText("  1:02 say: W: gg"));
  out.p.printChat(eventText("  1:02 say: <world>: not shown in the obituary"));
  EXPECT_EQ(out.take(), "K^7: gg\nV^7: gg\nW^7: gg\n");

  // A name shown in an obituary is known; a name taken without a line the
  // reader sees is not: a kill line's killer of a victim-only death, or a
  // userinfo name that the old name contains (no rename line is written).
  out.p.printKills(eventText("  1:03 Kill: 1022 0 22: <world> killed K2 by MOD_FALLING"));
  out.p.printKills(eventText("  1:04 Kill: 2 1 22: Wx killed V by MOD_FALLING"));
  out.p.addClient(eventText(userinfo(5, "Big Joe", '1')));
  out.p.addClient(eventText(userinfo(5, "Joe", '1')));
  out.take();
  out.p.printChat(eventText("  1:05 say: K2: shown"));
  out.p.printChat(eventText("  1:05 say: Wx: not shown"));
  out.p.printChat(eventText("  1:05 say: V: shown"));
  out.p.printChat(eventText("  1:05 say: Joe: not shown"));
  EXPECT_EQ(out.take(), "K2^7: shown\nV^7: shown\n");
}

TEST(PrintCtfStats, EveryFlagKeywordUsesItsTeamWord) {
  struct Case {
    const char* keyword;
    const char* expected;  // for a red player named Red^7
  };
  const Case cases[] = {
      {"Flag_Return:", "Red^7 returned the RED flag!\n"},
      {"Flag_Pickup:", "Red^7 got the BLUE flag!\n"},
      {"Kill_Carrier:", "Red^7 fragged BLUE's flag carrier!\n"},
      {"Defend_Hurt_Carrier:", "Red^7 defends RED's flag carrier against an agressive enemy\n"},
      {"Defend_Carrier:", "Red^7 defends the RED's flag carrier.\n"},
      {"Flag_Capture:", "Red^7 captured the BLUE flag!\n"},
      {"Flag_Assist_Return:", "Red^7 gets an assist for returning the RED flag!\n"},
      {"Flag_Assist_Frag:", "Red^7 gets an assist for fragging the BLUE flag carrier!\n"},
      {"Defend_Flag:", "Red^7 defends the RED flag\n"},
      {"Defend_Base:", "Red^7 defends the RED base\n"},
      {"Hurt_Carrier_Defend:", "Red^7 RED's flag carrier defends against an agressive enemy\n"},
  };
  OutputCapture out;
  out.p.addClient(eventText(userinfo(6, "Red", '1')));
  out.take();
  for (const Case& c : cases) {
    out.p.printCtfStats(eventText(std::string("  2:00 ") + c.keyword + " 6 1"));
    EXPECT_EQ(out.take(), c.expected) << c.keyword;
  }
  out.p.game.q3players[6].team = '3';
  out.p.printCtfStats(eventText("Flag_Capture: 6"));
  EXPECT_EQ(out.take(), "Red^7 captured the UNKNOWN flag!\n");
  out.p.printCtfStats(eventText("Flag_Capture: 65"));
  out.p.printCtfStats(eventText("Flag_Capture: -1"));
  EXPECT_EQ(out.take(), "");
  out.p.printCtfStats(eventText("  2:00 Round starts!"));
  EXPECT_EQ(out.take(), "Round starts!\n");
}

TEST(PrintKills, EveryCauseWritesItsObituary) {
  struct Case {
    const char* cause;
    const char* expected;
  };
  const Case cases[] = {
      {"MOD_GAUNTLET", "V^7 was pummeled by K^7\n"},
      {"MOD_MACHINEGUN", "V^7 was machinegunned by K^7\n"},
      {"MOD_SHOTGUN", "V^7 was gunned down by K^7\n"},
      {"MOD_ROCKET", "V^7 almost dodged K^7's rocket\n"},
      {"MOD_ROCKET_SPLASH", "V^7 almost dodged K^7's rocket\n"},
      {"MOD_GRENADE_SPLASH", "V^7 was shredded by K^7's shrapnel\n"},
      {"MOD_PLASMA_SPLASH", "V^7 was melted by K^7's plasmagun\n"},
      {"MOD_LIGHTNING", "V^7 was electrocuted by K^7\n"},
      {"MOD_RAILGUN", "V^7 was railed by K^7\n"},
      {"MOD_BFG_SPLASH", "V^7 was blasted by K^7's BFG\n"},
      {"MOD_TELEFRAG", "V^7 tried to invade K^7's personal space\n"},
      {"MOD_TRIGGER_HURT", "V^7 was in the wrong place.\n"},
      {"MOD_FALLING", "V^7 cratered.\n"},
      {"MOD_LAVADOOM", "V^7 does a back flip into the lava.\n"},
      {"MOD_SUICIDE", "V^7 killed itself.\n"},
      {"MOD_SLIME", "V^7 melted.\n"},
      {"MOD_WATER", "V^7 sank like a rock.\n"},
      {"MOD_CRUSH", "V^7 was squished.\n"},
      {"MOD_GRAPPLE", "V^7 was disemboweled by K^7's grappling hook\n"},
      {"MOD_NAILGUN", "V^7 was impaled by K^7's shower of nails\n"},
      {"MOD_UNKNOWN", ""},
  };
  OutputCapture out;
  for (const Case& c : cases) {
    out.p.printKills(eventText(std::string("12.5 Kill: 0 1 7: K killed V by ") + c.cause + " 3"));
    EXPECT_EQ(out.take(), c.expected) << c.cause;
  }
}

TEST(PrintKills, WorldSelfAndOddKillsKeepRecordsInBounds) {
  OutputCapture out;
  out.p.printKills(eventText("  1:08 Kill: 1022 2 22: <world> killed Isgalamido by MOD_TRIGGER_HURT"));
  EXPECT_EQ(out.take(), "Isgalamido^7 was in the wrong place.\n");
  EXPECT_EQ(out.p.game.q3players[64].name.view(), "<world>^7");
  EXPECT_EQ(out.p.game.q3players[2].name.view(), "Isgalamido^7");

  out.p.printKills(eventText("  1:09 Kill: 3 3 7: Dono da Bola killed Dono da Bola by MOD_ROCKET_SPLASH"));
  EXPECT_EQ(out.take(), "Dono da Bola^7 almost dodged Dono da Bola^7's rocket\n");

  // A name can name a cause; the weapon still comes from the cause, the
  // line's last " by MOD_".
  out.p.printKills(eventText("Kill: 4 5 10: x MOD_GAUNTLET killed y by MOD_RAILGUN"));
  out.p.printKills(eventText("Kill: 4 5 10: x killed y by MOD_GAUNTLET by MOD_RAILGUN"));
  EXPECT_EQ(out.take(), "y^7 was railed by x MOD_GAUNTLET^7\ny by MOD_GAUNTLET^7 was railed by x^7\n");

  out.p.printKills(eventText("Kill: -7 99999999999999999999999 10: a killed b by MOD_RAILGUN"));
  EXPECT_EQ(out.take(), "b^7 was railed by a^7\n");
  out.p.printKills(eventText("Kill: 1 2 3 a killed b by MOD_RAILGUN"));  // no ": " before the names
  out.p.printKills(eventText("Kill: one two 3: a killed b by MOD_RAILGUN"));
  EXPECT_EQ(out.take(), "");
}

TEST(PrintItems, PickupsAndFlagsWithoutOsp) {
  OutputCapture out;
  out.p.addClient(eventText(userinfo(2, "Red", '1')));
  out.p.addClient(eventText(userinfo(3, "Blue", '2')));
  out.take();
  out.p.printItems(eventText("  0:21 Item: 2 item_health_mega"));
  out.p.printItems(eventText("  0:22 Item: 2 weapon_rocketlauncher"));
  out.p.printItems(eventText("  0:22 Item: 2 ammo_rockets"));
  out.p.printItems(eventText("  0:23 Item: 70 item_quad"));
  EXPECT_EQ(out.take(), "Red^7 picked up the item item_health_mega\n");

  out.p.printItems(eventText("Item: 3 team_CTF_redflag"));
  out.p.printItems(eventText("Item: 2 team_CTF_blueflag"));
  out.p.printItems(eventText("Item: 2 team_CTF_redflag"));  // own flag
  EXPECT_EQ(out.take(), "Blue^7 got the RED flag!\nRed^7 got the BLUE flag!\n");
  EXPECT_EQ(out.p.game.q3players[3].flag_carrier, 1);

  out.p.game.OSP = 1;  // out.p.game.OSP reports flags with "Flag_Pickup:" instead
  out.p.printItems(eventText("Item: 3 team_CTF_redflag"));
  EXPECT_EQ(out.take(), "");
}

TEST(EventText, SkipsBlanksAndTimeStampOnly) {
  EXPECT_EQ(eventText("  0:00 InitGame: x"), "InitGame: x");
  EXPECT_EQ(eventText("981:21 say: a: b"), "say: a: b");
  EXPECT_EQ(eventText("19.6 Kill: 1"), "Kill: 1");
  EXPECT_EQ(eventText("ShutdownGame:"), "ShutdownGame:");
  EXPECT_EQ(eventText("\t 12:00:01   Item: 2"), "Item: 2");
  // No stamp without a blank after it; a stamp is digits, ":" and ".".
  EXPECT_EQ(eventText("12:34Kill: 1"), "12:34Kill: 1");
  EXPECT_EQ(eventText("1a:00 Kill: 1"), "1a:00 Kill: 1");
  EXPECT_EQ(eventText("   "), "");
  EXPECT_EQ(eventText("0:00 "), "");
}

TEST(TranslateLine, KeywordsInsideNamesOrTextNeverPassForEvents) {
  OutputCapture out;
  out.p.addClient(eventText(userinfo(0, "Ann", '1')));
  out.p.addClient(eventText(userinfo(1, "Item: 0 item_quad", '2')));
  out.take();
  const char* lines[] = {
      "  3:00 say: Ann: Kill: 0 1 10: Ann killed Bob by MOD_RAILGUN",
      "  3:00 say: Ann: Flag_Capture: 0",
      "  3:01 sayteam: Nobody: Kill: 0 1 10: a killed b by MOD_RAILGUN",
      "  3:02 broadcast: print \"Flag_Capture: 0 Round starts!\"",
      "  3:03 score: 5  ping: 0  client: 0 Item: 0 item_quad",
      "  3:04 ClientUserinfoChanged: 7 n\\ClientDisconnect: 0\\t\\3\\model\\m",
      "  3:05 Kill: 1 0 10: Item: 0 item_quad killed Ann by MOD_RAILGUN",
      "  3:06 Exit: ClientConnect: 0 Weapon_Stats: 0 Given:1 Recvd:1",
      "  3:07 Item: 0 item_armor_body",
  };
  for (const char* line : lines) out.p.translateLine(line);
  EXPECT_EQ(out.take(),
            "Ann^7: Kill: 0 1 10: Ann killed Bob by MOD_RAILGUN\n"
            "Ann^7: Flag_Capture: 0\n"
            "Ann^7 was railed by Item: 0 item_quad^7\n"
            "Ann^7 picked up the item item_armor_body\n");
  EXPECT_FALSE(isFree(out.p.game.q3players[0]));
}

TEST(TranslateLine, OverlongTextIsCutNotOverflowed) {
  OutputCapture out;
  const std::string name(600, 'N');
  out.p.translateLine(userinfo(1, name, '1'));
  out.p.translateLine("Kill: 1 1 7: " + name + " killed " + name + " by MOD_ROCKET");
  out.p.translateLine("say: " + name + ": " + std::string(700, 'm'));
  const std::string written = out.take();
  EXPECT_EQ(out.p.game.q3players[1].name.size(), kMaxTextLength);
  EXPECT_NE(written.find(" almost dodged "), std::string::npos);
  // Lines of binary garbage pass without harm.
  std::string garbage;
  for (int i = 0; i < 509; ++i) garbage.push_back(static_cast<char>(1 + (i * 37) % 255));
  out.p.translateLine(garbage);
  out.p.translateLine("Item: ");
  out.p.translateLine("Weapon_Stats:  Given: Recvd:");
}
