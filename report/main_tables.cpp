#include "main_tables.h"

#include <string>

#include "awards.h"
#include "game_state.h"
#include "page_writer.h"
#include "players.h"
#include "reportconfig.h"
#include "scoring.h"

namespace {

// --- Score block -------------------------------------------------------------

// A statistic row of the team score block: red value, label, blue value.
void teamStatRow(const char* label, int red, int blue) {
  wr("<tr>\n");
  wr("<td CLASS=\"red\"><CENTER>%d</CENTER></td>\n", red);
  wr("<td CLASS=\"neutralCtf\"><center>%s</center></td>\n", label);
  wr("<td CLASS=\"blue\"><CENTER>%d</CENTER></td>\n", blue);
  wr("</tr>\n");
}

void teamStatRow(const char* label, double red, double blue) {
  wr("<tr>\n");
  wr("<td CLASS=\"red\"><CENTER>%0.2f</CENTER></td>\n", red);
  wr("<td CLASS=\"neutralCtf\"><center>%s</center></td>\n", label);
  wr("<td CLASS=\"blue\"><CENTER>%0.2f</CENTER></td>\n", blue);
  wr("</tr>\n");
}

void statRowOfKey(const char* label, const std::string& key) {
  teamStatRow(label, getStats(key + "_red"), getStats(key + "_blue"));
}

void realStatRowOfKey(const char* label, const std::string& key) {
  teamStatRow(label, getStatsDouble(key + "_red"), getStatsDouble(key + "_blue"));
}

void mapCaption() {
  if (!g_mapname.empty()) wr("<b>map : %s</b>", g_mapname.c_str());
}

void teamScoreBlock() {
  bool ctf = g_gametype == kCaptureTheFlag;
  const char* red_flag = ctf ? "<img src=images/flag_ctf_red.jpg>" : "<img src=images/flag_tdm_red.gif>";
  const char* blue_flag = ctf ? "<img src=images/flag_ctf_blue.jpg>" : "<img src=images/flag_tdm_blue.gif>";
  int red = 0;
  int blue = 0;
  if (ctf) {
    red = getStats("caps_red");
    blue = getStats("caps_blue");
  } else if (g_gametype == kClanArena) {
    red = g_ca_win_red;
    blue = g_ca_win_blue;
  } else {
    red = getStats("frags_red");
    blue = getStats("frags_blue");
  }
  wr("\n<table CLASS=\"neutralHighlightCtf\" BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  wr("<tr>\n");
  wr("<td COLSPAN=3 CLASS=\"redHighlight\">&nbsp;</td>\n");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td VALIGN=TOP CLASS=\"red\">");
  wr("%s", red_flag);
  wr("</td>\n");
  wr("<td VALIGN=MIDDLE WIDTH=100%%>\n");
  wr("\n<table BORDER=0 CELLSPACING=1 CELLPADDING=1 WIDTH=100%%>\n");
  wr("<tr>\n");
  wr("<td WIDTH=20%% CLASS=\"red\"><CENTER><p style=\"font-size: 30pt; color: red\">%d</p></CENTER></td>\n", red);
  wr("<td WIDTH=60%% CLASS=\"neutralCtf\"><center><div align=center>");
  mapCaption();
  wr("<br>");
  htmlPrintMapImage();
  wr("</div></center></td>\n");
  wr("<td WIDTH=20%% CLASS=\"blue\"><CENTER><p style=\"font-size: 30pt; color: blue\">%d</p></CENTER></td>\n", blue);
  wr("</tr>\n");
  if (ctf) {
    statRowOfKey("flag touches", "touches");
    statRowOfKey("flag hold kills", "holdkills");
    statRowOfKey("flag carrier defends", "fcdefends");
    statRowOfKey("flag carrier kills", "efckills");
    statRowOfKey("flag returns", "returns");
    statRowOfKey("base defends", "basedefends");
  } else {
    realStatRowOfKey("skill", "kestro");
    realStatRowOfKey("combat", "combat");
    if (g_gametype == kClanArena) statRowOfKey("score", "frags");
    statRowOfKey("kills", "kills");
    statRowOfKey("deaths", "deaths");
  }
  wr("</table>\n");
  wr("</td>\n");
  wr("<td VALIGN=TOP CLASS=\"blue\">");
  wr("%s", blue_flag);
  wr("</td>\n");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td COLSPAN=3 CLASS=\"blueHighlight\">&nbsp;</td>\n");
  wr("</tr>\n");
  wr("</table>\n");
}

