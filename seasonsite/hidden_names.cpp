#include "hidden_names.h"

#include <algorithm>

namespace site {

HiddenNames::HiddenNames(std::vector<std::string> raw_names) {
  std::sort(raw_names.begin(), raw_names.end());
  raw_names.erase(std::unique(raw_names.begin(), raw_names.end()), raw_names.end());
  std::string key = kHiddenPlayerName;
  for (const std::string& raw : raw_names) {
    key_of_.emplace(raw, key);
    key += "^7";
  }
}

bool HiddenNames::mask(std::string& raw_name) const {
  auto found = key_of_.find(raw_name);
  if (found == key_of_.end()) return false;
  raw_name = found->second;
  return true;
}

bool HiddenNames::maskGame(GameRecord& game) const {
  if (empty()) return false;
  bool masked = false;
  for (GamePlayer& p : game.players) {
    if (mask(p.figures.raw_name)) {
      p.figures.name = kHiddenPlayerName;
      masked = true;
    }
  }
  if (game.winner) masked = mask(*game.winner) || masked;
  for (KillCount& k : game.kills) {
    masked = mask(k.killer) || masked;
    masked = mask(k.victim) || masked;
  }
  return masked;
}

}  // namespace site
