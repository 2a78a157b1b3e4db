#include "main_tables.h"

#include <string>
#include <string_view>

#include "awards.h"
#include "game.h"
#include "page_writer.h"
#include "players.h"
#include "reportconfig.h"
#include "scoring.h"

namespace {

// --- Score block -------------------------------------------------------------

// A statistic row of the team score block: red value, label, blue value.
void teamStatRow(Report& r, const char* label, int red, int blue) {
  r.wr("<tr>\n");
  r.wr("<td CLASS=\"red\"><CENTER>%d</CENTER></td>\n", red);
  r.wr("<td CLASS=\"neutralCtf\"><center>%s</center></td>\n", label);
  r.wr("<td CLASS=\"blue\"><CENTER>%d</CENTER></td>\n", blue);
  r.wr("</tr>\n");
}

void teamStatRow(Report& r, const char* label, double red, double blue) {
  r.wr("<tr>\n");
  r.wr("<td CLASS=\"red\"><CENTER>%0.2f</CENTER></td>\n", red);
  r.wr("<td CLASS=\"neutralCtf\"><center>%s</center></td>\n", label);
  r.wr("<td CLASS=\"blue\"><CENTER>%0.2f</CENTER></td>\n", blue);
  r.wr("</tr>\n");
}

void statRowOfKey(Report& r, const char* label, const std::string& key) {
  teamStatRow(r, label, getStats(r.game, key + "_red"), getStats(r.game, key + "_blue"));
}

void realStatRowOfKey(Report& r, const char* label, const std::string& key) {
  teamStatRow(r, label, getStatsDouble(r.game, key + "_red"), getStatsDouble(r.game, key + "_blue"));
}

// The date is shown only in its checked form (digits, "-", ":" and one
// blank; see fact_lines.h), so no log text reaches the page through it.
bool isShownDate(std::string_view played) {
  if (played.size() != std::string_view("YYYY-MM-DD HH:MM:SS").size()) return false;
  for (char c : played) {
    if ((c < '0' || c > '9') && c != '-' && c != ':' && c != ' ') return false;
  }
  return true;
}

// The map, and below it the date the game was played when the log states it.
void mapCaption(Report& r) {
  if (!r.game.mapname.empty()) r.wr("<b>map : %s</b>", r.game.mapname.c_str());
  if (isShownDate(r.game.facts.played)) r.wr("<br><small>played %s</small>", r.game.facts.played.c_str());
}

void teamScoreBlock(Report& r) {
  bool ctf = r.game.gametype == kCaptureTheFlag;
  const char* red_flag = ctf ? "<img src=images/flag_ctf_red.jpg>" : "<img src=images/flag_tdm_red.gif>";
  const char* blue_flag = ctf ? "<img src=images/flag_ctf_blue.jpg>" : "<img src=images/flag_tdm_blue.gif>";
  const int red = teamScore(r.game, kRed);
  const int blue = teamScore(r.game, kBlue);
  r.wr("\n<table CLASS=\"neutralHighlightCtf\" BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=3 CLASS=\"redHighlight\">&nbsp;</td>\n");
  r.wr("</tr>\n");
  r.wr("<tr>\n");
  r.wr("<td VALIGN=TOP CLASS=\"red\">");
  r.wr("%s", red_flag);
  r.wr("</td>\n");
  r.wr("<td VALIGN=MIDDLE WIDTH=100%%>\n");
  r.wr("\n<table BORDER=0 CELLSPACING=1 CELLPADDING=1 WIDTH=100%%>\n");
  r.wr("<tr>\n");
  r.wr("<td WIDTH=20%% CLASS=\"red\"><CENTER><p style=\"font-size: 30pt; color: red\">%d</p></CENTER></td>\n", red);
  r.wr("<td WIDTH=60%% CLASS=\"neutralCtf\"><center><div align=center>");
  mapCaption(r);
  r.wr("<br>");
  htmlPrintMapImage(r);
  r.wr("</div></center></td>\n");
  r.wr("<td WIDTH=20%% CLASS=\"blue\"><CENTER><p style=\"font-size: 30pt; color: blue\">%d</p></CENTER></td>\n", blue);
  r.wr("</tr>\n");
  if (ctf) {
    statRowOfKey(r, "flag touches", "touches");
    statRowOfKey(r, "flag hold kills", "holdkills");
    statRowOfKey(r, "flag carrier defends", "fcdefends");
    statRowOfKey(r, "flag carrier kills", "efckills");
    statRowOfKey(r, "flag returns", "returns");
    statRowOfKey(r, "base defends", "basedefends");
  } else {
    realStatRowOfKey(r, "skill", "kestro");
    realStatRowOfKey(r, "combat", "combat");
    if (r.game.gametype == kClanArena) statRowOfKey(r, "score", "frags");
    statRowOfKey(r, "kills", "kills");
    statRowOfKey(r, "deaths", "deaths");
  }
  r.wr("</table>\n");
  r.wr("</td>\n");
  r.wr("<td VALIGN=TOP CLASS=\"blue\">");
  r.wr("%s", blue_flag);
  r.wr("</td>\n");
  r.wr("</tr>\n");
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=3 CLASS=\"blueHighlight\">&nbsp;</td>\n");
  r.wr("</tr>\n");
  r.wr("</table>\n");
}

