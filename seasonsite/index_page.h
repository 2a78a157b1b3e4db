// The season's front page (index.html) and the full player list (all.html).
#pragma once

#include <string>

#include "record_pages.h"
#include "season_ratings.h"
#include "site_model.h"

namespace site {

// File names of the two pages within the season folder.
inline constexpr const char* kIndexPage = "index.html";
inline constexpr const char* kAllPlayersPage = "all.html";

// index.html: last update, find box, the leaderboard of players with
// enough games (skill order; scripts sort it by any column), the awards,
// the clans, the latest recorded games and the newest game pages. `pages` is the relative path from the season folder
// to the game pages and the site's stylesheet and images ("../").
// `latest` are the newest recorded games, shown as "latest games" above the
// rotation's game pages.
struct LatestGames {
  bool records = false;             // the database keeps game records
  std::vector<GameBrief> games;     // newest first
  std::int64_t recorded = 0;
  std::int64_t unrecorded = 0;      // counted games without a record
};
inline constexpr std::size_t kLatestGamesShown = 10;
// With `ratings` (the season has game records) the leaderboard shows them.
std::string indexPage(const SiteModel& m, const std::string& pages, const LatestGames& latest = LatestGames(),
                      const SeasonRatings* ratings = nullptr);

// all.html: the same table with every player.
std::string allPlayersPage(const SiteModel& m, const std::string& pages, const SeasonRatings* ratings = nullptr);

// Appends a player's name in colour, linked to the player's page; `site` is
// the relative path from the page being written to the season folder.
void appendPlayerLink(std::string& out, const SiteModel& m, std::size_t player, const std::string& site);

// Appends an award's image element; `pages` as above, from the page being written.
void appendAwardImage(std::string& out, const AwardCategory& category, const std::string& pages);

}  // namespace site
