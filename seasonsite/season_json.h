// season.json: the season for bots and other sites. Every player's row with
// named fields, the clans, the awards and the game pages.
#pragma once

#include <string>

#include "site_model.h"

namespace site {

// The document; `generated` is the time of the run, as text.
std::string seasonJson(const SiteModel& m, const std::string& generated);

}  // namespace site
