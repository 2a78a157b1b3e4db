// The TagSift run: options, both name lists into the name store, the
// qualifying candidates into the intermediate file, and the chain filter into
// the tag file.
#pragma once

namespace tagsift {

// The intermediate list of qualifying candidates, in the working directory,
// removed again at the end of the run.
inline constexpr const char* kIntermediateFile = "tags-temp-kjaslkjefa392.txt";

// The whole program; `argv` as given to main. Returns the exit status, which
// is 0 in every case: the season driver does not look at it, and failures
// are reported on standard output.
int run(int argc, const char* const* argv);

}  // namespace tagsift
