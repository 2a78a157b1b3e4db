// Season awards: for every category the season's totals can rank, the
// leading players.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "season_data.h"

namespace site {

struct AwardCategory {
  std::string id;     // JSON key, e.g. "most_frags", "best_accuracy_RG"
  std::string title;  // what the page says, e.g. "most frags"
  std::string image;  // file in images/awards/
  bool shame = false;   // the hall of shame: suicides, team kills, ...
  bool percent = false;  // the measure is a percentage
  int decimals = 0;      // decimals shown
  // The player's figure; none when the player does not take part (too few
  // attempts with the weapon, say).
  std::function<std::optional<double>(const PlayerRow&)> measure;
};

struct AwardResult {
  std::size_t category = 0;          // index into the category list
  double best = 0;                   // the winners' figure
  std::vector<std::size_t> winners;  // indices into the players, in the given order; empty: nobody
};

// Every category, in the order pages show them. Accuracy awards need at
// least `min_attempts` attempts (with the weapon, or in all).
std::vector<AwardCategory> awardCategories(std::int64_t min_attempts);

// The leaders of each category among the players for which `eligible` is
// true. Ties share an award; a category whose best figure is not above zero
// goes to nobody. `candidates` lists the players in the order winners are
// to be named.
std::vector<AwardResult> seasonAwards(const std::vector<PlayerRow>& players, const std::vector<std::size_t>& candidates,
                                      const std::vector<AwardCategory>& categories);

}  // namespace site
