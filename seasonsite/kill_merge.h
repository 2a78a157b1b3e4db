// The games' kills, read as a second stream beside the games, put back with
// their games.
//
// Both streams come in the order of the game list (newest first: later
// listed time, then the higher id). The kill stream is read in a snapshot
// taken just after the games' one, and records are only ever added, so it
// holds the kills of every game the game stream holds, and perhaps those of
// games committed in between; those are passed by.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "game_records.h"

namespace site {

// One row of the kill stream: a kill count with its game's place in the list.
struct ListedKill {
  std::string listed;
  std::int64_t game_id = 0;
  KillCount kill;
};

class KillMerge {
 public:
  // `next` gives the kill stream's next row, or none at its end.
  using Source = std::function<std::optional<ListedKill>()>;
  explicit KillMerge(Source next) : next_(std::move(next)) { pending_ = next_(); }

  // Appends the kills of `game` to game.kills. The games must come in the
  // order of the list, each once.
  void addTo(GameRecord& game) {
    while (pending_ && newerGame(pending_->listed, pending_->game_id, game.listed, game.id)) pending_ = next_();
    while (pending_ && pending_->game_id == game.id) {
      game.kills.push_back(std::move(pending_->kill));
      pending_ = next_();
    }
  }

 private:
  Source next_;
  std::optional<ListedKill> pending_;
};

}  // namespace site
