// Clan statistics: the set of clan tags and each tag's stat.
#pragma once

#include "run_status.h"
#include "season_config.h"

namespace season {

// Refreshes the clan tags (detected, added, deleted) and their stats when
// clan detection is on. A step that fails is recorded in `status`.
void generateClanStats(const SeasonConfig& config, RunStatus& status);

}  // namespace season
