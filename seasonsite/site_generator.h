// Writes the whole season site into its folder, all of it or nothing.
#pragma once

#include <filesystem>
#include <string>

#include "game_records.h"
#include "site_model.h"

namespace site {

struct SiteOutput {
  std::filesystem::path folder;  // the season folder, e.g. html/season (created when missing)
  std::string pages;             // relative path from it to the game pages and site files, "../"
  std::string generated;         // time of the run, for season.json
};

struct SiteCounts {
  std::size_t written = 0;    // files replaced or new
  std::size_t unchanged = 0;  // files that already held what this run wrote
};

// Writes index.html, all.html, a page per player in players/, season.json
// and the page script and stylesheet; files whose content did not change are
// left alone (counted in `counts`). Every file is staged first and all are
// moved into place only when every one was written completely; on failure
// the previous site stays as it was and `error` names the fault. After a
// successful commit, player pages of names no longer in the season and
// files left staged by a killed run are removed (a removal that fails is an
// error too, though the new site is in place).
//
// From `records` it adds games.html (and games-2.html, ... 100 games each),
// a summary page per game in games/, maps.html and a page per map in maps/,
// each player's history on the player's page (further pages of a long list
// as players/p<hex>-games-<n>.html) and games.json, written while the
// records stream in. Pages of games, maps and list pages no longer there are
// removed afterwards like those of players.
bool writeSite(const SiteModel& m, const SiteOutput& output, GameRecordSource& records, SiteCounts& counts,
               std::string& error);
// The same without game records (a database of an earlier version).
bool writeSite(const SiteModel& m, const SiteOutput& output, SiteCounts& counts, std::string& error);

}  // namespace site