void freeForAllScoreBlock() {
  wr("\n<table  BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%% >\n");
  wr("<tr>\n");
  wr("<td COLSPAN=3 CLASS=\"neutralHighlight\">&nbsp;</td>\n");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td VALIGN=TOP CLASS=\"neutral\"><div align=left><img src=images/flag_ffa.gif></div></td>");
  wr("<td VALIGN=TOP CLASS=\"neutral\"><div align=center>");
  wr("<br>");
  mapCaption();
  wr("<br>");
  htmlPrintMapImage();
  wr("</div>");
  wr("<div align=center>");
  wr("</div></td>\n");
  wr("<td VALIGN=TOP CLASS=\"neutral\"><div align=right><img src=images/flag_ffa.gif></div></td>");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td COLSPAN=3 CLASS=\"neutralHighlight\">&nbsp;</td>\n");
  wr("</tr>\n");
  wr("</table>");
}

// --- Anchors -----------------------------------------------------------------

void anchor(const char* family, const Q3Player& p) { wr("<A name=\"%s%s\">", family, p.raw_name.c_str()); }

void linkInPage(const char* family, const Q3Player& p) { wr("<A href=\"#%s%s\">", family, p.raw_name.c_str()); }

void linkToPage(const std::string& page, const char* family, const Q3Player& p) {
  wr("<A href=\"%s#%s%s\">", page.c_str(), family, p.raw_name.c_str());
}

// --- Player list, team games ---------------------------------------------------

// Class names of one team's tables and cards.
struct TeamStyle {
  int team;
  const char* plain;      // "red"
  const char* highlight;  // "redHighlight"
  const char* key;        // suffix of the getStats keys: "red"
};

constexpr TeamStyle kRedStyle = {kRed, "red", "redHighlight", "red"};
constexpr TeamStyle kBlueStyle = {kBlue, "blue", "blueHighlight", "blue"};

void teamListHeader(const TeamStyle& s, bool ctf) {
  wr("<tr>\n");
  wr("<td CLASS=\"%s\"><b>NAME</b></td>", s.highlight);
  for (const char* header : {"SCORE", "KILLS", "DEATHS", "CAPS", "COMBAT", "SKILL"}) {
    if (!ctf && std::string_view(header) == "CAPS") continue;
    wr("<td CLASS=\"%s\"><div align=center><b>%s</b></div></td>", s.highlight, header);
  }
  wr("</tr>\n");
}

void teamListRow(const TeamStyle& s, const Q3Player& p, bool ctf) {
  wr("<tr>\n");
  wr("<td CLASS=\"%s\"><div align=left>", s.plain);
  anchor("list-", p);
  linkInPage("stat-", p);
  htmlWriteQ3String(p.raw_name);
  wr("</A></A></div></td>\n");
  wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.frags);
  wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.kills);
  wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.deaths);
  if (ctf) wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.ctf_flag_caps);
  wr("<td CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, p.combat);
  wr("<td CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, p.skill);
  wr("</tr>\n");
}

void teamListTotal(const TeamStyle& s, bool ctf) {
  auto key = [&](const char* field) { return std::string(field) + "_" + s.key; };
  wr("<tr>\n");
  wr("<td CLASS=\"%s\"><b>TOTAL</b></td>", s.highlight);
  wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(key("frags")));
  wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(key("kills")));
  wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(key("deaths")));
  if (ctf) wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(key("caps")));
  wr("<td CLASS=\"%s\"><div align=center><b>%0.2f</b></div></td>\n", s.highlight, getStatsDouble(key("combat")));
  wr("<td CLASS=\"%s\"><div align=center><b>%0.2f</b></div></td>\n", s.highlight, getStatsDouble(key("kestro")));
  wr("</tr>\n");
}

// One team's table: header, players, filler rows up to the other team's
// size (so both tables end at the same height), total.
void teamList(const TeamStyle& s, int other_team) {
  bool ctf = g_gametype == kCaptureTheFlag;
  teamListHeader(s, ctf);
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].team == s.team) teamListRow(s, q3players[i], ctf);
  }
  int columns = ctf ? 7 : 6;
  for (int filler = getTeamTotalPlayers(other_team) - getTeamTotalPlayers(s.team); filler > 0; --filler) {
    wr("<tr>\n");
    for (int c = 0; c < columns; ++c) wr("<td CLASS=\"%s\">&nbsp;</td>", s.plain);
    wr("</tr>\n");
  }
  teamListTotal(s, ctf);
}

