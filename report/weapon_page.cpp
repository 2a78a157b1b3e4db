#include "weapon_page.h"

#include "game_state.h"
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

// One pass: the players of `team` set against the players of `opponents`.
struct Pass {
  int team;
  int opponents;
  ClassSet classes;
  double unit;  // column width unit u, in percent
};

double efficiency(int kills, int deaths) { return 100.0 * kills / (kills + 0.001 + deaths); }

// --- Cells -------------------------------------------------------------------

void openCell(const char* align, double width, const char* css) {
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=%s>", width, css, align);
}
void closeCell() { wr("</div></td>\n"); }
void openBoldCell(const char* align, double width, const char* css) {
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=%s><b>", width, css, align);
}
void closeBoldCell() { wr("</b></div></td>\n"); }

void weaponStatCell(const char* align, double width, const char* css, int weapon, int value, bool bold) {
  bold ? openBoldCell(align, width, css) : openCell(align, width, css);
  htmlPrintWeaponStat(weapon, value);
  bold ? closeBoldCell() : closeCell();
}

void dashCell(const char* align, double width, const char* css) {
  openBoldCell(align, width, css);
  wr("-");
  closeBoldCell();
}

void percentCell(double width, const char* css, double percent) {
  openBoldCell("right", width, css);
  wr("%0.2f %%", percent);
  closeBoldCell();
}

// --- One player's table ----------------------------------------------------------

void tableHead(const Pass& pass, int r) {
  const Q3Player& p = q3players[r];
  const ClassSet& c = pass.classes;
  double u = pass.unit;
  wr("<tr>\n");
  wr("<td>\n");
  wr("<center>\n");
  wr("\n<table CLASS=%s WIDTH=\"100%%\" BORDER=0 CELLSPACING=2 CELLPADDING=2>\n", c.own_highlight);
  wr("<tr>\n");
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s>", u, c.own_highlight);
  wr("<A name=\"%s%s\">", "weapons-", p.raw_name.c_str());
  const char* family = g_gametype == kFreeForAll ? "list-" : "stat-";
  wr("<A href=\"%s#%s%s\">", out_filename_stats.c_str(), family, p.raw_name.c_str());
  htmlWriteQ3String(p.raw_name);
  wr("</A>");
  wr("</A></td>\n");
  for (int s = 0, n = getTotalPlayers(); s < n; ++s) {
    if (q3players[s].team != pass.opponents) continue;
    wr("<td WIDTH=\"%0.2f%%\" COLSPAN=2 CLASS=%s><center><font size=-2>", u, c.opponent_highlight);
    wr("<A href=\"#%s%s\">", "weapons-", q3players[s].raw_name.c_str());
    htmlWriteQ3String(q3players[s].raw_name);
    wr("</A>");
    wr("</font></center></td>\n");
  }
  double third = u / 3;
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right>&nbsp;kills</DIV></td>\n", third, c.own_plain);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=left>death</DIV></td>\n", third, c.own_plain);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right><b>eff. %%</b></DIV></td>\n", third, c.own_highlight);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right>hits</DIV></td>\n", third, c.own_plain);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=left>atts</DIV></td>\n", third, c.own_plain);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s ><DIV ALIGN=right><b>acc. %%</b></DIV></td>\n", third, c.own_highlight);
  wr("</tr>\n");
}

// The hits, attempts and accuracy cells of weapon w. The Gauntlet and the
// BFG show hits only when there are some; weapons 9 and up have no figures.
void accuracyCells(const Q3Player& p, int w, double third, const char* css) {
  bool fired = w >= kMachineGun && w <= kBfg;
  bool hits_shown = (w >= kMachineGun && w <= kPlasmaGun) ||
                    ((w == kGauntlet || w == kBfg) && p.accuracy_hits[w] > 0);
  if (hits_shown) {
    weaponStatCell("right", third, css, w, p.accuracy_hits[w], true);
  } else {
    dashCell("right", third, css);
  }
  if (fired) {
    weaponStatCell("left", third, css, w, p.accuracy_attempts[w - 1], true);
  } else {
    dashCell("left", third, css);
  }
  if (fired && p.accuracy_attempts[w - 1] > 0) {
    percentCell(third, css, 100.0 * p.accuracy_hits[w] / p.accuracy_attempts[w - 1]);
  } else {
    dashCell("right", third, css);
  }
}

void weaponRow(const Pass& pass, int r, int w) {
  const Q3Player& p = q3players[r];
  const ClassSet& c = pass.classes;
  double u = pass.unit;
  int n = getTotalPlayers();
  wr("<tr>\n");
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s>", u, c.own_plain);
  wr("%s", getWeaponName(w).c_str());
  wr("</td>\n");
  for (int s = 0; s < n; ++s) {
    if (q3players[s].team != pass.opponents) continue;
    weaponStatCell("right", u / 2, c.own_plain, w, p.kills_by_weapon[w][s], false);
    weaponStatCell("left", u / 2, c.opponent_plain, w, p.deaths_by_weapon[w][s], false);
  }
  double third = u / 3;
  int kills = p.kills_by_weapon[w][n];
  int deaths = p.deaths_by_weapon[w][n];
  weaponStatCell("right", third, c.own_plain, w, kills, true);
  weaponStatCell("left", third, c.own_plain, w, deaths, true);
  percentCell(third, c.own_plain, efficiency(kills, deaths));
  accuracyCells(p, w, third, c.own_plain);
  wr("</tr>\n");
}

