// The pages of the game records: the list of every game (games.html,
// games-2.html, ...) and one summary page per game (games/<id>.html).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game_records.h"
#include "page_frame.h"
#include "site_model.h"

namespace site {

// Games on one page of the list.
inline constexpr std::size_t kGamesPerListPage = 100;

// What a list shows of a game; kept without the game's players, so that a
// list of briefs stays small.
struct GameBrief {
  std::int64_t id = 0;
  std::string when;            // played, else counted
  bool played_known = true;    // false: `when` is the counted time
  std::string map;
  std::string type;
  std::optional<std::int64_t> duration;
  std::string winner_team;     // "red" "blue" "draw", "" in free-for-all
  std::optional<std::string> winner;  // free-for-all: the raw name of the sole leader
  std::string score;           // "3 : 1" in team games, the leader's frags in free-for-all, "-" unknown
  std::int64_t players = 0;
  std::string main_page;       // the full report pages, while the rotation has them; else ""
  std::string weapon_page;
};

// The brief of `game`; its report pages only when they are in this server's
// rotation now and are names of game pages.
GameBrief briefOf(const SiteModel& m, const GameRecord& game);

// File names within the season folder.
std::string summaryPageName(std::int64_t id);            // "games/<id>.html"
std::string gamesListPageName(std::size_t page);         // 1: "games.html", then "games-<page>.html"
std::string mapPageName(const std::string& map);         // "maps/m<hex of the name>.html"

// A frame for a page of this site; `depth` 0 for the season folder, 1 for
// its sub-folders; `pages` as for the other pages (from the season folder).
PageFrame frameFor(const SiteModel& m, std::string title, int depth, const std::string& pages);

// "12:05" from seconds; "-" for none.
std::string durationText(std::optional<std::int64_t> seconds);
// A map's name as a page shows it ("no map" for none), not escaped.
std::string mapLabel(const std::string& map);

// Appends the raw name in colour, linked to the player's page when the
// season has the player; `site` is the path from the page to the season folder.
void appendNameLink(std::string& out, const SiteModel& m, const std::string& raw_name, const std::string& site);

// Appends a table of games (played, map, type, duration, winner, score,
// players, summary and report links); `site` as above, `pages` the path from
// the page to the game pages.
void appendGamesTable(std::string& out, const SiteModel& m, const std::vector<GameBrief>& games,
                      const std::string& site, const std::string& pages);

// Page `page` (1-based) of `page_count` of the list, with its games.
std::string gamesListPage(const SiteModel& m, const std::vector<GameBrief>& games, std::size_t page,
                          std::size_t page_count, std::int64_t recorded, std::int64_t unrecorded,
                          const std::string& pages);

// The summary page of one game.
std::string gameSummaryPage(const SiteModel& m, const GameRecord& game, const std::string& pages);

// Appends `text` wrapped so that a wide table scrolls inside its box.
void beginScroll(std::string& out);
void endScroll(std::string& out);

}  // namespace site