void unknownTeamList() {
  wr("<tr>");
  wr("<td>");
  wr("\n<table  BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=100%%  CLASS=\"neutralHighlight\">\n");
  wr("<tr>\n");
  wr("<td CLASS=\"neutralHighlight\"><b>NAME</b></td>");
  for (const char* header :
       {"SCORE", "KILLS", "DEATHS", "SUICIDES", "KILL STREAK", "DEATH STREAK", "COMBAT", "SKILL"}) {
    wr("<td CLASS=\"neutralHighlight\"><div align=center><b>%s</b></div></td>", header);
  }
  wr("</tr>\n");
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    const Q3Player& p = q3players[i];
    if (p.team != kNoTeam) continue;
    wr("<tr>\n");
    wr("<td CLASS=\"neutral\">");
    htmlWriteQ3String(p.raw_name);
    wr("</div></td>\n");
    for (int value : {p.frags, p.kills, p.deaths, p.suicides, p.kill_streak, p.death_streak}) {
      wr("<td CLASS=\"neutral\"><div align=center>%d</div></td>\n", value);
    }
    wr("<td CLASS=\"neutral\"><div align=center>%0.2f</div></td>\n", p.combat);
    wr("<td CLASS=\"neutral\"><div align=center>%0.2f</div></td>\n", p.skill);
    wr("</tr>\n");
  }
  wr("<tr>\n");
  wr("<td COLSPAN=9 CLASS=\"neutralHighlight\">&nbsp;</td>");
  wr("</tr>\n");
  wr("</table>");
  wr("</td>");
  wr("</tr>");
}

void teamPlayerList() {
  wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  wr("<tr>\n");
  wr("<td VALIGN=TOP WIDTH=50%%>\n");
  wr("\n<table  CLASS=\"redHighlight\" BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=99.50%% >\n");
  teamList(kRedStyle, kBlue);
  wr("</table>");
  wr("</td>\n");
  wr("<td VALIGN=TOP WIDTH=50%%>\n");
  wr("\n<table ALIGN=RIGHT  CLASS=\"blueHighlight\" BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=99.50%% >\n");
  teamList(kBlueStyle, kRed);
  wr("</table>");
  wr("</td>\n");
  wr("</tr>\n");
  wr("</table>");
  wr("<br>");
  if (isYes(g_config_display_unknown_team_players) && getTeamTotalPlayers(kNoTeam) >= 1) unknownTeamList();
}

// --- Player list, free-for-all -------------------------------------------------

void nameOfPlayerCell(const char* row_class, int index) {
  wr("<td CLASS=%s><div align=center><font size=-2>", row_class);
  htmlWriteQ3String(q3players[index].raw_name);
  wr("</font></div></td>\n");
}

void freeForAllRow(int i) {
  const Q3Player& p = q3players[i];
  const char* c = i % 2 == 0 ? "\"neutralLowlight\"" : "\"neutral\"";
  wr("<tr>\n");
  wr("<td CLASS=%s><div align=center>%d</div></td>\n", c, i + 1);
  wr("<td CLASS=%s>", c);
  anchor("list-", p);
  linkToPage(out_filename_wepns, "weapons-", p);
  htmlWriteQ3String(p.raw_name);
  wr("</A></A></div></td>\n");
  wr("<td CLASS=%s><div align=center>%0.2f</div></td>\n", c, p.skill);
  wr("<td CLASS=%s><div align=center>%d</div></td>\n", c, p.frags);
  // "%0.2d": the "0" flag has no effect beside a precision, so this prints
  // at least two digits, exactly as "%.2d" does.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
  wr("<td CLASS=%s><div align=center>%0.2d / %0.2d</div></td>\n", c, p.kills, p.deaths);
#pragma GCC diagnostic pop
  wr("<td CLASS=%s><div align=center>%d</div></td>\n", c, p.suicides);
  wr("<td CLASS=%s><div align=center>%.2d / %.2d</div></td>\n", c, p.kill_streak, p.death_streak);
  wr("<td CLASS=%s><div align=center>", c);
  htmlPrintAwards(p.awards, "player");
  wr("</div></td>\n");
  wr("<td CLASS=%s><div align=center>", c);
  htmlPrintAwards(p.awards, "weapons");
  wr("</div></td>\n");
  nameOfPlayerCell(c, getEasiestPrey(i));
  nameOfPlayerCell(c, getWorstEnemy(i));
  wr("</tr>\n");
}