void totalRow(const Pass& pass, int r) {
  const Q3Player& p = q3players[r];
  const ClassSet& c = pass.classes;
  double u = pass.unit;
  double third = u / 3;
  wr("<tr>\n");
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><b>TOTAL</b></td>\n", u, c.own_plain);
  for (int s = 0, n = getTotalPlayers(); s < n; ++s) {
    if (q3players[s].team != pass.opponents) continue;
    wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right>%d</div></td>\n", u / 2, c.own_plain,
       p.kills_by_weapon[kAllWeapons][s]);
    wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=left>%d</div></td>\n", u / 2, c.opponent_plain,
       p.deaths_by_weapon[kAllWeapons][s]);
  }
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%d</b></div></td>\n", third, c.own_plain, p.kills);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=left><b>%d</b></div></td>\n", third, c.own_plain, p.deaths);
  double overall = 100.0 * p.kills / (p.kills + 0.001 + p.deaths + p.suicides + p.team_kills);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%0.2f %%</b></div></td>\n", third, c.own_plain, overall);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%d</b></div></td>\n", third, c.own_plain,
     p.accuracy_total_hits);
  wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=left><b>%d</b></div></td>\n", third, c.own_plain,
     p.accuracy_total_attempts);
  if (p.accuracy_total_attempts >= 1) {
    double accuracy = 100.0 * p.accuracy_total_hits / p.accuracy_total_attempts;
    wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>%0.2f %%</b></div></td>\n", third, c.own_plain,
       accuracy);
  } else {
    wr("<td WIDTH=\"%0.2f%%\" CLASS=%s><div align=right><b>-</b></div></td>\n", third, c.own_plain);
  }
  wr("</tr>\n");
}

void playerTable(const Pass& pass, int r) {
  tableHead(pass, r);
  for (int w = kGauntlet; w <= kTeleFrag; ++w) {
    if (weaponUsed(w)) weaponRow(pass, r, w);
  }
  totalRow(pass, r);
  wr("</table>\n");
  wr("</center>\n");
  wr("<br>\n");
  wr("</td>\n");
  wr("</tr>\n");
}

void runPass(int team, int opponents, const ClassSet& classes) {
  Pass pass{team, opponents, classes, 100.0 / (getTeamTotalPlayers(opponents) + 3)};
  for (int r = 0, n = getTotalPlayers(); r < n; ++r) {
    if (q3players[r].team == team) playerTable(pass, r);
  }
}

// --- Page frame ------------------------------------------------------------------

void backLink() { wr("[<A HREF=%s>back to main stats</A>]", out_filename_stats.c_str()); }

void weaponPageHead() {
  wr("<html>\n");
  wr("<head>");
  wr("<title>kestro stats - (weapon stats)</title>\n");
  htmlWriteStylesheetLink();
  wr("</head>\n");
  wr("<body>\n");
  wr("<center>\n");
  htmlReadHeader();
  wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=0 WIDTH=100%% >\n");
  wr("<tr>\n");
  wr("<td>\n");
  htmlTitleTable();
  wr("<BR>\n");
  wr("</td>\n");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td>\n");
  wr("<center><IMG SRC=images/break.gif><BR>");
  backLink();
  wr("</center><BR>");
  wr("</td>\n");
  wr("</tr>\n");
  wr("<tr>\n");
  wr("<td>\n");
  wr("\n<table BORDER=0 CELLSPACING=0 CELLPADDING=2 WIDTH=100%%>\n");
  wr("<tr><td CLASS=\"neutralHighlight\"><div align=center><b>WEAPON STATS</b></div></td></tr>\n");
  wr("</table>\n");
  wr("<BR>");
  wr("</td>\n");
  wr("</tr>\n");
}

void weaponPageEnd() {
  wr("<tr>\n");
  wr("<td>\n");
  wr("<BR><center><IMG SRC=images/break.gif><BR>");
  backLink();
  wr("</center><BR><BR>");
  htmlDrawCreditsTable();
  wr("</td>\n");
  wr("</tr>\n");
  wr("</table>\n");
  wr("</center>\n");
  htmlReadFooter();
  wr("</body>\n");
  wr("</html>\n");
}

}  // namespace

std::string getWeaponName(int weapon) {
  if (!isDisplayedWeapon(weapon)) return {};
  const WeaponDisplay& d = kWeaponDisplay[weapon];
  if (!isYes(g_config_use_weapon_colors)) return d.name;
  return std::string("<font size=-2 color=") + d.colour + ">" + d.name + "</font>";
}

void htmlPrintWeaponStat(int weapon, int value) {
  if (isYes(g_config_use_weapon_colors) && isDisplayedWeapon(weapon)) {
    wr("<font color=%s>%d</font>", kWeaponDisplay[weapon].colour, value);
  } else {
    wr("%d", value);
  }
}

void htmlDrawWeaponTable() {
  wr("<center><IMG SRC=images/break.gif><BR>");
  wr("[<A HREF=%s>view weapon stats</A>]", out_filename_wepns.c_str());
  wr("</center><BR><BR>");
  switchToWeaponPage();
  weaponPageHead();
  if (g_gametype == kFreeForAll) {
    runPass(kNoTeam, kNoTeam, kFreeForAllClasses);
  } else {
    runPass(kRed, kBlue, kRedClasses);
    runPass(kBlue, kRed, kBlueClasses);
  }
  weaponPageEnd();
  switchBackToMainPage();
}
