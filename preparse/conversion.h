// One conversion of an input (see log_input.h) into the client-console form.
//
// Only lines up to the input's last "ShutdownGame:" are handled (see
// end_of_games.h). In carry-over mode the input is the tail the previous run
// left, followed by the source, and everything after that last
// "ShutdownGame:" line becomes the next tail. Every game is therefore
// translated by exactly one run, whole, and the same as a single run over
// the whole log would translate it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "log_input.h"
#include "output.h"

namespace preparse {

struct Converted {
  std::uint64_t tail_start = 0;  // the input's bytes from here on were not handled
  bool read_failed = false;      // the input could not be read whole
};

// Translates the input's complete games into `out` (not flushed).
// `carry_over` leaves a final "ShutdownGame:" line without its line end to
// the next run.
Converted convertInput(const LogInput& input, Output& out, bool carry_over);

// The same for a log in memory, for tests and fuzzing: the target and, in
// carry-over mode, the next tail. `previous_tail` is read in carry-over mode
// only.
struct ConvertedBytes {
  std::string target;
  std::string tail;
};
ConvertedBytes convertBytes(std::string_view previous_tail, std::string_view source, bool carry_over);

}  // namespace preparse