void freeForAllPlayerList() {
  wr("<tr>");
  wr("<td>");
  wr("\n<table  BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=100%%  CLASS=\"neutralHighlight\">\n");
  wr("<tr>\n");
  for (const char* header : {"#", "NAME", "SKILL", "SCORE", "KILLS&nbsp;/<br>DEATHS", "SUICIDES",
                             "KILL&nbsp;/&nbsp;DEATH<BR>STREAK", "PLAYER<br>AWARDS", "WEAPON<br>AWARDS",
                             "EASIEST<br>PREY", "WORST<br>ENEMY"}) {
    if (std::string_view(header) == "NAME") {
      wr("<td CLASS=\"neutralHighlight\"><b>NAME</b></td>");
    } else {
      wr("<td CLASS=\"neutralHighlight\"><div align=center><b>%s</b></div></td>", header);
    }
  }
  wr("</tr>\n");
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].team == kNoTeam) freeForAllRow(i);
  }
  wr("<tr>\n");
  wr("<td COLSPAN=11 CLASS=\"neutralHighlight\">&nbsp;</td>");
  wr("</tr>\n");
  wr("</table>");
  wr("</td>");
  wr("</tr>");
}

// --- Stat cards ------------------------------------------------------------------

// Labels are written as text: "Efficiency %" appears with one percent sign.
void cardLabel(const TeamStyle& s, const char* label) { wr("<td WIDTH=25%% CLASS=\"%s\">%s</td>\n", s.plain, label); }

void cardValue(const TeamStyle& s, int value) {
  wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, value);
}

void cardRow(const TeamStyle& s, const char* label1, int value1, const char* label2, int value2) {
  wr("<tr>\n");
  cardLabel(s, label1);
  cardValue(s, value1);
  cardLabel(s, label2);
  cardValue(s, value2);
  wr("</tr>\n");
}

void cardOpponentCell(const TeamStyle& s, int opponent) {
  wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center><font size=-2>", s.plain);
  linkInPage("stat-", q3players[opponent]);
  htmlWriteQ3String(q3players[opponent].raw_name);
  wr("</A></font></div></td>\n");
}

void cardHead(const TeamStyle& s, const Q3Player& p) {
  wr("<tr>\n");
  wr("<td COLSPAN=2 CLASS=\"%s\">", s.highlight);
  anchor("stat-", p);
  linkToPage(out_filename_wepns, "weapons-", p);
  htmlWriteQ3String(p.raw_name);
  wr("</A></A></td>\n");
  if (s.team == kRed) {
    wr("<td CLASS=\"redHighlight\" COLSPAN=2 ><DIV ALIGN=RIGHT>");
  } else {
    wr("<td CLASS=\"blueHighlight\" COLSPAN=2><DIV ALIGN=RIGHT>");
  }
  htmlPrintAwards(p.awards, "player");
  wr("</DIV></td>\n");
  wr("</tr>\n");
}

void cardQuote(const TeamStyle& s, const Q3Player& p) {
  wr("<tr>\n");
  wr("<td COLSPAN=4 CLASS=\"%s\"><DIV align=right>\" ", s.plain);
  if (p.quote.view() != kNoQuote) wrText(p.quote.view().substr(0, 61));
  wr(" \"</DIV></td>\n");
  wr("</tr>\n");
}

