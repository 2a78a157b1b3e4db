// The TagSift run: options, both name lists into the name store, the
// qualifying candidates into the intermediate file, and the chain filter into
// the tag file.
#pragma once

namespace tagsift {

// The intermediate list of qualifying candidates, in the working directory,
// removed again at the end of the run.
inline constexpr const char* kIntermediateFile = "tags-temp-kjaslkjefa392.txt";

// The whole program; `argv` as given to main. Returns the exit status: 1 when
// the tag file (or the intermediate file) could not be written, else 0, also
// when a name list cannot be read. Every failure is reported on standard
// output.
int run(int argc, const char* const* argv);

}  // namespace tagsift
