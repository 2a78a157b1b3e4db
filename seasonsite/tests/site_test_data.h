// Small seasons for the unit tests.
#pragma once

#include <string>

#include "season_data.h"
#include "site_model.h"

namespace site {

inline PlayerRow makePlayer(const std::string& raw_name, std::int64_t games, double skill) {
  PlayerRow p;
  p.raw_name = raw_name;
  p.name = raw_name;
  p.games = games;
  p.skill = skill;
  return p;
}

inline SiteModel modelOf(const SeasonData& data, std::int64_t min_games = 2, bool clans = false) {
  SiteRules rules;
  rules.min_games = min_games;
  rules.award_min_attempts = 10;
  rules.show_clans = clans;
  return buildModel(data, rules, [](const std::string&) { return false; });
}

}  // namespace site