void cardFigures(const TeamStyle& s, int i) {
  const Q3Player& p = q3players[i];
  if (g_gametype == kCaptureTheFlag) {
    cardRow(s, "Flag Captures", p.ctf_flag_caps, "Flag Touches", p.ctf_flag_touches);
    cardRow(s, "FC Defends", p.ctf_fc_defends, "FC Defends agr.", p.ctf_fc_defends_aggressive);
    cardRow(s, "Base Defends", p.ctf_base_defends, "Flag Hold Kills", p.ctf_flag_hold_kills);
    cardRow(s, "EFC Kills", p.ctf_efc_kills, "EFC&nbsp;Kill&nbsp;Assists", p.ctf_assist_efc_kills);
    cardRow(s, "Flag Returns", p.ctf_flag_returns, "Return Assists", p.ctf_assist_flag_returns);
  }
  wr("<tr>\n");
  cardLabel(s, "Score");
  cardValue(s, p.frags);
  cardLabel(s, "Kills / Deaths");
  wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%d / %d</div></td>\n", s.plain, p.kills, p.deaths);
  wr("</tr>\n");
  cardRow(s, "Kill Streak", p.kill_streak, "Death Streak", p.death_streak);
  cardRow(s, "Suicides", p.suicides, "Team Kills", p.team_kills);
  cardRow(s, "Damage Given", p.damage_given, "Damage Recvd", p.damage_recvd);

  wr("<tr>\n");
  cardLabel(s, "Efficiency %");
  double efficiency = 100.0 * p.kills / (p.kills + 0.001 + p.deaths + p.suicides + p.team_kills);
  wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%.2f</div></td>\n", s.plain, efficiency);
  cardLabel(s, "Accuracy %");
  if (p.accuracy_total_attempts >= 1) {
    double accuracy = 100.0 * p.accuracy_total_hits / p.accuracy_total_attempts;
    wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, accuracy);
  } else {
    wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>-</div></td>\n", s.plain);
  }
  wr("</tr>\n");

  wr("<tr>\n");
  cardLabel(s, "Combat");
  wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%.2f</div></td>\n", s.plain, p.combat);
  cardLabel(s, "Skill");
  wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, p.skill);
  wr("</tr>\n");

  wr("<tr>\n");
  cardLabel(s, "Easiest Prey");
  cardOpponentCell(s, getEasiestPrey(i));
  cardLabel(s, "Worst Enemy");
  cardOpponentCell(s, getWorstEnemy(i));
  wr("</tr>\n");
}

void cardAwards(const TeamStyle& s, const Q3Player& p) {
  const char* cell_end = s.team == kRed ? "</DIV></td>\n" : "</DIV></td>";
  wr("<tr>\n");
  wr("<td COLSPAN=2 CLASS=\"%s\"><DIV ALIGN=LEFT>&nbsp;", s.highlight);
  htmlPrintAwards(p.awards, "accuracy");
  wr("%s", cell_end);
  wr("<td COLSPAN=2 CLASS=\"%s\"><DIV ALIGN=RIGHT>", s.highlight);
  htmlPrintAwards(p.awards, "weapons");
  wr("%s", cell_end);
  wr("</tr>\n");
  wr("</table>");
  wr("<BR>");
}

void playerCard(const TeamStyle& s, int i) {
  const Q3Player& p = q3players[i];
  wr("\n<table CLASS=\"%s\" VALIGN=TOP BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=100%% >\n", s.highlight);
  cardHead(s, p);
  cardQuote(s, p);
  cardFigures(s, i);
  cardAwards(s, p);
}

void teamCards(const TeamStyle& s) {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    if (q3players[i].team == s.team) playerCard(s, i);
  }
}

}  // namespace

void htmlDrawTeamStatTable() {
  if (g_gametype == kFreeForAll) {
    freeForAllScoreBlock();
  } else {
    teamScoreBlock();
  }
}

void htmlDrawPlayerListTable() {
  if (g_gametype == kFreeForAll) {
    freeForAllPlayerList();
  } else {
    teamPlayerList();
  }
}

void htmlDrawPlayerStatTable() {
  wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  wr("<tr>");
  wr("<td COLSPAN=2 valign=center align=center><img SRC=images/break.gif><br><br></td>");
  wr("</tr>");
  wr("<tr>");
  wr("<td COLSPAN=2 >");
  wr("\n<table  BORDER=0 CELLSPACING=0 CELLPADDING=2 WIDTH=100%%>\n");
  wr("<tr><td CLASS=\"neutralHighlight\"><div align=center><b>PLAYER STATS</b></div></td></tr>\n");
  wr("</table>");
  wr("<br>");
  wr("</td>");
  wr("</tr>");
  wr("<tr>\n");
  wr("<td VALIGN=TOP WIDTH=50%%>\n");
  wr("\n<table  VALIGN=TOP BORDER=0 CELLSPACING=2 CELLPADDING=2 WIDTH=100%% >\n");
  wr("<tr>\n");
  wr("<td>\n");
  teamCards(kRedStyle);
  wr("</td>");
  wr("</tr>");
  wr("</table>");
  wr("</td>\n");
  wr("<td VALIGN=TOP WIDTH=50%%>\n");
  wr("\n<table VALIGN=TOP BORDER=0 CELLSPACING=2 CELLPADDING=2 WIDTH=100%% >\n");
  wr("<tr>\n");
  wr("<td>\n");
  teamCards(kBlueStyle);
  wr("</td>");
  wr("</tr>");
  wr("</table>");
  wr("</td>\n");
  wr("</tr>\n");
  wr("</table>");
}
