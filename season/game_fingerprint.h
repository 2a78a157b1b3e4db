// A game's identity, for counting every game exactly once.
//
// The fingerprint is the SHA-256 of the lines that make up the game (its
// events, its chat and its statistics block, each cleaned as the reader
// sees it), not of its place in a file. The same game read again (a log run
// twice, a realtime snapshot finished after a failed run, a game completed
// across a truncation of the live log) gives the same fingerprint, while
// framing lines that differ between those readings (section headers, map
// lines) are left out. Two games whose lines are all equal count once.
#pragma once

#include <string>
#include <string_view>

#include "sha256.h"

namespace season {

class GameFingerprint {
 public:
  // Adds one line of the current game.
  void addLine(std::string_view line) {
    digest_.update(line);
    digest_.update("\n");
  }
  // The fingerprint of the lines added since the last finish(), as 64
  // hexadecimal digits; the next line starts the next game.
  std::string finish() { return digest_.finishHex(); }

 private:
  Sha256 digest_;
};

}  // namespace season