void freeForAllScoreBlock(Report& r) {
  r.wr("\n<table  BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%% >\n");
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=3 CLASS=\"neutralHighlight\">&nbsp;</td>\n");
  r.wr("</tr>\n");
  r.wr("<tr>\n");
  r.wr("<td VALIGN=TOP CLASS=\"neutral\"><div align=left><img src=images/flag_ffa.gif></div></td>");
  r.wr("<td VALIGN=TOP CLASS=\"neutral\"><div align=center>");
  r.wr("<br>");
  mapCaption(r);
  r.wr("<br>");
  htmlPrintMapImage(r);
  r.wr("</div>");
  r.wr("<div align=center>");
  r.wr("</div></td>\n");
  r.wr("<td VALIGN=TOP CLASS=\"neutral\"><div align=right><img src=images/flag_ffa.gif></div></td>");
  r.wr("</tr>\n");
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=3 CLASS=\"neutralHighlight\">&nbsp;</td>\n");
  r.wr("</tr>\n");
  r.wr("</table>");
}

// --- Anchors -----------------------------------------------------------------

void anchor(Report& r, const char* family, const Q3Player& p) { r.wr("<A name=\"%s%s\">", family, p.raw_name.c_str()); }

void linkInPage(Report& r, const char* family, const Q3Player& p) { r.wr("<A href=\"#%s%s\">", family, p.raw_name.c_str()); }

void linkToPage(Report& r, const std::string& page, const char* family, const Q3Player& p) {
  r.wr("<A href=\"%s#%s%s\">", page.c_str(), family, p.raw_name.c_str());
}

// --- Player list, team games ---------------------------------------------------

// Class names of one team's tables and cards.
struct TeamStyle {
  Team team;
  const char* plain;      // "red"
  const char* highlight;  // "redHighlight"
  const char* key;        // suffix of the getStats keys: "red"
};

constexpr TeamStyle kRedStyle = {kRed, "red", "redHighlight", "red"};
constexpr TeamStyle kBlueStyle = {kBlue, "blue", "blueHighlight", "blue"};

void teamListHeader(Report& r, const TeamStyle& s, bool ctf) {
  r.wr("<tr>\n");
  r.wr("<td CLASS=\"%s\"><b>NAME</b></td>", s.highlight);
  for (const char* header : {"SCORE", "KILLS", "DEATHS", "CAPS", "COMBAT", "SKILL"}) {
    if (!ctf && std::string_view(header) == "CAPS") continue;
    r.wr("<td CLASS=\"%s\"><div align=center><b>%s</b></div></td>", s.highlight, header);
  }
  r.wr("</tr>\n");
}

