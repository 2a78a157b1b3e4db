// The candidates: every prefix of a name, counted over both lists.
//
// A candidate is a text that at least one name begins with and is longer
// than (a name is no sighting of itself), at least the shortest candidate
// long. Its count is the number of names, from both lists, that carry it; it
// qualifies when the count is greater than the -m setting. Its origin is the
// list of its first sighting, which is the name of the lowest position in the
// store that carries it.
//
// Candidates are written in groups, one per pair of first two characters, in
// ascending byte order of that pair (a missing second character counting as
// 0, so a one-character candidate comes before its longer relatives). Inside
// a group they come in the order in which they were first seen: by the
// position of their first sighting, and from one name shortest first. The
// chain filter relies on that order: a tag and its longer extensions stand
// next to each other.
//
// The counting does not depend on the order of the lists. The names are
// walked in byte order, where the names that carry a text stand together, so
// only the prefixes of one name are open at a time and each is final when the
// walk leaves it. Only the qualifying ones are remembered, as a mark on the
// name of their first sighting.
#pragma once

#include <ostream>

#include "name_store.h"

namespace tagsift {

// Writes every qualifying candidate of `store`, each followed by a line feed,
// in group order; a candidate of reversed origin is written backwards.
// Returns the number written.
int writeCandidates(const NameStore& store, int minMatches, std::ostream& out);

}  // namespace tagsift
