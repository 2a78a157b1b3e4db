#include "index_page.h"

#include "html_text.h"
#include "page_frame.h"

namespace site {

namespace {

// Winners named by an award before "and N more".
constexpr std::size_t kNamedWinners = 3;

// Figures are right-aligned by season.css: every cell but a name's.
void appendNumberCell(std::string& out, const std::string& text) {
  out += "<td>";
  out += text;
  out += "</td>";
}

void appendNumberCell(std::string& out, std::int64_t value) { appendNumberCell(out, std::to_string(value)); }

void appendFindBox(std::string& out) {
  out += "<form class=\"ksFind\" action=\"";
  out += kAllPlayersPage;
  out += "\" method=\"get\" role=\"search\">\n<label for=\"ksFindName\">find a player</label> "
         "<input type=\"search\" id=\"ksFindName\" name=\"q\" autocomplete=\"off\" placeholder=\"name\"> "
         "<button type=\"submit\">find</button> <span class=\"ksFindCount\" aria-live=\"polite\"></span>\n</form>\n";
}

// The rating of the family the player played more of (free-for-all on a
// tie), its family, and "provisional" while the deviation is large.
void appendRatingCell(std::string& out, const SeasonRatings& ratings, std::size_t p) {
  const PlayerRating& ffa = ratings.of(p, RatingFamily::kFreeForAll);
  const PlayerRating& team = ratings.of(p, RatingFamily::kTeam);
  const RatingFamily family = team.games > ffa.games ? RatingFamily::kTeam : RatingFamily::kFreeForAll;
  const PlayerRating& r = ratings.of(p, family);
  if (r.games == 0) {
    appendNumberCell(out, "-");
    return;
  }
  const bool provisional = isProvisional(r);
  out += provisional ? "<td class=\"ksProvisional\" title=\"" : "<td title=\"";
  out += ratingFamilyLabel(family);
  out += ", &plusmn;" + fixed(2 * r.rating.deviation, 0) + " (" + std::to_string(r.games) + " rated games)";
  out += provisional ? ", provisional\">" : "\">";
  out += fixed(r.rating.rating, 0);
  if (provisional) out += " ?";
  out += "</td>";
}

// The leaderboard with the given players, in the given order (skill order);
// with `ratings` (the season has game records) a rating column after skill.
void appendLeaderboard(std::string& out, const SiteModel& m, bool everyone, const SeasonRatings* ratings) {
  beginScroll(out);
  out += "<table class=\"ksBoard\" id=\"leaderboard\" data-sortable>\n<thead><tr>";
  static constexpr const char* kHeadings[][2] = {
      {"#", "num"},          {"name", "text"}, {"games", "num"}, {"frags", "num"},    {"kills", "num"},
      {"deaths", "num"},     {"K/D", "num"},   {"suicides", "num"}, {"team kills", "num"}, {"skill", "num"},
  };
  static constexpr const char* kRatingHeading[][2] = {{"rating", "num"}};
  static constexpr const char* kMoreHeadings[][2] = {
      {"combat", "num"}, {"accuracy", "num"}, {"flag caps", "num"}, {"kill streak", "num"}, {"death streak", "num"},
  };
  sortableHeadings(out, kHeadings);
  if (ratings != nullptr) sortableHeadings(out, kRatingHeading);
  sortableHeadings(out, kMoreHeadings);
  out += "</tr></thead>\n<tbody>\n";
  for (std::size_t p : m.by_skill) {
    if (!everyone && !qualifies(m, p)) continue;
    const PlayerRow& row = m.data->players[p];
    out += "<tr>";
    appendNumberCell(out, static_cast<std::int64_t>(m.rank[p]));
    out += "<td class=\"name\">";
    appendPlayerLink(out, m, p, "");
    out += "</td>";
    appendNumberCell(out, row.games);
    appendNumberCell(out, row.frags);
    appendNumberCell(out, row.kills);
    appendNumberCell(out, row.deaths);
    appendNumberCell(out, fixed(killsPerDeath(row), 2));
    appendNumberCell(out, row.suicides);
    appendNumberCell(out, row.team_kills);
    appendNumberCell(out, fixed(row.skill, 2));
    if (ratings != nullptr) appendRatingCell(out, *ratings, p);
    appendNumberCell(out, fixed(row.combat, 2));
    appendNumberCell(out, percent(accuracyPercent(row.accuracy_total)));
    appendNumberCell(out, row.ctf[kFlagCaps]);
    appendNumberCell(out, row.kill_streak);
    appendNumberCell(out, row.death_streak);
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

void appendAward(std::string& out, const SiteModel& m, const AwardResult& r, const std::string& pages) {
  const AwardCategory& c = m.award_categories[r.category];
  out += "<div class=\"ksAward neutral\">";
  appendAwardImage(out, c, pages);
  out += "<div><div class=\"ksAwardTitle\">";
  appendEscaped(out, c.title);
  out += "</div><div class=\"ksAwardWinners\">";
  for (std::size_t i = 0; i < r.winners.size() && i < kNamedWinners; ++i) {
    if (i > 0) out += ", ";
    appendPlayerLink(out, m, r.winners[i], "");
  }
  if (r.winners.size() > kNamedWinners) out += " and " + std::to_string(r.winners.size() - kNamedWinners) + " more";
  out += "</div><div class=\"ksAwardValue\">";
  out += c.percent ? percent(r.best) : fixed(r.best, c.decimals);
  out += "</div></div></div>\n";
}

// The awards of one kind (honours or shame) that somebody won.
void appendAwards(std::string& out, const SiteModel& m, bool shame, const std::string& pages) {
  bool any = false;
  for (const AwardResult& r : m.awards) {
    if (m.award_categories[r.category].shame != shame || r.winners.empty()) continue;
    if (!any) out += "<div class=\"ksAwardGrid\">\n";
    any = true;
    appendAward(out, m, r, pages);
  }
  if (any) {
    out += "</div>\n";
  } else {
    out += "<p class=\"ksNote\">Nobody yet.</p>\n";
  }
}

// Players whose raw name holds the tag, the way the clan rating counts them.
std::size_t clanMembers(const SeasonData& data, const std::string& tag) {
  if (tag.empty()) return 0;
  std::size_t n = 0;
  for (const PlayerRow& p : data.players) n += p.raw_name.find(tag) != std::string::npos ? 1 : 0;
  return n;
}

void appendClans(std::string& out, const SiteModel& m) {
  out += "<h2 id=\"clans\">clans</h2>\n";
  if (m.clans.empty()) {
    out += "<p class=\"ksNote\">No clan tags yet.</p>\n";
    return;
  }
  beginScroll(out);
  out += "<table class=\"ksBoard ksClans\" data-sortable>\n<thead><tr><th class=\"neutralHighlight\" "
         "data-sort=\"text\" scope=\"col\">tag</th><th class=\"neutralHighlight\" data-sort=\"num\" "
         "scope=\"col\">rating</th><th class=\"neutralHighlight\" data-sort=\"num\" scope=\"col\">players</th>"
         "</tr></thead>\n<tbody>\n";
  for (std::size_t c : m.clans) {
    const ClanRow& clan = m.data->clans[c];
    out += "<tr><td class=\"name\">";
    appendColouredName(out, clan.tag);
    out += "</td>";
    appendNumberCell(out, fixed(clan.stat, 2));
    appendNumberCell(out, static_cast<std::int64_t>(clanMembers(*m.data, clan.tag)));
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n";
  endScroll(out);
}

void appendGamePageLink(std::string& out, const std::string& pages, const std::string& file, const char* text) {
  out += "<a href=\"";
  appendEscaped(out, pages + urlEncoded(file));
  out += "\">";
  out += text;
  out += "</a>";
}

void appendGames(std::string& out, const SiteModel& m, const std::string& pages) {
  out += "<h2 id=\"reports\">game reports</h2>\n";
  if (m.games.empty()) {
    out += "<p class=\"ksNote\">No game pages yet.</p>\n";
    return;
  }
  out += "<ul class=\"ksGames\">\n";
  for (const GamePageLink& g : m.games) {
    out += "<li><a href=\"";
    appendEscaped(out, pages + urlEncoded(g.main));
    out += "\">";
    if (g.when.empty()) {
      appendEscaped(out, g.label.empty() ? g.main : g.label);
    } else {
      appendEscaped(out, g.when);
      if (g.game > 0) out += " &middot; game " + std::to_string(g.game);
    }
    out += "</a>";
    if (!g.when.empty() && !g.label.empty()) {
      out += " <span class=\"ksGameLabel\">";
      appendEscaped(out, g.label);
      out += "</span>";
    }
    if (!g.weapons.empty()) {
      out += " [";
      appendGamePageLink(out, pages, g.weapons, "weapons");
      out += "]";
    }
    if (!g.json.empty()) {
      out += " [";
      appendGamePageLink(out, pages, g.json, "JSON");
      out += "]";
    }
    out += "</li>\n";
  }
  out += "</ul>\n";
}

void appendLatestGames(std::string& out, const SiteModel& m, const LatestGames& latest, const std::string& pages) {
  out += "<h2 id=\"games\">latest games</h2>\n";
  if (latest.games.empty()) {
    out += "<p class=\"ksNote\">No game records yet.";
  } else {
    appendGamesTable(out, m, latest.games, "", pages);
    out += "<p class=\"ksNote\"><a href=\"games.html\">All " + std::to_string(latest.recorded) +
           " recorded games</a> &middot; <a href=\"maps.html\">maps</a> &middot; <a href=\"games.json\">games.json</a>.";
  }
  if (latest.unrecorded > 0) {
    out += " " + std::to_string(latest.unrecorded) +
           (latest.unrecorded == 1 ? " counted game has no record." : " counted games have no record.");
  }
  out += "</p>\n";
}

// "1 game", "2 games".
std::string countOf(long long n, const char* noun) {
  return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

void appendSummary(std::string& out, const SiteModel& m) {
  out += "<p class=\"ksUpdated\">last update: <b>";
  appendEscaped(out, m.data->last_update.empty() ? std::string("never") : m.data->last_update);
  out += "</b> &middot; " + countOf(static_cast<long long>(m.data->players.size()), "player") + ", " + std::to_string(m.qualified) +
         " with at least " + countOf(m.rules.min_games, "game") + " &middot; <a href=\"season.json\">season.json</a></p>\n";
}

}  // namespace

void appendPlayerLink(std::string& out, const SiteModel& m, std::size_t player, const std::string& site) {
  out += "<a href=\"";
  appendEscaped(out, site + m.page[player]);
  out += "\">";
  appendColouredName(out, m.data->players[player].raw_name);
  out += "</a>";
}

void appendAwardImage(std::string& out, const AwardCategory& category, const std::string& pages) {
  out += "<img src=\"";
  appendEscaped(out, pages + "images/awards/" + category.image);
  out += "\" width=\"32\" height=\"32\" alt=\"\" title=\"";
  appendEscaped(out, category.title);
  out += "\">";
}

std::string indexPage(const SiteModel& m, const std::string& pages, const LatestGames& latest,
                      const SeasonRatings* ratings) {
  std::string out;
  out.reserve(4096 + m.data->players.size() * 700);
  PageFrame frame{"season", "", pages, m.rules.title};
  beginPage(out, frame);
  out += "<h1>";
  appendEscaped(out, m.rules.title.empty() ? std::string("season") : m.rules.title);
  out += "</h1>\n";
  appendSummary(out, m);
  appendFindBox(out);
  out += "<h2 id=\"leaderboard-title\">leaderboard</h2>\n<p class=\"ksNote\">Players with at least " +
         countOf(m.rules.min_games, "game") + ", best skill first; a column's heading sorts by it. <a href=\"" +
         kAllPlayersPage + "\">Show all " + std::to_string(m.data->players.size()) + " players</a>.</p>\n";
  appendLeaderboard(out, m, false, ratings);
  out += "<h2 id=\"awards\">season awards</h2>\n";
  appendAwards(out, m, false, pages);
  if (m.rules.show_clans) appendClans(out, m);
  appendLatestGames(out, m, latest, pages);
  appendGames(out, m, pages);
  out += "<h2 id=\"shame\">hall of shame</h2>\n";
  appendAwards(out, m, true, pages);
  endPage(out, frame);
  return out;
}

std::string allPlayersPage(const SiteModel& m, const std::string& pages, const SeasonRatings* ratings) {
  std::string out;
  out.reserve(4096 + m.data->players.size() * 700);
  PageFrame frame{"all players", "", pages, m.rules.title};
  beginPage(out, frame);
  out += "<h1>all players</h1>\n";
  appendSummary(out, m);
  appendFindBox(out);
  out += "<p class=\"ksNote\">Every player of the season, best skill first; a column's heading sorts by it. "
         "<a href=\"";
  out += kIndexPage;
  out += "\">Back to the season</a>.</p>\n";
  appendLeaderboard(out, m, true, ratings);
  endPage(out, frame);
  return out;
}

}  // namespace site