void teamListRow(Report& r, const TeamStyle& s, const Q3Player& p, bool ctf) {
  r.wr("<tr>\n");
  r.wr("<td CLASS=\"%s\"><div align=left>", s.plain);
  anchor(r, "list-", p);
  linkInPage(r, "stat-", p);
  htmlWriteQ3String(r, p.raw_name);
  r.wr("</A></A></div></td>\n");
  r.wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.frags);
  r.wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.kills);
  r.wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.deaths);
  if (ctf) r.wr("<td CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, p.ctf_flag_caps);
  r.wr("<td CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, p.combat);
  r.wr("<td CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, p.skill);
  r.wr("</tr>\n");
}

void teamListTotal(Report& r, const TeamStyle& s, bool ctf) {
  auto key = [&](const char* field) { return std::string(field) + "_" + s.key; };
  r.wr("<tr>\n");
  r.wr("<td CLASS=\"%s\"><b>TOTAL</b></td>", s.highlight);
  r.wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(r.game, key("frags")));
  r.wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(r.game, key("kills")));
  r.wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(r.game, key("deaths")));
  if (ctf) r.wr("<td CLASS=\"%s\"><div align=center><b>%d</b></div></td>\n", s.highlight, getStats(r.game, key("caps")));
  r.wr("<td CLASS=\"%s\"><div align=center><b>%0.2f</b></div></td>\n", s.highlight, getStatsDouble(r.game, key("combat")));
  r.wr("<td CLASS=\"%s\"><div align=center><b>%0.2f</b></div></td>\n", s.highlight, getStatsDouble(r.game, key("kestro")));
  r.wr("</tr>\n");
}

// One team's table: header, players, filler rows up to the other team's
// size (so both tables end at the same height), total.
void teamList(Report& r, const TeamStyle& s, Team other_team) {
  bool ctf = r.game.gametype == kCaptureTheFlag;
  teamListHeader(r, s, ctf);
  for (int i = 0, n = getTotalPlayers(r.game); i < n; ++i) {
    if (r.game.q3players[i].team == s.team) teamListRow(r, s, r.game.q3players[i], ctf);
  }
  int columns = ctf ? 7 : 6;
  for (int filler = getTeamTotalPlayers(r.game, other_team) - getTeamTotalPlayers(r.game, s.team); filler > 0; --filler) {
    r.wr("<tr>\n");
    for (int c = 0; c < columns; ++c) r.wr("<td CLASS=\"%s\">&nbsp;</td>", s.plain);
    r.wr("</tr>\n");
  }
  teamListTotal(r, s, ctf);
}

void unknownTeamList(Report& r) {
  r.wr("<tr>");
  r.wr("<td>");
  r.wr("\n<table  BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=100%%  CLASS=\"neutralHighlight\">\n");
  r.wr("<tr>\n");
  r.wr("<td CLASS=\"neutralHighlight\"><b>NAME</b></td>");
  for (const char* header :
       {"SCORE", "KILLS", "DEATHS", "SUICIDES", "KILL STREAK", "DEATH STREAK", "COMBAT", "SKILL"}) {
    r.wr("<td CLASS=\"neutralHighlight\"><div align=center><b>%s</b></div></td>", header);
  }
  r.wr("</tr>\n");
  for (int i = 0, n = getTotalPlayers(r.game); i < n; ++i) {
    const Q3Player& p = r.game.q3players[i];
    if (p.team != kNoTeam) continue;
    r.wr("<tr>\n");
    r.wr("<td CLASS=\"neutral\">");
    htmlWriteQ3String(r, p.raw_name);
    r.wr("</div></td>\n");
    for (int value : {p.frags, p.kills, p.deaths, p.suicides, p.kill_streak, p.death_streak}) {
      r.wr("<td CLASS=\"neutral\"><div align=center>%d</div></td>\n", value);
    }
    r.wr("<td CLASS=\"neutral\"><div align=center>%0.2f</div></td>\n", p.combat);
    r.wr("<td CLASS=\"neutral\"><div align=center>%0.2f</div></td>\n", p.skill);
    r.wr("</tr>\n");
  }
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=9 CLASS=\"neutralHighlight\">&nbsp;</td>");
  r.wr("</tr>\n");
  r.wr("</table>");
  r.wr("</td>");
  r.wr("</tr>");
}

void teamPlayerList(Report& r) {
  r.wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  r.wr("<tr>\n");
  r.wr("<td VALIGN=TOP WIDTH=50%%>\n");
  r.wr("\n<table  CLASS=\"redHighlight\" BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=99.50%% >\n");
  teamList(r, kRedStyle, kBlue);
  r.wr("</table>");
  r.wr("</td>\n");
  r.wr("<td VALIGN=TOP WIDTH=50%%>\n");
  r.wr("\n<table ALIGN=RIGHT  CLASS=\"blueHighlight\" BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=99.50%% >\n");
  teamList(r, kBlueStyle, kRed);
  r.wr("</table>");
  r.wr("</td>\n");
  r.wr("</tr>\n");
  r.wr("</table>");
  r.wr("<br>");
  if (r.config.display_unknown_team_players && getTeamTotalPlayers(r.game, kNoTeam) >= 1) unknownTeamList(r);
}

