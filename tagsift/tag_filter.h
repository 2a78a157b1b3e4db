// The chain filter between the candidate list and the tag file.
#pragma once

#include <istream>
#include <ostream>

namespace tagsift {

// Copies the candidates of `in` (one per line) to `out`, each followed by a
// line feed, except a candidate that the next line contains: the next line
// always becomes the current candidate, so of a run of candidates in which
// each extends the one before only the longest is written. The last
// candidate is always written; an empty input writes nothing. Returns the
// number of lines written.
int filterCandidates(std::istream& in, std::ostream& out);

}  // namespace tagsift
