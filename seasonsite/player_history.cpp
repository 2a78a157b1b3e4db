#include "player_history.h"

#include <algorithm>
#include <map>

#include "record_pages.h"
#include "html_text.h"
#include "index_page.h"
#include "page_frame.h"
#include "svg_chart.h"

namespace site {

namespace {

bool better(const Rival& a, const Rival& b) { return a.kills != b.kills ? a.kills > b.kills : a.raw_name < b.raw_name; }

std::string kd(std::int64_t kills, std::int64_t deaths) {
  return fixed(static_cast<double>(kills) / static_cast<double>(std::max<std::int64_t>(deaths, 1)), 2);
}

// Rows `from` to `to` of the player's games.
void appendGameList(std::string& out, const std::vector<PlayerGame>& games, std::size_t from, std::size_t to) {
  beginScroll(out);
  out += "<table class=\"ksBoard ksPlayerGames\">\n<thead><tr>";
  plainHeadings(out, {"played", "result", "map", "type", "frags", "K/D", "game"});
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t i = from; i < to && i < games.size(); ++i) {
    const PlayerGame& g = games[i];
    out += "<tr><td class=\"name\">";
    appendEscaped(out, g.listed);
    if (!g.played_known) out += " <span class=\"ksCounted\">(counted)</span>";
    out += "</td><td class=\"name ksResult-";
    out += g.result == "won" ? "won" : g.result == "lost" ? "lost" : "draw";
    out += "\">";
    appendEscaped(out, g.result.empty() ? std::string("-") : g.result);
    out += "</td><td class=\"name\"><a href=\"";
    appendEscaped(out, "../" + mapPageName(g.map));
    out += "\">";
    appendEscaped(out, mapLabel(g.map));
    out += "</a></td><td class=\"name\">";
    appendEscaped(out, g.type);
    out += "</td><td>" + std::to_string(g.frags) + "</td><td>" + kd(g.kills, g.deaths) + "</td><td class=\"name\"><a href=\"";
    appendEscaped(out, "../" + summaryPageName(g.game_id));
    out += "\">summary</a></td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

void appendListPager(std::string& out, const SiteModel& m, std::size_t player, std::size_t page, std::size_t count) {
  if (count <= 1) return;
  out += "<p class=\"ksPager\">";
  if (page > 1) {
    out += "<a rel=\"prev\" href=\"";
    appendEscaped(out, "../" + playerGamesPageName(m, player, page - 1));
    out += "\">&larr; newer</a> ";
  }
  out += "page " + std::to_string(page) + " of " + std::to_string(count);
  if (page < count) {
    out += " <a rel=\"next\" href=\"";
    appendEscaped(out, "../" + playerGamesPageName(m, player, page + 1));
    out += "\">older &rarr;</a>";
  }
  out += "</p>\n";
}

void appendMaps(std::string& out, const std::vector<PlayerGame>& games) {
  out += "<h2>maps</h2>\n";
  beginScroll(out);
  out += "<table class=\"ksBoard ksPlayerMaps\" data-sortable>\n<thead><tr>";
  static constexpr const char* kHeadings[][2] = {{"map", "text"},  {"games", "num"},  {"won", "num"},
                                                 {"frags", "num"}, {"kills", "num"}, {"deaths", "num"},
                                                 {"K/D", "num"}};
  sortableHeadings(out, kHeadings);
  out += "</tr></thead>\n<tbody>\n";
  for (const MapRecord& r : mapRecords(games)) {
    out += "<tr><td class=\"name\"><a href=\"";
    appendEscaped(out, "../" + mapPageName(r.map));
    out += "\">";
    appendEscaped(out, mapLabel(r.map));
    out += "</a></td><td>" + std::to_string(r.games) + "</td><td>" + std::to_string(r.wins) + "</td><td>" +
           std::to_string(r.frags) + "</td><td>" + std::to_string(r.kills) + "</td><td>" + std::to_string(r.deaths) +
           "</td><td>" + kd(r.kills, r.deaths) + "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

void appendRivalList(std::string& out, const SiteModel& m, const char* title, const char* css, const char* verb,
                     const std::vector<Rival>& rivals) {
  out += "<section>\n<h2>";
  out += title;
  out += "</h2>\n";
  if (rivals.empty()) {
    out += "<p class=\"ksNote\">Nobody yet.</p>\n</section>\n";
    return;
  }
  out += "<ol class=\"ksRivals ";
  out += css;
  out += "\">\n";
  for (const Rival& r : rivals) {
    out += "<li>";
    appendNameLink(out, m, r.raw_name, "../");
    out += " <span class=\"ksNote\">";
    out += verb;
    out += " " + std::to_string(r.kills) + (r.kills == 1 ? " time" : " times") + "</span></li>\n";
  }
  out += "</ol>\n</section>\n";
}

}  // namespace

void offerRival(std::vector<Rival>& top, Rival rival) {
  if (top.size() >= kRivalsShown && !better(rival, top.back())) return;
  top.insert(std::upper_bound(top.begin(), top.end(), rival, better), std::move(rival));
  if (top.size() > kRivalsShown) top.pop_back();
}

bool readRivals(const SiteModel& m, GameRecordSource& records, std::vector<Rivals>& rivals, std::string& error) {
  rivals.assign(m.data->players.size(), Rivals());
  return records.forEachHeadToHead(
      [&](const KillCount& k, std::string&) {
        if (k.kills <= 0 || k.killer == k.victim) return true;
        std::optional<std::size_t> killer = playerIndex(m, k.killer);
        std::optional<std::size_t> victim = playerIndex(m, k.victim);
        if (!killer || !victim) return true;  // names that are no player of the season
        offerRival(rivals[*killer].prey, {k.victim, k.kills});
        offerRival(rivals[*victim].enemies, {k.killer, k.kills});
        return true;
      },
      error);
}

std::vector<MapRecord> mapRecords(const std::vector<PlayerGame>& games) {
  std::map<std::string, MapRecord> by_map;
  for (const PlayerGame& g : games) {
    MapRecord& r = by_map[g.map];
    r.map = g.map;
    r.games += 1;
    r.wins += g.result == "won" ? 1 : 0;
    r.frags += g.frags;
    r.kills += g.kills;
    r.deaths += g.deaths;
  }
  std::vector<MapRecord> records;
  for (auto& [map, r] : by_map) records.push_back(std::move(r));
  std::stable_sort(records.begin(), records.end(), [](const MapRecord& a, const MapRecord& b) { return a.games > b.games; });
  return records;
}

std::size_t playerGamesPageCount(std::size_t games) {
  return std::max<std::size_t>(1, (games + kPlayerGamesPerPage - 1) / kPlayerGamesPerPage);
}

std::string playerGamesPageName(const SiteModel& m, std::size_t player, std::size_t page) {
  if (page <= 1) return m.page[player];
  std::string name = m.page[player];
  name.resize(name.size() - 5);  // ".html"
  return name + "-games-" + std::to_string(page) + ".html";
}

// The player's rating in each family played, with the line of its last
// games.
void appendRatings(std::string& out, const SeasonRatings& ratings, std::size_t player) {
  out += "<h2 id=\"rating\">rating</h2>\n";
  bool any = false;
  for (RatingFamily family : kRatingFamilies) {
    const PlayerRating& r = ratings.of(player, family);
    if (r.games == 0) continue;
    any = true;
    const std::string name = ratingFamilyLabel(family);
    out += "<p class=\"ksRating\"><b>" + name + ":</b> " + fixed(r.rating.rating, 0) + " &plusmn; " +
           fixed(2 * r.rating.deviation, 0) + " after " + std::to_string(r.games) +
           (r.games == 1 ? " rated game" : " rated games") + (isProvisional(r) ? " (provisional)" : "") + "</p>\n";
    appendRatingChart(out, r.history, kRatingChartGames, name + " rating over the last games");
  }
  if (!any) out += "<p class=\"ksNote\">No rated games.</p>\n";
}

void appendPlayerHistory(std::string& out, const SiteModel& m, std::size_t player, const PlayerHistory& h) {
  out += "<h2 id=\"games\">games</h2>\n";
  if (!h.records) {
    out += "<p class=\"ksNote\">No game records yet.</p>\n";
    return;
  }
  if (h.games == nullptr || h.games->empty()) {
    out += "<p class=\"ksNote\">No recorded games.</p>\n";
  } else {
    const std::vector<PlayerGame>& games = *h.games;
    const std::size_t pages = playerGamesPageCount(games.size());
    out += "<p class=\"ksNote\">" + std::to_string(games.size()) +
           (games.size() == 1 ? " recorded game" : " recorded games") + ", newest first.</p>\n";
    appendGameList(out, games, 0, kPlayerGamesPerPage);
    appendListPager(out, m, player, 1, pages);
    if (h.ratings != nullptr) appendRatings(out, *h.ratings, player);
    out += "<h2>form</h2>\n";
    appendFormChart(out, games, kFormGames);
    appendMaps(out, games);
  }
  out += "<div class=\"ksColumns\">\n";
  static const Rivals kNone;
  const Rivals& r = h.rivals != nullptr ? *h.rivals : kNone;
  appendRivalList(out, m, "easiest prey", "ksPrey", "killed", r.prey);
  appendRivalList(out, m, "worst enemies", "ksEnemies", "killed by them", r.enemies);
  out += "</div>\n";
}

std::string playerGamesPage(const SiteModel& m, std::size_t player, const std::vector<PlayerGame>& games,
                            std::size_t page, const std::string& pages) {
  const PlayerRow& p = m.data->players[player];
  std::string out;
  out.reserve(4096 + kPlayerGamesPerPage * 400);
  PageFrame frame = frameFor(m, (p.name.empty() ? std::string("player") : p.name) + ", games page " + std::to_string(page),
                             1, pages);
  beginPage(out, frame);
  out += "<h1 class=\"ksPlayer\">";
  appendPlayerLink(out, m, player, "../");
  out += " &middot; games</h1>\n";
  const std::size_t count = playerGamesPageCount(games.size());
  appendListPager(out, m, player, page, count);
  appendGameList(out, games, (page - 1) * kPlayerGamesPerPage, page * kPlayerGamesPerPage);
  appendListPager(out, m, player, page, count);
  endPage(out, frame);
  return out;
}

}  // namespace site