// --- Player list, free-for-all -------------------------------------------------

void nameOfPlayerCell(Report& r, const char* row_class, int index) {
  r.wr("<td CLASS=%s><div align=center><font size=-2>", row_class);
  htmlWriteQ3String(r, r.game.q3players[index].raw_name);
  r.wr("</font></div></td>\n");
}

void freeForAllRow(Report& r, int i) {
  const Q3Player& p = r.game.q3players[i];
  const char* c = i % 2 == 0 ? "\"neutralLowlight\"" : "\"neutral\"";
  r.wr("<tr>\n");
  r.wr("<td CLASS=%s><div align=center>%d</div></td>\n", c, i + 1);
  r.wr("<td CLASS=%s>", c);
  anchor(r, "list-", p);
  linkToPage(r, r.out_filename_wepns, "weapons-", p);
  htmlWriteQ3String(r, p.raw_name);
  r.wr("</A></A></div></td>\n");
  r.wr("<td CLASS=%s><div align=center>%0.2f</div></td>\n", c, p.skill);
  r.wr("<td CLASS=%s><div align=center>%d</div></td>\n", c, p.frags);
  // "%0.2d": the "0" flag has no effect beside a precision, so this prints
  // at least two digits, exactly as "%.2d" does.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
  r.wr("<td CLASS=%s><div align=center>%0.2d / %0.2d</div></td>\n", c, p.kills, p.deaths);
#pragma GCC diagnostic pop
  r.wr("<td CLASS=%s><div align=center>%d</div></td>\n", c, p.suicides);
  r.wr("<td CLASS=%s><div align=center>%.2d / %.2d</div></td>\n", c, p.kill_streak, p.death_streak);
  r.wr("<td CLASS=%s><div align=center>", c);
  htmlPrintAwards(r, p.awards, AwardGroup::kPlayer);
  r.wr("</div></td>\n");
  r.wr("<td CLASS=%s><div align=center>", c);
  htmlPrintAwards(r, p.awards, AwardGroup::kWeapons);
  r.wr("</div></td>\n");
  nameOfPlayerCell(r, c, getEasiestPrey(r.game, i));
  nameOfPlayerCell(r, c, getWorstEnemy(r.game, i));
  r.wr("</tr>\n");
}

void freeForAllPlayerList(Report& r) {
  r.wr("<tr>");
  r.wr("<td>");
  r.wr("\n<table  BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=100%%  CLASS=\"neutralHighlight\">\n");
  r.wr("<tr>\n");
  for (const char* header : {"#", "NAME", "SKILL", "SCORE", "KILLS&nbsp;/<br>DEATHS", "SUICIDES",
                             "KILL&nbsp;/&nbsp;DEATH<BR>STREAK", "PLAYER<br>AWARDS", "WEAPON<br>AWARDS",
                             "EASIEST<br>PREY", "WORST<br>ENEMY"}) {
    if (std::string_view(header) == "NAME") {
      r.wr("<td CLASS=\"neutralHighlight\"><b>NAME</b></td>");
    } else {
      r.wr("<td CLASS=\"neutralHighlight\"><div align=center><b>%s</b></div></td>", header);
    }
  }
  r.wr("</tr>\n");
  for (int i = 0, n = getTotalPlayers(r.game); i < n; ++i) {
    if (r.game.q3players[i].team == kNoTeam) freeForAllRow(r, i);
  }
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=11 CLASS=\"neutralHighlight\">&nbsp;</td>");
  r.wr("</tr>\n");
  r.wr("</table>");
  r.wr("</td>");
  r.wr("</tr>");
}

// --- Stat cards ------------------------------------------------------------------

// Labels are written as text: "Efficiency %" appears with one percent sign.
void cardLabel(Report& r, const TeamStyle& s, const char* label) { r.wr("<td WIDTH=25%% CLASS=\"%s\">%s</td>\n", s.plain, label); }

