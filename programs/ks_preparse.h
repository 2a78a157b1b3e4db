// The ks-preparse run: command line, files, and the carry-over tail that
// joins the unfinished rest of one run's source to the next run's.
//
//   ks-preparse source.log target.log [1]
//
// Converts a dedicated server's log into the client-console form (see
// conversion.h); with the third argument "1" (carry-over mode) the
// unfinished rest is kept for the next run.
#pragma once

#include <string>
#include <string_view>

namespace preparse {

// Names of the carry-over files of a source. The tail is the pattern filled
// with the source name, then every character that is not a letter, digit or
// "." turned into "_", so that any source path gives a plain file name in the
// working directory. The new tail is written under a name with a "-", which
// no tail name holds, so that no run ever touches another source's tail.
struct CarryOverNames {
  std::string tail;     // "kestro_lastgame_1_%s": the unfinished rest of the last run
  std::string new_tail; // tail + "-new": the next tail while it is written
};
CarryOverNames carryOverNames(std::string_view source);

// The whole program: returns the exit status. `argv` as given to main.
// Errors are printed on standard output as one "error: " line each; after a
// failed write or read the target is removed (when it is a regular file) and
// the previous tail is left as it was.
int run(int argc, char** argv);

}  // namespace preparse
