// What the site shows, worked out once from the season's rows: the order of
// the leaderboard, which players it holds, every player's page name, the
// awards, the clans in order and the game pages newest first. Pages and the
// JSON file only format this.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "season_awards.h"
#include "season_data.h"

namespace site {

struct SiteRules {
  std::int64_t min_games = 2;             // the leaderboard's minimum of games
  std::int64_t award_min_attempts = 100;  // accuracy awards' minimum of attempts
  bool show_clans = false;                // clan detection is on
  std::string title;                      // site_title:; empty when not set
};

// A game page of the rotation, with its twins when they exist.
struct GamePageLink {
  std::string main;     // file name of the main page, as the rotation holds it
  std::string weapons;  // file name of the weapon page; empty when absent
  std::string json;     // file name of the game's JSON file; empty when absent
  std::string when;     // "2024-06-12 20:15:03" from the name; empty when it has none
  std::int64_t game = 0;  // the game's number within its run; 0 when unknown
  std::string label;      // "CTF RED vs BLUE", "FFA PUB" from the name
};

struct SiteModel {
  const SeasonData* data = nullptr;
  SiteRules rules;
  std::vector<std::size_t> by_skill;     // every player, best skill first (then more games, then name)
  std::size_t qualified = 0;             // how many players have at least min_games games
  std::vector<std::size_t> rank;         // per player: 1-based place in by_skill
  std::vector<std::string> page;         // per player: "players/p<hex of raw name>.html", never empty or hidden
  std::vector<AwardCategory> award_categories;
  std::vector<AwardResult> awards;       // per category; winners among the qualified players
  std::vector<std::vector<std::size_t>> awards_of;  // per player: categories won
  std::vector<std::size_t> clans;        // indices into data->clans, best stat first
  std::vector<GamePageLink> games;       // newest first
  std::unordered_map<std::string, std::size_t> player_of;  // raw name -> index into data->players
  std::set<std::string> live_pages;      // this server's rotation: pages that exist now
};

// The index of the player with raw name `raw_name`; none when the season
// has no such player.
std::optional<std::size_t> playerIndex(const SiteModel& m, const std::string& raw_name);

// Tells whether a file exists beside the game pages (a name without folder).
using PageExists = std::function<bool(const std::string& name)>;

// Works out the model; `data` must outlive it. `exists` is asked about the
// weapon page and JSON file of each game page.
SiteModel buildModel(const SeasonData& data, const SiteRules& rules, const PageExists& exists);

// True for the leaderboard: games of the player reach the minimum.
inline bool qualifies(const SiteModel& m, std::size_t player) {
  return m.data->players[player].games >= m.rules.min_games;
}

// Reads a rotation entry's name; false for a placeholder that never had a
// page or a name that is not a game page's (anything but letters, digits,
// "_", "-" and "." is refused, so a name can never leave the folder).
bool parseGamePage(const std::string& html, GamePageLink& link);

// True for a file name of letters, digits, "_", "-" and "." that does not
// start with ".": it stays in its folder and needs no quoting.
bool isSafePageName(const std::string& name);

}  // namespace site
