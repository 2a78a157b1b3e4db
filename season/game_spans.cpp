#include "game_spans.h"

#include <cstdio>

namespace season {

long long InputGames::position(std::FILE* input) {
  long long at = input == nullptr ? -1 : static_cast<long long>(std::ftell(input));
  if (at < 0) known_ = false;
  return at;
}

void InputGames::begin(std::FILE* input) {
  settled_.clear();
  games_.clear();
  restart(input);
}

void InputGames::restart(std::FILE* input) {
  for (const GameSpan& game : games_) {
    if (game.needs_pages) settled_.push_back(game.fingerprint);
  }
  games_.clear();
  known_ = true;
  next_begin_ = position(input);
}

void InputGames::counted(std::FILE* input, const std::string& fingerprint, bool needs_pages) {
  const long long end = position(input);
  games_.push_back({next_begin_, end, fingerprint, needs_pages});
  next_begin_ = end;
}

void InputGames::passed(std::FILE* input) { next_begin_ = position(input); }

}  // namespace season
