#include "record_pages.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "html_text.h"

namespace site {

namespace {

// The time a game is listed by, the counted time marked as such.
void appendWhen(std::string& out, const std::string& when, bool played_known) {
  appendEscaped(out, when);
  if (!played_known) out += " <span class=\"ksCounted\" title=\"when it was counted; the log did not tell\">(counted)</span>";
}

bool isTeamGame(const GameRecord& g) { return g.red_score.has_value() || g.blue_score.has_value(); }

std::string teamScore(const GameRecord& g) {
  auto show = [](const std::optional<std::int64_t>& v) { return v ? std::to_string(*v) : std::string("-"); };
  return show(g.red_score) + " : " + show(g.blue_score);
}

// The most frags anybody had; none without players.
std::optional<std::int64_t> topFrags(const GameRecord& g) {
  std::optional<std::int64_t> top;
  for (const GamePlayer& p : g.players) top = std::max(top.value_or(p.figures.frags), p.figures.frags);
  return top;
}

void appendWinner(std::string& out, const SiteModel& m, const GameBrief& g, const std::string& site) {
  if (!g.winner_team.empty()) {
    out += "<span class=\"ksTeam ";
    out += g.winner_team == "red" ? "ksRed" : g.winner_team == "blue" ? "ksBlue" : "ksDraw";
    out += "\">";
    appendEscaped(out, g.winner_team);
    out += "</span>";
  } else if (g.winner) {
    appendNameLink(out, m, *g.winner, site);
  } else {
    out += "-";
  }
}

void appendPageLinks(std::string& out, const GameBrief& g, const std::string& pages) {
  if (g.main_page.empty()) return;
  out += " <a href=\"";
  appendEscaped(out, pages + urlEncoded(g.main_page));
  out += "\">report</a>";
  if (!g.weapon_page.empty()) {
    out += " <a href=\"";
    appendEscaped(out, pages + urlEncoded(g.weapon_page));
    out += "\">weapons</a>";
  }
}

void appendPager(std::string& out, std::size_t page, std::size_t page_count) {
  if (page_count <= 1) return;
  out += "<p class=\"ksPager\">";
  if (page > 1) out += "<a rel=\"prev\" href=\"" + gamesListPageName(page - 1) + "\">&larr; newer</a> ";
  out += "page " + std::to_string(page) + " of " + std::to_string(page_count);
  if (page < page_count) out += " <a rel=\"next\" href=\"" + gamesListPageName(page + 1) + "\">older &rarr;</a>";
  out += "</p>\n";
}

std::string kd(std::int64_t kills, std::int64_t deaths) {
  return fixed(static_cast<double>(kills) / static_cast<double>(std::max<std::int64_t>(deaths, 1)), 2);
}

void appendScoreBlock(std::string& out, const SiteModel& m, const GameRecord& g, const GameBrief& brief,
                      const std::string& pages) {
  out += "<div class=\"ksScore\">";
  if (isTeamGame(g)) {
    out += "<span class=\"ksRed\">red " + (g.red_score ? std::to_string(*g.red_score) : std::string("-")) +
           "</span> : <span class=\"ksBlue\">" + (g.blue_score ? std::to_string(*g.blue_score) : std::string("-")) +
           " blue</span>";
    if (g.winner_team) {
      out += " <span class=\"ksResult\">";
      out += *g.winner_team == "draw" ? std::string("draw") : escaped(*g.winner_team) + " won";
      out += "</span>";
    }
  } else if (g.winner) {
    out += "winner: ";
    appendNameLink(out, m, *g.winner, "../");
    out += " with " + brief.score + " frags";
  } else {
    out += "no sole winner";
  }
  out += "</div>\n<p class=\"ksNote\">";
  appendWhen(out, brief.when, brief.played_known);
  out += " &middot; " + durationText(g.duration);
  if (!g.ended.empty()) {
    out += " &middot; ended by ";
    appendEscaped(out, g.ended);
  }
  out += " &middot; log ";
  appendEscaped(out, g.log.empty() ? std::string("-") : g.log);
  if (!g.server.empty()) {
    out += " &middot; server ";
    appendEscaped(out, g.server);
  }
  appendPageLinks(out, brief, "../" + pages);
  out += "</p>\n";
}

void appendPlayersTable(std::string& out, const SiteModel& m, const GameRecord& g) {
  std::vector<const GamePlayer*> order;
  for (const GamePlayer& p : g.players) order.push_back(&p);
  std::stable_sort(order.begin(), order.end(), [](const GamePlayer* a, const GamePlayer* b) {
    return a->figures.frags > b->figures.frags;
  });
  out += "<h2>players</h2>\n";
  if (order.empty()) {
    out += "<p class=\"ksNote\">No player rows were recorded.</p>\n";
    return;
  }
  beginScroll(out);
  out += "<table class=\"ksBoard ksGamePlayers\" data-sortable>\n<thead><tr>";
  static constexpr const char* kHeadings[][2] = {
      {"name", "text"}, {"team", "text"}, {"result", "text"}, {"frags", "num"}, {"kills", "num"},
      {"deaths", "num"}, {"K/D", "num"}, {"accuracy", "num"}, {"damage given", "num"}, {"damage received", "num"}};
  sortableHeadings(out, kHeadings);
  out += "</tr></thead>\n<tbody>\n";
  for (const GamePlayer* p : order) {
    const PlayerRow& f = p->figures;
    out += "<tr><td class=\"name\">";
    appendNameLink(out, m, f.raw_name, "../");
    out += "</td><td class=\"name\">";
    appendEscaped(out, p->team);
    out += "</td><td class=\"name\">";
    appendEscaped(out, p->result);
    out += "</td><td>" + std::to_string(f.frags) + "</td><td>" + std::to_string(f.kills) + "</td><td>" +
           std::to_string(f.deaths) + "</td><td>" + kd(f.kills, f.deaths) + "</td><td>" +
           percent(accuracyPercent(f.accuracy_total)) + "</td><td>" + std::to_string(f.damage_given) + "</td><td>" +
           std::to_string(f.damage_recvd) + "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

// Who killed whom: a row per killer, a column per victim.
void appendHeadToHead(std::string& out, const SiteModel& m, const GameRecord& g) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  for (const GamePlayer& p : g.players) {
    if (seen.insert(p.figures.raw_name).second) names.push_back(p.figures.raw_name);
  }
  out += "<h2>head to head</h2>\n";
  if (g.kills.empty() || names.size() < 2) {
    out += "<p class=\"ksNote\">No kills between players were recorded.</p>\n";
    return;
  }
  auto column = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
  };
  std::vector<std::int64_t> grid(names.size() * names.size(), 0);
  for (const KillCount& k : g.kills) {
    std::size_t row = column(k.killer);
    std::size_t col = column(k.victim);
    if (row < names.size() && col < names.size()) grid[row * names.size() + col] += k.kills;
  }
  out += "<p class=\"ksNote\">A row's player killed a column's player that often.</p>\n";
  beginScroll(out);
  out += "<table class=\"ksBoard ksHeadToHead\">\n<thead><tr><th class=\"neutralHighlight\" scope=\"col\">killer \\ victim</th>";
  for (const std::string& n : names) {
    out += "<th class=\"neutralHighlight\" scope=\"col\">";
    appendColouredName(out, n);
    out += "</th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t r = 0; r < names.size(); ++r) {
    out += "<tr><th scope=\"row\" class=\"name\">";
    appendNameLink(out, m, names[r], "../");
    out += "</th>";
    for (std::size_t c = 0; c < names.size(); ++c) {
      out += r == c ? std::string("<td class=\"ksSelf\">-</td>") : "<td>" + std::to_string(grid[r * names.size() + c]) + "</td>";
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

}  // namespace

void beginScroll(std::string& out) { out += "<div class=\"ksScroll\">\n"; }
void endScroll(std::string& out) { out += "</div>\n"; }

std::string summaryPageName(std::int64_t id) { return "games/" + std::to_string(id) + ".html"; }

std::string gamesListPageName(std::size_t page) {
  return page <= 1 ? std::string("games.html") : "games-" + std::to_string(page) + ".html";
}

std::string mapPageName(const std::string& map) { return "maps/m" + hexOf(map) + ".html"; }

PageFrame frameFor(const SiteModel& m, std::string title, int depth, const std::string& pages) {
  std::string site = depth > 0 ? "../" : "";
  return PageFrame{std::move(title), site, site + pages, m.rules.title};
}

std::string durationText(std::optional<std::int64_t> seconds) {
  if (!seconds || *seconds < 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(*seconds / 60),
                static_cast<long long>(*seconds % 60));
  return text;
}

std::string mapLabel(const std::string& map) { return map.empty() ? std::string("no map") : map; }

void appendNameLink(std::string& out, const SiteModel& m, const std::string& raw_name, const std::string& site) {
  if (std::optional<std::size_t> p = playerIndex(m, raw_name)) {
    out += "<a href=\"";
    appendEscaped(out, site + m.page[*p]);
    out += "\">";
    appendColouredName(out, raw_name);
    out += "</a>";
  } else {
    appendColouredName(out, raw_name);
  }
}

GameBrief briefOf(const SiteModel& m, const GameRecord& g) {
  GameBrief b;
  b.id = g.id;
  b.played_known = g.played.has_value();
  b.when = g.played ? *g.played : g.counted;
  b.map = g.map;
  b.type = g.type;
  b.duration = g.duration;
  b.players = g.player_count;
  if (isTeamGame(g)) {
    b.winner_team = g.winner_team.value_or("");
    b.score = teamScore(g);
  } else {
    b.winner = g.winner;
    std::optional<std::int64_t> top = topFrags(g);
    b.score = top ? std::to_string(*top) : std::string("-");
  }
  GamePageLink link;
  if (g.page && g.server == m.data->server && m.live_pages.count(*g.page) != 0 && parseGamePage(*g.page, link)) {
    b.main_page = *g.page;
    if (g.weapon_page && isSafePageName(*g.weapon_page)) b.weapon_page = *g.weapon_page;
  }
  return b;
}

void appendGamesTable(std::string& out, const SiteModel& m, const std::vector<GameBrief>& games,
                      const std::string& site, const std::string& pages) {
  beginScroll(out);
  out += "<table class=\"ksBoard ksGameList\">\n<thead><tr>";
  plainHeadings(out, {"played", "map", "type", "duration", "winner", "score", "players", "pages"});
  out += "</tr></thead>\n<tbody>\n";
  for (const GameBrief& g : games) {
    out += "<tr><td class=\"name\">";
    appendWhen(out, g.when, g.played_known);
    out += "</td><td class=\"name\"><a href=\"";
    appendEscaped(out, site + mapPageName(g.map));
    out += "\">";
    appendEscaped(out, mapLabel(g.map));
    out += "</a></td><td class=\"name\">";
    appendEscaped(out, g.type);
    out += "</td><td>" + durationText(g.duration) + "</td><td class=\"name\">";
    appendWinner(out, m, g, site);
    out += "</td><td>" + g.score + "</td><td>" + std::to_string(g.players) + "</td><td class=\"name\"><a href=\"";
    appendEscaped(out, site + summaryPageName(g.id));
    out += "\">summary</a>";
    appendPageLinks(out, g, pages);
    out += "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

std::string gamesListPage(const SiteModel& m, const std::vector<GameBrief>& games, std::size_t page,
                          std::size_t page_count, std::int64_t recorded, std::int64_t unrecorded,
                          const std::string& pages) {
  std::string out;
  out.reserve(4096 + games.size() * 700);
  PageFrame frame = frameFor(m, page <= 1 ? "games" : "games, page " + std::to_string(page), 0, pages);
  beginPage(out, frame);
  out += "<h1>games</h1>\n<p class=\"ksNote\">";
  if (recorded == 0) {
    out += "No game records yet.";
  } else {
    out += std::to_string(recorded) + (recorded == 1 ? " recorded game" : " recorded games") + ", newest first.";
  }
  if (unrecorded > 0) {
    out += " " + std::to_string(unrecorded) +
           (unrecorded == 1 ? " counted game has no record" : " counted games have no record") +
           " (counted before records were kept).";
  }
  out += "</p>\n";
  appendPager(out, page, page_count);
  if (!games.empty()) appendGamesTable(out, m, games, "", pages);
  appendPager(out, page, page_count);
  endPage(out, frame);
  return out;
}

std::string gameSummaryPage(const SiteModel& m, const GameRecord& g, const std::string& pages) {
  GameBrief brief = briefOf(m, g);
  std::string out;
  out.reserve(6144);
  PageFrame frame = frameFor(m, "game " + std::to_string(g.id) + " on " + mapLabel(g.map), 1, pages);
  beginPage(out, frame);
  out += "<h1>";
  appendEscaped(out, g.type);
  out += " on <a href=\"";
  appendEscaped(out, "../" + mapPageName(g.map));
  out += "\">";
  appendEscaped(out, mapLabel(g.map));
  out += "</a></h1>\n";
  appendScoreBlock(out, m, g, brief, pages);
  appendPlayersTable(out, m, g);
  appendHeadToHead(out, m, g);
  out += "<p class=\"ksBack\"><a href=\"../games.html\">&larr; all games</a></p>\n";
  endPage(out, frame);
  return out;
}

}  // namespace site
