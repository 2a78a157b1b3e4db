// Where a run's work ends: only games that have ended are translated.
//
// The run handles its input up to and including the last "ShutdownGame:"
// line (an event line: the keyword begins the line's event text, see
// eventText) and the pieces that continue it. What follows is an unfinished
// game: left out in normal mode, the next tail in carry-over mode.
//
// The end is found from the back of the input, so the run reads its input
// once and only the unfinished rest twice.
#pragma once

#include <cstdint>

#include "log_input.h"

namespace preparse {

struct EndOfGames {
  std::uint64_t offset = 0;  // the input's bytes before it are handled; 0 without a "ShutdownGame:"
  bool read_failed = false;  // the input could not be read; `offset` is then 0
};

// `count_unfinished_last` says whether a "ShutdownGame:" that is the input's
// last line and lacks its line end counts: in carry-over mode it does not,
// as the server may still be writing it; it stays for the next run.
EndOfGames findEndOfGames(const LogInput& input, bool count_unfinished_last);

}  // namespace preparse
