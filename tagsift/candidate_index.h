// The candidate index: every counted prefix, grouped by its first two
// characters.
//
// Groups are kept in ascending byte order of their key; inside a group the
// candidates stay in the order in which they were first seen. That order is
// the order of the intermediate list, and the chain filter relies on it: the
// prefixes of one name are seen shortest first, so a tag and its longer
// extensions stand next to each other.
//
// The group used last is carried as the search position from one insertion
// to the next. With both lists in ascending byte order the next prefix's
// group is that one or a later one, so each search is a short forward walk.
#pragma once

#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tagsift {

// Longest candidate text the index is meant to hold. Names are read in
// pieces of at most 254 characters and a candidate is shorter than its name,
// so no candidate comes near it.
constexpr std::size_t kMaxCandidateLength = 511;

// Which list a candidate was first seen in. Candidates of the reversed list
// are written backwards, which turns a common beginning of reversed names
// back into a common ending of names.
enum class Origin { Normal, Reversed };

struct Candidate {
  std::string text;  // the prefix as read from its list (so reversed text for Origin::Reversed)
  int count = 1;     // number of times it was added, from both lists
  Origin origin = Origin::Normal;  // list of its first sighting
};

// The first two bytes of a text; a missing byte counts as 0, so a
// one-character text sorts before every longer text with the same first byte.
using GroupKey = std::array<unsigned char, 2>;
GroupKey groupKey(std::string_view text);

struct CandidateGroup {
  GroupKey key{};
  std::vector<Candidate> candidates;                 // in first-seen order
  std::unordered_map<std::string, std::size_t> at;  // text -> position in candidates
};

struct CandidateIndex {
  std::vector<CandidateGroup> groups;  // ascending by key, one group per key
  std::size_t position = 0;            // search position: the group used last
};

// Counts one sighting of `prefix` (1 to kMaxCandidateLength characters):
// adds one to the candidate with that text whatever its origin, or appends a
// new candidate with count 1 and `origin`. The group reached or created
// becomes the search position.
void addPrefix(CandidateIndex& index, std::string_view prefix, Origin origin);

// Sets the search position back to the first group, as before reading the
// second list.
void rewindSearch(CandidateIndex& index);

// Writes every candidate whose count is greater than `minMatches`, group by
// group in index order, each followed by a line feed; reversed-origin
// candidates are written backwards. Returns the number written.
int writeCandidates(const CandidateIndex& index, int minMatches, std::ostream& out);

}  // namespace tagsift
