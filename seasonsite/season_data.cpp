#include "season_data.h"

#include <algorithm>

namespace site {

double killsPerDeath(const PlayerRow& p) {
  return static_cast<double>(p.kills) / static_cast<double>(std::max<std::int64_t>(p.deaths, 1));
}

std::optional<double> accuracyPercent(const Accuracy& a) {
  if (a.attempts <= 0) return std::nullopt;
  return 100.0 * static_cast<double>(a.hits) / static_cast<double>(a.attempts);
}

}  // namespace site
