// Clan statistics: the set of clan tags and each tag's stat.
#pragma once

namespace season {

// Refreshes the clan tags (detected, added, deleted) and their stats.
void generateClanStats();

}  // namespace season
