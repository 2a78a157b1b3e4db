#include "player_page.h"

#include "html_text.h"
#include "index_page.h"
#include "page_frame.h"
#include "svg_chart.h"

namespace site {

namespace {

// A two-column table of labelled figures.
class FigureTable {
 public:
  FigureTable(std::string& out, const char* css) : out_(out) {
    out_ += "<table class=\"ksFigures ";
    out_ += css;
    out_ += "\">\n";
  }
  ~FigureTable() { out_ += "</table>\n"; }
  FigureTable(const FigureTable&) = delete;
  FigureTable& operator=(const FigureTable&) = delete;

  void row(const char* label, const std::string& value) {
    out_ += "<tr><th scope=\"row\">";
    out_ += label;
    out_ += "</th><td>";
    out_ += value;
    out_ += "</td></tr>\n";
  }
  void row(const char* label, std::int64_t value) { row(label, std::to_string(value)); }

 private:
  std::string& out_;
};

void appendTotals(std::string& out, const SiteModel& m, std::size_t player) {
  const PlayerRow& p = m.data->players[player];
  out += "<h2>totals</h2>\n";
  FigureTable t(out, "ksTotals");
  t.row("place by skill", static_cast<std::int64_t>(m.rank[player]));
  t.row("games", p.games);
  t.row("frags", p.frags);
  t.row("kills", p.kills);
  t.row("deaths", p.deaths);
  t.row("kills per death", fixed(killsPerDeath(p), 2));
  t.row("suicides", p.suicides);
  t.row("team kills", p.team_kills);
  t.row("skill", fixed(p.skill, 2));
  t.row("combat", fixed(p.combat, 2));
  t.row("accuracy", percent(accuracyPercent(p.accuracy_total)));
  t.row("damage given", p.damage_given);
  t.row("damage received", p.damage_recvd);
  t.row("longest kill streak", p.kill_streak);
  t.row("longest death streak", p.death_streak);
}

void appendWeapons(std::string& out, const PlayerRow& p) {
  out += "<h2>weapons</h2>\n<div class=\"ksScroll\">\n<table class=\"ksBoard ksWeapons\">\n<thead><tr>";
  plainHeadings(out, {"weapon", "kills", "deaths", "hits", "attempts", "accuracy"});
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t w = 0; w < kWeapons; ++w) {
    const WeaponInfo& info = kWeaponTable[w];
    out += "<tr><td class=\"name\">";
    out += info.name;
    out += "</td><td>" + std::to_string(p.kills_by_weapon[w]) + "</td><td>" +
           std::to_string(p.deaths_by_weapon[w]) + "</td>";
    if (info.accuracy >= 0) {
      const Accuracy& a = p.accuracy[static_cast<std::size_t>(info.accuracy)];
      out += "<td>" + std::to_string(a.hits) + "</td><td>" + std::to_string(a.attempts) +
             "</td><td>" + percent(accuracyPercent(a)) + "</td>";
    } else {
      out += "<td>-</td><td>-</td><td>-</td>";
    }
    out += "</tr>\n";
  }
  out += "<tr class=\"ksTotal\"><td class=\"name\">all weapons</td><td>" + std::to_string(p.kills) +
         "</td><td>" + std::to_string(p.deaths) + "</td><td>" +
         std::to_string(p.accuracy_total.hits) + "</td><td>" + std::to_string(p.accuracy_total.attempts) +
         "</td><td>" + percent(accuracyPercent(p.accuracy_total)) + "</td></tr>\n";
  out += "</tbody>\n</table>\n</div>\n";
  appendWeaponChart(out, p);
}

void appendItemsAndCtf(std::string& out, const PlayerRow& p) {
  out += "<div class=\"ksColumns\">\n<section>\n<h2>items picked up</h2>\n";
  {
    FigureTable t(out, "ksItems");
    for (std::size_t i = 0; i < kItems; ++i) t.row(kItemTable[i].label, p.items[i]);
  }
  out += "</section>\n<section>\n<h2>capture the flag</h2>\n";
  {
    FigureTable t(out, "ksCtf");
    for (std::size_t i = 0; i < kCtfFields; ++i) t.row(kCtfTable[i].label, p.ctf[i]);
  }
  out += "</section>\n</div>\n";
}

void appendAwardsHeld(std::string& out, const SiteModel& m, std::size_t player, const std::string& pages) {
  const std::vector<std::size_t>& held = m.awards_of[player];
  if (held.empty()) return;
  out += "<h2>season awards</h2>\n<p class=\"ksHeld\">";
  for (std::size_t c : held) {
    appendAwardImage(out, m.award_categories[c], pages);
    out += " ";
  }
  out += "</p>\n";
}

void appendIdentity(std::string& out, const PlayerRow& p) {
  out += "<p class=\"ksIdentity\">model: <b>";
  appendEscaped(out, p.model.empty() ? std::string("-") : p.model);
  out += "</b>";
  if (!p.quote.empty() && p.quote != " ") {
    out += "<br>last quote: <q class=\"ksQuote\">";
    appendEscaped(out, p.quote);
    out += "</q>";
  }
  out += "</p>\n";
}

}  // namespace

std::string playerPage(const SiteModel& m, std::size_t player, const std::string& pages,
                       const PlayerHistory& history) {
  const PlayerRow& p = m.data->players[player];
  const std::string from_player = "../" + pages;  // player pages sit one folder down
  std::string out;
  out.reserve(16384);
  PageFrame frame{p.name.empty() ? std::string("player") : p.name, "../", from_player, m.rules.title};
  beginPage(out, frame);
  out += "<p class=\"ksBack\"><a href=\"../index.html\">&larr; back to the season</a></p>\n<h1 class=\"ksPlayer\">";
  appendColouredName(out, p.raw_name);
  out += "</h1>\n";
  appendIdentity(out, p);
  appendTotals(out, m, player);
  appendWeapons(out, p);
  appendItemsAndCtf(out, p);
  appendAwardsHeld(out, m, player, from_player);
  appendPlayerHistory(out, m, player, history);
  out += "<p class=\"ksBack\"><a href=\"../index.html\">&larr; back to the season</a></p>\n";
  endPage(out, frame);
  return out;
}

}  // namespace site
