#include "weapon_page.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "game.h"
#include "kills.h"
#include "page_writer.h"
#include "players.h"
#include "reportconfig.h"
#include "weaponstats.h"

namespace {

struct WeaponDisplay {
  const char* name;
  const char* colour;
};

constexpr WeaponDisplay kWeaponDisplay[] = {
    {"Gauntlet", "#00FFFF"},      {"Machine Gun", "#FFFF00"},   {"Shot Gun", "#FCCD03"},
    {"Grenade Launcher", "#00990F"}, {"Rocket Launcher", "#FF0000"}, {"Lightning Gun", "#FFFFFF"},
    {"Rail Gun", "#00FF00"},      {"Plasma Gun", "#FF00FF"},    {"BFG", "#054DA3"},
    {"Nail Gun", "#1C5862"},      {"Grapple", "#00C3AE"},       {"TeleFrag", "#FFFFFF"},
    {"Suicide", "#FFFFFF"},
};

bool isDisplayedWeapon(int weapon) { return weapon >= kGauntlet && weapon <= kSuicide; }

// The four classes of one player's table, with their double quotes.
struct ClassSet {
  const char* own_highlight;
  const char* own_plain;
  const char* opponent_highlight;
  const char* opponent_plain;
};

constexpr ClassSet kRedClasses = {"\"redHighlight\"", "\"red\"", "\"blueHighlight\"", "\"blue\""};
constexpr ClassSet kBlueClasses = {"\"blueHighlight\"", "\"blue\"", "\"redHighlight\"", "\"red\""};
constexpr ClassSet kFreeForAllClasses = {"\"neutralHighlight\"", "\"neutral\"", "\"neutralLowlight\"",
                                         "\"neutralLowlight\""};

// The tags that open and close one kind of figure cell. A table repeats a
// few kinds thousands of times, so each is formatted once per pass.
struct CellStyle {
  std::string open;   // <td WIDTH="w%" CLASS=c><div align=a>, then <b> when bold
  const char* close;  // </div></td> (</b> first when bold) and a line break
};

CellStyle cellStyle(const char* align, double width, const char* css, bool bold) {
  char open[256];
  std::snprintf(open, sizeof open, "<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=%s>%s", width, css, align,
                bold ? "<b>" : "");
  return {open, bold ? "</b></div></td>\n" : "</div></td>\n"};
}

// One pass: the players of `team` set against the players of `opponents`.
struct Pass {
  Pass(Team t, Team o, const ClassSet& c, double u)
      : team(t),
        opponents(o),
        classes(c),
        unit(u),
        kills_of(cellStyle("right", u / 2, c.own_plain, false)),
        deaths_by(cellStyle("left", u / 2, c.opponent_plain, false)),
        total_right(cellStyle("right", u / 3, c.own_plain, true)),
        total_left(cellStyle("left", u / 3, c.own_plain, true)) {}

  Team team;
  Team opponents;
  ClassSet classes;
  double unit;  // column width unit u, in percent
  // The figure cells of a weapon row: against one opponent (kills of him,
  // deaths by him), and the player's own totals and accuracy.
  CellStyle kills_of;
  CellStyle deaths_by;
  CellStyle total_right;
  CellStyle total_left;
};

double efficiency(int kills, int deaths) { return 100.0 * kills / (kills + 0.001 + deaths); }

// --- Cells -------------------------------------------------------------------

void weaponStatCell(Report& r, const CellStyle& style, int weapon, int value) {
  r.wrText(style.open);
  htmlPrintWeaponStat(r, weapon, value);
  r.wrText(style.close);
}

void dashCell(Report& r, const CellStyle& style) {
  r.wrText(style.open);
  r.wrText("-");
  r.wrText(style.close);
}

void percentCell(Report& r, const CellStyle& style, double percent) {
  r.wrText(style.open);
  r.wr("%0.2f %%", percent);
  r.wrText(style.close);
}

// --- One player's table ----------------------------------------------------------

void tableHead(Report& r, const Pass& pass, int row) {
  const Q3Player& p = r.game.q3players[row];
  const ClassSet& c = pass.classes;
  double u = pass.unit;
  r.wr("<tr>\n");
  r.wr("<td>\n");
  r.wr("<center>\n");
  r.wr("\n<table CLASS=%s WIDTH=\"100%%\" BORDER=0 CELLSPACING=2 CELLPADDING=2>\n", c.own_highlight);
  r.wr("<tr>\n");
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s>", u, c.own_highlight);
  r.wr("<A name=\"%s%s\">", "weapons-", p.raw_name.c_str());
  const char* family = r.game.gametype == kFreeForAll ? "list-" : "stat-";
  r.wr("<A href=\"%s#%s%s\">", r.out_filename_stats.c_str(), family, p.raw_name.c_str());
  htmlWriteQ3String(r, p.raw_name);
  r.wr("</A>");
  r.wr("</A></td>\n");
  for (int s = 0, n = getTotalPlayers(r.game); s < n; ++s) {
    if (r.game.q3players[s].team != pass.opponents) continue;
    r.wr("<td WIDTH=\"%0.2f%%\" COLSPAN=2 CLASS=%s><center><font size=-2>", u, c.opponent_highlight);
    r.wr("<A href=\"#%s%s\">", "weapons-", r.game.q3players[s].raw_name.c_str());
    htmlWriteQ3String(r, r.game.q3players[s].raw_name);
    r.wr("</A>");
    r.wr("</font></center></td>\n");
  }
  double third = u / 3;
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right>&nbsp;kills</DIV></td>\n", third, c.own_plain);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=left>death</DIV></td>\n", third, c.own_plain);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right><b>eff. %%</b></DIV></td>\n", third, c.own_highlight);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right>hits</DIV></td>\n", third, c.own_plain);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=left>atts</DIV></td>\n", third, c.own_plain);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right><b>acc. %%</b></DIV></td>\n", third, c.own_highlight);
  r.wr("</tr>\n");
}

