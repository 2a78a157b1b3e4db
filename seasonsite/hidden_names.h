// Players who asked not to be shown (hidden_players): the site never holds
// their names. Wherever a record names one, the name becomes "hidden
// player"; as a key (a game's players, kills, ratings) each hidden player
// keeps a key of its own, "hidden player" followed by as many "^7" (white,
// which shows nothing) as it has hidden players before it, so that two of
// them in one game stay two players.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "game_records.h"

namespace site {

inline constexpr const char* kHiddenPlayerName = "hidden player";

class HiddenNames {
 public:
  HiddenNames() = default;
  // `raw_names` in the order of the keys (sorted, for keys that do not
  // change from run to run).
  explicit HiddenNames(std::vector<std::string> raw_names);

  bool empty() const { return key_of_.empty(); }
  bool isHidden(const std::string& raw_name) const { return key_of_.count(raw_name) > 0; }

  // Replaces a hidden player's raw name by its key; true when it did.
  bool mask(std::string& raw_name) const;

  // Masks every name of the game (players, winner, kills); true when any
  // was hidden. A hidden player's display name becomes "hidden player".
  bool maskGame(GameRecord& game) const;

 private:
  std::unordered_map<std::string, std::string> key_of_;
};

}  // namespace site
