// Where the counted games of the input lie, so that kestrostats-c can be
// given the new games alone: a log that grew since it was last read holds
// games that have their pages already.
//
// A game's span runs from the end of the game before it (or from where the
// input was opened) to the input's position once the game is closed, the
// OSP statistics block read after it included. The spans are byte offsets
// in the file the season reads, which is the file kestrostats-c is given.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace season {

struct GameSpan {
  long long begin = 0;
  long long end = 0;
  std::string fingerprint;
  bool needs_pages = false;  // newly counted, or counted but never given its pages
};

class InputGames {
 public:
  // A new log is read from the input's current position: the games of the
  // log before are forgotten.
  void begin(std::FILE* input);
  // The input is (again) read from its current position, in a file of its
  // own: spans found so far were of another file, which kestrostats-c is
  // not given. Their games are settled without pages.
  void restart(std::FILE* input);

  // A counted game (new or known) closed at the input's position.
  void counted(std::FILE* input, const std::string& fingerprint, bool needs_pages);
  // A game that was not counted (too few players) closed there: its lines
  // stay in kestrostats-c's input, as they always did.
  void passed(std::FILE* input);

  const std::vector<GameSpan>& games() const { return games_; }
  // Fingerprints of games whose pages can never be made from this input.
  const std::vector<std::string>& settled() const { return settled_; }
  // False when a position could not be read (the input is no regular
  // file): kestrostats-c must then be given the whole input.
  bool known() const { return known_; }

 private:
  long long position(std::FILE* input);

  long long next_begin_ = 0;
  bool known_ = true;
  std::vector<GameSpan> games_;
  std::vector<std::string> settled_;
};

}  // namespace season