// The hits, attempts and accuracy cells of weapon w. The Gauntlet and the
// BFG show hits only when there are some; weapons 9 and up have no figures.
void accuracyCells(Report& r, const Pass& pass, const Q3Player& p, int w) {
  bool fired = w >= kMachineGun && w <= kBfg;
  bool hits_shown = (w >= kMachineGun && w <= kPlasmaGun) ||
                    ((w == kGauntlet || w == kBfg) && p.accuracy_hits[w] > 0);
  if (hits_shown) {
    weaponStatCell(r, pass.total_right, w, p.accuracy_hits[w]);
  } else {
    dashCell(r, pass.total_right);
  }
  if (fired) {
    weaponStatCell(r, pass.total_left, w, p.accuracy_attempts[w - 1]);
  } else {
    dashCell(r, pass.total_left);
  }
  if (fired && p.accuracy_attempts[w - 1] > 0) {
    percentCell(r, pass.total_right, 100.0 * p.accuracy_hits[w] / p.accuracy_attempts[w - 1]);
  } else {
    dashCell(r, pass.total_right);
  }
}

void weaponRow(Report& r, const Pass& pass, int row, int w) {
  const Q3Player& p = r.game.q3players[row];
  const ClassSet& c = pass.classes;
  double u = pass.unit;
  int n = getTotalPlayers(r.game);
  r.wr("<tr>\n");
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s>", u, c.own_plain);
  r.wr("%s", getWeaponName(r.config, w).c_str());
  r.wr("</td>\n");
  for (int s = 0; s < n; ++s) {
    if (r.game.q3players[s].team != pass.opponents) continue;
    weaponStatCell(r, pass.kills_of, w, p.kills_by_weapon[w][s]);
    weaponStatCell(r, pass.deaths_by, w, p.deaths_by_weapon[w][s]);
  }
  int kills = p.kills_by_weapon[w][n];
  int deaths = p.deaths_by_weapon[w][n];
  weaponStatCell(r, pass.total_right, w, kills);
  weaponStatCell(r, pass.total_left, w, deaths);
  percentCell(r, pass.total_right, efficiency(kills, deaths));
  accuracyCells(r, pass, p, w);
  r.wr("</tr>\n");
}

void totalRow(Report& r, const Pass& pass, int row) {
  const Q3Player& p = r.game.q3players[row];
  const ClassSet& c = pass.classes;
  double u = pass.unit;
  double third = u / 3;
  r.wr("<tr>\n");
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><b>TOTAL</b></td>\n", u, c.own_plain);
  for (int s = 0, n = getTotalPlayers(r.game); s < n; ++s) {
    if (r.game.q3players[s].team != pass.opponents) continue;
    r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right>%d</div></td>\n", u / 2, c.own_plain,
       p.kills_by_weapon[kAllWeapons][s]);
    r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=left>%d</div></td>\n", u / 2, c.opponent_plain,
       p.deaths_by_weapon[kAllWeapons][s]);
  }
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%d</b></div></td>\n", third, c.own_plain, p.kills);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=left><b>%d</b></div></td>\n", third, c.own_plain, p.deaths);
  double overall = 100.0 * p.kills / (p.kills + 0.001 + p.deaths + p.suicides + p.team_kills);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%0.2f %%</b></div></td>\n", third, c.own_plain, overall);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%d</b></div></td>\n", third, c.own_plain,
     p.accuracy_total_hits);
  r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=left><b>%d</b></div></td>\n", third, c.own_plain,
     p.accuracy_total_attempts);
  if (p.accuracy_total_attempts >= 1) {
    double accuracy = 100.0 * p.accuracy_total_hits / p.accuracy_total_attempts;
    r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%0.2f %%</b></div></td>\n", third, c.own_plain,
       accuracy);
  } else {
    r.wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>-</b></div></td>\n", third, c.own_plain);
  }
  r.wr("</tr>\n");
}

