#include "map_pages.h"

#include <algorithm>

#include "html_text.h"
#include "index_page.h"
#include "page_frame.h"

namespace site {

namespace {

double kdOf(const MapRecord& r) {
  return static_cast<double>(r.kills) / static_cast<double>(std::max<std::int64_t>(r.deaths, 1));
}

bool betterOnMap(const MapPlayer& a, const MapPlayer& b) {
  double x = kdOf(a.record);
  double y = kdOf(b.record);
  if (x != y) return x > y;
  if (a.record.games != b.record.games) return a.record.games > b.record.games;
  return a.player < b.player;
}

std::string averageDuration(const MapStats& s) {
  if (s.timed == 0) return "-";
  return durationText(s.seconds / s.timed);
}

}  // namespace

void MapTable::addGame(const GameBrief& game) {
  MapStats& s = maps_[game.map];
  s.map = game.map;
  s.games += 1;
  if (game.duration && *game.duration >= 0) {
    s.timed += 1;
    s.seconds += *game.duration;
  }
  if (s.latest.size() < kMapLatestGames) s.latest.push_back(game);
}

void MapTable::addPlayer(std::size_t player, const std::vector<MapRecord>& records, std::int64_t min_games) {
  for (const MapRecord& r : records) {
    if (r.games < std::max<std::int64_t>(min_games, 1)) continue;
    MapStats& s = maps_[r.map];
    s.map = r.map;
    std::vector<MapPlayer>& best = s.best;
    MapPlayer candidate{player, r};
    if (best.size() >= kMapBestPlayers && !betterOnMap(candidate, best.back())) continue;
    best.insert(std::upper_bound(best.begin(), best.end(), candidate, betterOnMap), candidate);
    if (best.size() > kMapBestPlayers) best.pop_back();
  }
}

std::string mapsPage(const SiteModel& m, const MapTable& maps, const std::string& pages) {
  std::string out;
  PageFrame frame = frameFor(m, "maps", 0, pages);
  beginPage(out, frame);
  out += "<h1>maps</h1>\n";
  if (maps.maps().empty()) {
    out += "<p class=\"ksNote\">No game records yet.</p>\n";
    endPage(out, frame);
    return out;
  }
  std::vector<const MapStats*> order;
  for (const auto& [name, s] : maps.maps()) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(), [](const MapStats* a, const MapStats* b) { return a->games > b->games; });
  out += "<p class=\"ksNote\">Every map of the recorded games, most played first.</p>\n";
  beginScroll(out);
  out += "<table class=\"ksBoard ksMaps\" data-sortable>\n<thead><tr><th class=\"neutralHighlight\" data-sort=\"text\" "
         "scope=\"col\">map</th><th class=\"neutralHighlight\" data-sort=\"num\" scope=\"col\">games</th>"
         "<th class=\"neutralHighlight\" data-sort=\"text\" scope=\"col\">average duration</th>"
         "<th class=\"neutralHighlight\" data-sort=\"text\" scope=\"col\">best player</th></tr></thead>\n<tbody>\n";
  for (const MapStats* s : order) {
    out += "<tr><td class=\"name\"><a href=\"";
    appendEscaped(out, mapPageName(s->map));
    out += "\">";
    appendEscaped(out, mapLabel(s->map));
    out += "</a></td><td>" + std::to_string(s->games) + "</td><td>" + averageDuration(*s) + "</td><td class=\"name\">";
    if (s->best.empty()) {
      out += "-";
    } else {
      appendPlayerLink(out, m, s->best.front().player, "");
    }
    out += "</td></tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
  endPage(out, frame);
  return out;
}

std::string mapPage(const SiteModel& m, const MapStats& s, const std::string& pages) {
  std::string out;
  PageFrame frame = frameFor(m, "map " + mapLabel(s.map), 1, pages);
  beginPage(out, frame);
  out += "<p class=\"ksBack\"><a href=\"../maps.html\">&larr; all maps</a></p>\n<h1>";
  appendEscaped(out, mapLabel(s.map));
  out += "</h1>\n<p class=\"ksNote\">" + std::to_string(s.games) + (s.games == 1 ? " game" : " games") +
         ", on average " + averageDuration(s) + " long.</p>\n";
  out += "<h2>best players</h2>\n";
  if (s.best.empty()) {
    out += "<p class=\"ksNote\">Nobody has played " + std::to_string(std::max<std::int64_t>(m.rules.min_games, 1)) +
           " games here yet.</p>\n";
  } else {
    out += "<p class=\"ksNote\">Players with at least " + std::to_string(std::max<std::int64_t>(m.rules.min_games, 1)) +
           " games on the map, best kills per death first.</p>\n";
    beginScroll(out);
    out += "<table class=\"ksBoard ksMapBest\">\n<thead><tr>";
    plainHeadings(out, {"name", "games", "won", "frags", "kills", "deaths", "K/D"});
    out += "</tr></thead>\n<tbody>\n";
    for (const MapPlayer& p : s.best) {
      const MapRecord& r = p.record;
      out += "<tr><td class=\"name\">";
      appendPlayerLink(out, m, p.player, "../");
      out += "</td><td>" + std::to_string(r.games) + "</td><td>" + std::to_string(r.wins) + "</td><td>" +
             std::to_string(r.frags) + "</td><td>" + std::to_string(r.kills) + "</td><td>" + std::to_string(r.deaths) +
             "</td><td>" + fixed(kdOf(r), 2) + "</td></tr>\n";
    }
    out += "</tbody>\n</table>\n";
    endScroll(out);
  }
  out += "<h2>latest games</h2>\n";
  appendGamesTable(out, m, s.latest, "../", "../" + pages);
  endPage(out, frame);
  return out;
}

}  // namespace site