void cardValue(Report& r, const TeamStyle& s, int value) {
  r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%d</div></td>\n", s.plain, value);
}

void cardRow(Report& r, const TeamStyle& s, const char* label1, int value1, const char* label2, int value2) {
  r.wr("<tr>\n");
  cardLabel(r, s, label1);
  cardValue(r, s, value1);
  cardLabel(r, s, label2);
  cardValue(r, s, value2);
  r.wr("</tr>\n");
}

void cardOpponentCell(Report& r, const TeamStyle& s, int opponent) {
  r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center><font size=-2>", s.plain);
  linkInPage(r, "stat-", r.game.q3players[opponent]);
  htmlWriteQ3String(r, r.game.q3players[opponent].raw_name);
  r.wr("</A></font></div></td>\n");
}

void cardHead(Report& r, const TeamStyle& s, const Q3Player& p) {
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=2 CLASS=\"%s\">", s.highlight);
  anchor(r, "stat-", p);
  linkToPage(r, r.out_filename_wepns, "weapons-", p);
  htmlWriteQ3String(r, p.raw_name);
  r.wr("</A></A></td>\n");
  if (s.team == kRed) {
    r.wr("<td CLASS=\"redHighlight\" COLSPAN=2 ><DIV ALIGN=RIGHT>");
  } else {
    r.wr("<td CLASS=\"blueHighlight\" COLSPAN=2><DIV ALIGN=RIGHT>");
  }
  htmlPrintAwards(r, p.awards, AwardGroup::kPlayer);
  r.wr("</DIV></td>\n");
  r.wr("</tr>\n");
}

void cardQuote(Report& r, const TeamStyle& s, const Q3Player& p) {
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=4 CLASS=\"%s\"><DIV align=right>\" ", s.plain);
  if (p.quote.view() != kNoQuote && r.config.show_quotes) r.wrText(p.quote.view().substr(0, 61));
  r.wr(" \"</DIV></td>\n");
  r.wr("</tr>\n");
}

void cardFigures(Report& r, const TeamStyle& s, int i) {
  const Q3Player& p = r.game.q3players[i];
  if (r.game.gametype == kCaptureTheFlag) {
    cardRow(r, s, "Flag Captures", p.ctf_flag_caps, "Flag Touches", p.ctf_flag_touches);
    cardRow(r, s, "FC Defends", p.ctf_fc_defends, "FC Defends agr.", p.ctf_fc_defends_aggressive);
    cardRow(r, s, "Base Defends", p.ctf_base_defends, "Flag Hold Kills", p.ctf_flag_hold_kills);
    cardRow(r, s, "EFC Kills", p.ctf_efc_kills, "EFC&nbsp;Kill&nbsp;Assists", p.ctf_assist_efc_kills);
    cardRow(r, s, "Flag Returns", p.ctf_flag_returns, "Return Assists", p.ctf_assist_flag_returns);
  }
  r.wr("<tr>\n");
  cardLabel(r, s, "Score");
  cardValue(r, s, p.frags);
  cardLabel(r, s, "Kills / Deaths");
  r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%d / %d</div></td>\n", s.plain, p.kills, p.deaths);
  r.wr("</tr>\n");
  cardRow(r, s, "Kill Streak", p.kill_streak, "Death Streak", p.death_streak);
  cardRow(r, s, "Suicides", p.suicides, "Team Kills", p.team_kills);
  cardRow(r, s, "Damage Given", p.damage_given, "Damage Recvd", p.damage_recvd);

  r.wr("<tr>\n");
  cardLabel(r, s, "Efficiency %");
  double efficiency = 100.0 * p.kills / (p.kills + 0.001 + p.deaths + p.suicides + p.team_kills);
  r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%.2f</div></td>\n", s.plain, efficiency);
  cardLabel(r, s, "Accuracy %");
  if (p.accuracy_total_attempts >= 1) {
    double accuracy = 100.0 * p.accuracy_total_hits / p.accuracy_total_attempts;
    r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, accuracy);
  } else {
    r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>-</div></td>\n", s.plain);
  }
  r.wr("</tr>\n");

  r.wr("<tr>\n");
  cardLabel(r, s, "Combat");
  r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%.2f</div></td>\n", s.plain, p.combat);
  cardLabel(r, s, "Skill");
  r.wr("<td WIDTH=25%% CLASS=\"%s\"><div align=center>%0.2f</div></td>\n", s.plain, p.skill);
  r.wr("</tr>\n");

  r.wr("<tr>\n");
  cardLabel(r, s, "Easiest Prey");
  cardOpponentCell(r, s, getEasiestPrey(r.game, i));
  cardLabel(r, s, "Worst Enemy");
  cardOpponentCell(r, s, getWorstEnemy(r.game, i));
  r.wr("</tr>\n");
}