void playerTable(Report& r, const Pass& pass, int row) {
  tableHead(r, pass, row);
  for (int w = kGauntlet; w <= kTeleFrag; ++w) {
    if (weaponUsed(r.game, w)) weaponRow(r, pass, row, w);
  }
  totalRow(r, pass, row);
  r.wr("</table>\n");
  r.wr("</center>\n");
  r.wr("<br>\n");
  r.wr("</td>\n");
  r.wr("</tr>\n");
}

void runPass(Report& r, Team team, Team opponents, const ClassSet& classes) {
  const Pass pass(team, opponents, classes, 100.0 / (getTeamTotalPlayers(r.game, opponents) + 3));
  for (int row = 0, n = getTotalPlayers(r.game); row < n; ++row) {
    if (r.game.q3players[row].team == team) playerTable(r, pass, row);
  }
}

// --- Page frame ------------------------------------------------------------------

void backLink(Report& r) { r.wr("[<A HREF=%s>back to main stats</A>]", r.out_filename_stats.c_str()); }

void weaponPageHead(Report& r) {
  r.wr("<html>\n");
  r.wr("<head>");
  r.wr("<title>kestro stats - (weapon stats)</title>\n");
  htmlWriteStylesheetLink(r);
  r.wr("</head>\n");
  r.wr("<body>\n");
  r.wr("<center>\n");
  htmlReadHeader(r);
  r.wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%% >\n");
  r.wr("<tr>\n");
  r.wr("<td>\n");
  htmlTitleTable(r);
  r.wr("<BR>\n");
  r.wr("</td>\n");
  r.wr("</tr>\n");
  r.wr("<tr>\n");
  r.wr("<td>\n");
  r.wr("<center><IMG SRC=images/break.gif><BR>");
  backLink(r);
  r.wr("</center><BR>");
  r.wr("</td>\n");
  r.wr("</tr>\n");
  r.wr("<tr>\n");
  r.wr("<td>\n");
  r.wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=2 WIDTH=100%%>\n");
  r.wr("<tr><td CLASS=\"neutralHighlight\"><div align=center><b>WEAPON STATS</b></div></td></tr>\n");
  r.wr("</table>\n");
  r.wr("<BR>");
  r.wr("</td>\n");
  r.wr("</tr>\n");
}

void weaponPageEnd(Report& r) {
  r.wr("<tr>\n");
  r.wr("<td>\n");
  r.wr("<BR><center><IMG SRC=images/break.gif><BR>");
  backLink(r);
  r.wr("</center><BR><BR>");
  htmlDrawCreditsTable(r);
  r.wr("</td>\n");
  r.wr("</tr>\n");
  r.wr("</table>\n");
  r.wr("</center>\n");
  htmlReadFooter(r);
  r.wr("</body>\n");
  r.wr("</html>\n");
}

}  // namespace

std::string getWeaponName(const ReportConfig& config, int weapon) {
  if (!isDisplayedWeapon(weapon)) return {};
  const WeaponDisplay& d = kWeaponDisplay[weapon];
  if (!config.use_weapon_colors) return d.name;
  return std::string("<font size=-2 color=") + d.colour + ">" + d.name + "</font>";
}

// (Written piece by piece: it is the most frequent fragment of the pages.)
void htmlPrintWeaponStat(Report& r, int weapon, int value) {
  char number[16];
  const std::string_view digits(number, static_cast<std::size_t>(
                                            std::to_chars(number, number + sizeof number, value).ptr - number));
  if (r.config.use_weapon_colors && isDisplayedWeapon(weapon)) {
    r.wrText("<font color=");
    r.wrText(kWeaponDisplay[weapon].colour);
    r.wrText(">");
    r.wrText(digits);
    r.wrText("</font>");
  } else {
    r.wrText(digits);
  }
}

void htmlDrawWeaponTable(Report& r) {
  r.wr("<center><IMG SRC=images/break.gif><BR>");
  r.wr("[<A HREF=%s>view weapon stats</A>]", r.out_filename_wepns.c_str());
  r.wr("</center><BR><BR>");
  r.switchToWeaponPage();
  weaponPageHead(r);
  if (r.game.gametype == kFreeForAll) {
    runPass(r, kNoTeam, kNoTeam, kFreeForAllClasses);
  } else {
    runPass(r, kRed, kBlue, kRedClasses);
    runPass(r, kBlue, kRed, kBlueClasses);
  }
  weaponPageEnd(r);
  r.switchBackToMainPage();
}
