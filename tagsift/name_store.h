// The names of both lists, kept in reading order.
//
// A name is a sighting of each of its prefixes. The position of a name in the
// store is the order of those sightings (the normal list first, then the
// reversed list, line by line), which decides the origin of a candidate and
// its place among the candidates of its group. Every prefix of every name is
// a candidate, far too many to keep one by one; the names themselves are
// small, and the candidates are counted from them (candidates.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tagsift {

// Longest name the store keeps: a line is read in pieces of at most this many
// characters (name_list.h).
constexpr std::size_t kLongestName = 254;

// Which list a name was read from. Candidates first seen in the reversed
// list are written backwards, which turns a common beginning of reversed
// names back into a common ending of names.
enum class Origin { Normal, Reversed };

struct NameStore {
  // `minLength` is the -l setting: a candidate has at least that many
  // characters, and at least one.
  explicit NameStore(int minLength);

  std::size_t shortestCandidate;     // length of the shortest candidate
  std::string chars;                 // the kept names back to back, without separators
  std::vector<std::size_t> ends;     // name i ends at ends[i] in chars and begins at ends[i - 1] (0 for the first)
  std::size_t reversedFrom;          // position of the first name of the reversed list; the end until it starts
};

// Appends the next name of the list being read. Only a name longer than the
// shortest candidate is kept: a shorter one has no prefix to count. A name
// holds no zero byte (a line is read up to its first); a name longer than
// kLongestName is cut to that length.
void addName(NameStore& store, std::string_view name);

// Marks the end of the normal list: the names added from now on come from
// the reversed list.
void startReversedList(NameStore& store);

std::size_t nameCount(const NameStore& store);

// The text of name `at` (less than nameCount), valid until the next addName.
std::string_view nameAt(const NameStore& store, std::size_t at);

Origin originOf(const NameStore& store, std::size_t at);

}  // namespace tagsift