void cardAwards(Report& r, const TeamStyle& s, const Q3Player& p) {
  const char* cell_end = s.team == kRed ? "</DIV></td>\n" : "</DIV></td>";
  r.wr("<tr>\n");
  r.wr("<td COLSPAN=2 CLASS=\"%s\"><DIV ALIGN=LEFT>&nbsp;", s.highlight);
  htmlPrintAwards(r, p.awards, AwardGroup::kAccuracy);
  r.wr("%s", cell_end);
  r.wr("<td COLSPAN=2 CLASS=\"%s\"><DIV ALIGN=RIGHT>", s.highlight);
  htmlPrintAwards(r, p.awards, AwardGroup::kWeapons);
  r.wr("%s", cell_end);
  r.wr("</tr>\n");
  r.wr("</table>");
  r.wr("<BR>");
}

void playerCard(Report& r, const TeamStyle& s, int i) {
  const Q3Player& p = r.game.q3players[i];
  r.wr("\n<table CLASS=\"%s\" VALIGN=TOP BORDER=0 CELLSPACING=1 CELLPADDING=2 WIDTH=100%% >\n", s.highlight);
  cardHead(r, s, p);
  cardQuote(r, s, p);
  cardFigures(r, s, i);
  cardAwards(r, s, p);
}

void teamCards(Report& r, const TeamStyle& s) {
  for (int i = 0, n = getTotalPlayers(r.game); i < n; ++i) {
    if (r.game.q3players[i].team == s.team) playerCard(r, s, i);
  }
}

}  // namespace

void htmlDrawTeamStatTable(Report& r) {
  if (r.game.gametype == kFreeForAll) {
    freeForAllScoreBlock(r);
  } else {
    teamScoreBlock(r);
  }
}

void htmlDrawPlayerListTable(Report& r) {
  if (r.game.gametype == kFreeForAll) {
    freeForAllPlayerList(r);
  } else {
    teamPlayerList(r);
  }
}

void htmlDrawPlayerStatTable(Report& r) {
  r.wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%%>\n");
  r.wr("<tr>");
  r.wr("<td COLSPAN=2 valign=center align=center><img SRC=images/break.gif><br><br></td>");
  r.wr("</tr>");
  r.wr("<tr>");
  r.wr("<td COLSPAN=2 >");
  r.wr("\n<table  BORDER=0 CELLSPACING=0 CELLPADDING=2 WIDTH=100%%>\n");
  r.wr("<tr><td CLASS=\"neutralHighlight\"><div align=center><b>PLAYER STATS</b></div></td></tr>\n");
  r.wr("</table>");
  r.wr("<br>");
  r.wr("</td>");
  r.wr("</tr>");
  r.wr("<tr>\n");
  r.wr("<td VALIGN=TOP WIDTH=50%%>\n");
  r.wr("\n<table  VALIGN=TOP BORDER=0 CELLSPACING=2 CELLPADDING=2 WIDTH=100%% >\n");
  r.wr("<tr>\n");
  r.wr("<td>\n");
  teamCards(r, kRedStyle);
  r.wr("</td>");
  r.wr("</tr>");
  r.wr("</table>");
  r.wr("</td>\n");
  r.wr("<td VALIGN=TOP WIDTH=50%%>\n");
  r.wr("\n<table VALIGN=TOP BORDER=0 CELLSPACING=2 CELLPADDING=2 WIDTH=100%% >\n");
  r.wr("<tr>\n");
  r.wr("<td>\n");
  teamCards(r, kBlueStyle);
  r.wr("</td>");
  r.wr("</tr>");
  r.wr("</table>");
  r.wr("</td>\n");
  r.wr("</tr>\n");
  r.wr("</table>");
}
