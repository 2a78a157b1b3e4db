#include "main_tables.h"
#include "console_fixture.h"
#include "scoring.h"

using MainTables = ReportTest;

namespace {

// A capture-the-flag game with `red` and `blue` players and the totals done.
void ctfGame(int red, int blue) {
  Game& game = ReportTest::game();
  for (int i = 0; i < red + blue; ++i) {
    addPlayer(game, "p" + std::to_string(i));
    game.q3players[i].team = i < red ? kRed : kBlue;
  }
  game.gametype = kCaptureTheFlag;
  addUpTables(game);
}

}  // namespace

TEST_F(MainTables, FreeForAllRowsAlternateAndPadKillsToTwoDigits) {
  addPlayers({"a", "b", "c"});
  game().q3players[0].kills = 5;
  game().q3players[0].deaths = 3;
  game().q3players[1].kills = 12;
  game().q3players[2].kill_streak = 123;
  std::string list = render(htmlDrawPlayerListTable);
  EXPECT_NE(list.find("<td CLASS=\"neutralLowlight\"><div align=center>1</div></td>\n"), std::string::npos);
  EXPECT_NE(list.find("<td CLASS=\"neutral\"><div align=center>2</div></td>\n"), std::string::npos);
  EXPECT_NE(list.find("<td CLASS=\"neutralLowlight\"><div align=center>3</div></td>\n"), std::string::npos);
  EXPECT_NE(list.find("<div align=center>05 / 03</div>"), std::string::npos);
  EXPECT_NE(list.find("<div align=center>12 / 00</div>"), std::string::npos);
  EXPECT_NE(list.find("<div align=center>123 / 00</div>"), std::string::npos);
  EXPECT_NE(list.find("<td COLSPAN=11 CLASS=\"neutralHighlight\">&nbsp;</td>"), std::string::npos);
  // Nobody won anything: the blank award image stands in both award columns.
  EXPECT_EQ(countOf(list, "<IMG src=images/awards/blank.gif>&nbsp;"), 6);
}

TEST_F(MainTables, TheSmallerTeamGetsFillerRows) {
  ctfGame(3, 5);
  std::string list = render(htmlDrawPlayerListTable);
  std::string red_filler = "<tr>\n";
  for (int c = 0; c < 7; ++c) red_filler += "<td CLASS=\"red\">&nbsp;</td>";
  red_filler += "</tr>\n";
  EXPECT_EQ(countOf(list, red_filler), 2);
  EXPECT_EQ(countOf(list, "<td CLASS=\"blue\">&nbsp;</td>"), 0);
  EXPECT_NE(list.find("<td CLASS=\"redHighlight\"><div align=center><b>CAPS</b></div></td>"), std::string::npos);
  // No players without a team are listed: the list ends after the two tables.
  EXPECT_TRUE(list.ends_with("</table></td>\n</tr>\n</table><br>")) << list.substr(list.size() - 60);
}

TEST_F(MainTables, PlayersWithoutATeamAreListedOnlyWhenConfigured) {
  ctfGame(1, 1);
  addPlayer(game(), "loner");
  EXPECT_EQ(render(htmlDrawPlayerListTable).find("SUICIDES"), std::string::npos);
  config().display_unknown_team_players = true;
  std::string list = render(htmlDrawPlayerListTable);
  EXPECT_NE(list.find("<td CLASS=\"neutralHighlight\"><div align=center><b>DEATH STREAK</b></div></td>"),
            std::string::npos);
  EXPECT_NE(list.find("<td CLASS=\"neutral\"><font color=#FFFFFF>loner</font></div></td>\n"), std::string::npos);
  EXPECT_NE(list.find("<td COLSPAN=9 CLASS=\"neutralHighlight\">&nbsp;</td>"), std::string::npos);
}

TEST_F(MainTables, CardsShowQuotesEfficiencyAndAccuracy) {
  ctfGame(1, 1);
  game().q3players[0].quote.assign(std::string(61, 'q') + "TAIL OF A LONG QUOTE");
  game().q3players[1].accuracy_total_hits = 1;
  game().q3players[1].accuracy_total_attempts = 3;
  game().q3players[1].kills = 3;
  game().q3players[1].deaths = 1;
  std::string cards = render(htmlDrawPlayerStatTable);
  EXPECT_NE(cards.find("<DIV align=right>\" " + std::string(61, 'q') + " \"</DIV></td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td COLSPAN=4 CLASS=\"blue\"><DIV align=right>\"  \"</DIV></td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td WIDTH=25% CLASS=\"red\"><div align=center>0.00</div></td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td WIDTH=25% CLASS=\"red\"><div align=center>-</div></td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td WIDTH=25% CLASS=\"blue\"><div align=center>74.98</div></td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td WIDTH=25% CLASS=\"blue\"><div align=center>33.33</div></td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td WIDTH=25% CLASS=\"red\">Flag Captures</td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td WIDTH=25% CLASS=\"red\">Efficiency %</td>\n"), std::string::npos);
  EXPECT_NE(cards.find("<td CLASS=\"blueHighlight\" COLSPAN=2><DIV ALIGN=RIGHT>"), std::string::npos);
  EXPECT_NE(cards.find("<td CLASS=\"redHighlight\" COLSPAN=2 ><DIV ALIGN=RIGHT>"), std::string::npos);
  // A league that shows no quotes gets the empty cell.
  config().show_quotes = false;
  cards = render(htmlDrawPlayerStatTable);
  EXPECT_EQ(cards.find(std::string(61, 'q')), std::string::npos);
  EXPECT_EQ(countOf(cards, "<DIV align=right>\"  \"</DIV></td>\n"), 2);
}

TEST_F(MainTables, TeamDeathmatchCardsHaveNoFlagRows) {
  ctfGame(1, 1);
  game().gametype = kTeamDeathmatch;
  EXPECT_EQ(render(htmlDrawPlayerStatTable).find("Flag Captures"), std::string::npos);
}

TEST_F(MainTables, ScoreBlocksOfEachGameType) {
  ctfGame(2, 2);
  game().q3players[0].ctf_flag_caps = 3;
  game().q3players[0].ctf_flag_touches = 4;
  game().mapname.assign("q3wctf1");
  std::string ctf = render(htmlDrawTeamStatTable);
  EXPECT_NE(ctf.find("<img src=images/flag_ctf_red.jpg>"), std::string::npos);
  EXPECT_NE(ctf.find("<p style=\"font-size: 30pt; color: red\">3</p>"), std::string::npos);
  EXPECT_NE(ctf.find("<td CLASS=\"red\"><CENTER>4</CENTER></td>\n<td CLASS=\"neutralCtf\"><center>flag "
                     "touches</center></td>\n"),
            std::string::npos);

  game().gametype = kClanArena;
  game().ca_win_red = 5;
  game().ca_win_blue = 2;
  std::string ca = render(htmlDrawTeamStatTable);
  EXPECT_NE(ca.find("<img src=images/flag_tdm_blue.gif>"), std::string::npos);
  EXPECT_NE(ca.find("color: red\">5</p>"), std::string::npos);
  EXPECT_NE(ca.find("color: blue\">2</p>"), std::string::npos);
  EXPECT_NE(ca.find("<center>score</center>"), std::string::npos);
  EXPECT_NE(ca.find("<td CLASS=\"red\"><CENTER>0.00</CENTER></td>\n<td CLASS=\"neutralCtf\"><center>skill"),
            std::string::npos);

  game().gametype = kTeamDeathmatch;
  EXPECT_EQ(render(htmlDrawTeamStatTable).find("<center>score</center>"), std::string::npos);
}
