#include "candidates.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace tagsift {

namespace {

// The lengths of the qualifying candidates first seen in one name. A
// candidate is shorter than its name, so the lengths stay below kLongestName.
using LengthMarks = std::bitset<kLongestName>;

struct Qualifying {
  std::vector<LengthMarks> marksAt;         // by position in the store; lengths of 2 and more
  std::array<bool, 256> oneCharacter{};     // by character: its one-character candidate qualifies
};

// A prefix of the name being walked. Each name is counted once, at its own
// longest candidate; a prefix hands its count on to the next shorter one
// when the walk leaves it, so that every prefix ends up counting each name
// that carries it.
struct OpenPrefix {
  std::size_t count = 0;
  std::size_t firstSighting = std::numeric_limits<std::size_t>::max();
};

struct PrefixWalk {
  const NameStore& store;
  long long minMatches;
  std::vector<OpenPrefix> open;  // open[i] is the prefix of length i + 1 of `path`
  std::string_view path;         // the name walked last
  Qualifying& qualifying;
};

// Positions of the names of `store` in ascending byte order of their text.
std::vector<std::size_t> positionsInByteOrder(const NameStore& store) {
  std::vector<std::size_t> order(nameCount(store));
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&store](std::size_t a, std::size_t b) { return nameAt(store, a) < nameAt(store, b); });
  return order;
}

std::size_t commonPrefixLength(std::string_view a, std::string_view b) {
  const auto differ = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  return static_cast<std::size_t>(differ.first - a.begin());
}

// Closes the longest open prefix, whose count is now final: marks it when it
// qualifies, and hands its count and first sighting on to the next shorter.
void closeLongest(PrefixWalk& walk) {
  const std::size_t length = walk.open.size();
  const OpenPrefix prefix = walk.open.back();
  walk.open.pop_back();
  if (length >= walk.store.shortestCandidate && static_cast<long long>(prefix.count) > walk.minMatches) {
    if (length == 1) {
      walk.qualifying.oneCharacter[static_cast<unsigned char>(walk.path[0])] = true;
    } else {
      walk.qualifying.marksAt[prefix.firstSighting].set(length);
    }
  }
  if (walk.open.empty()) return;
  OpenPrefix& shorter = walk.open.back();
  shorter.count += prefix.count;
  shorter.firstSighting = std::min(shorter.firstSighting, prefix.firstSighting);
}

// Moves the walk on to the name at `position`, which follows the previous
// one in byte order: the prefixes it does not share are closed, its own are
// opened.
void walkTo(PrefixWalk& walk, std::size_t position) {
  const std::string_view name = nameAt(walk.store, position);
  const std::size_t shared = std::min({commonPrefixLength(walk.path, name), name.size() - 1, walk.open.size()});
  while (walk.open.size() > shared) closeLongest(walk);
  walk.path = name;
  walk.open.resize(name.size() - 1);
  OpenPrefix& longest = walk.open.back();
  ++longest.count;
  longest.firstSighting = std::min(longest.firstSighting, position);
}

// Walks the names in byte order (`order`) and marks the qualifying
// candidates.
Qualifying findQualifying(const NameStore& store, int minMatches, const std::vector<std::size_t>& order) {
  Qualifying qualifying;
  qualifying.marksAt.resize(nameCount(store));
  PrefixWalk walk{store, minMatches, {}, {}, qualifying};
  walk.open.reserve(kLongestName);
  for (std::size_t position : order) walkTo(walk, position);
  while (!walk.open.empty()) closeLongest(walk);
  return qualifying;
}

// Sorts name positions into the order of the candidates they first carry:
// by their first two characters (every kept name has two), then by position.
void sortIntoGroupOrder(const NameStore& store, std::vector<std::size_t>& order) {
  const auto groupOf = [&store](std::size_t position) {
    const std::string_view name = nameAt(store, position);
    return static_cast<unsigned char>(name[0]) << 8 | static_cast<unsigned char>(name[1]);
  };
  std::sort(order.begin(), order.end(), [&groupOf](std::size_t a, std::size_t b) {
    const unsigned groupA = groupOf(a), groupB = groupOf(b);
    return groupA != groupB ? groupA < groupB : a < b;
  });
}

void writeCandidate(std::ostream& out, std::string_view text, Origin origin) {
  if (origin == Origin::Reversed) {
    const std::string backwards(text.rbegin(), text.rend());
    out.write(backwards.data(), static_cast<std::streamsize>(backwards.size()));
  } else {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  out.put('\n');
}

}  // namespace

int writeCandidates(const NameStore& store, int minMatches, std::ostream& out) {
  std::vector<std::size_t> order = positionsInByteOrder(store);
  const Qualifying qualifying = findQualifying(store, minMatches, order);
  sortIntoGroupOrder(store, order);

  int written = 0;
  int firstCharacter = -1;
  for (std::size_t position : order) {
    const std::string_view name = nameAt(store, position);
    // The one-character group of a character comes before its two-character
    // groups.
    const unsigned char first = static_cast<unsigned char>(name[0]);
    if (first != firstCharacter) {
      firstCharacter = first;
      if (qualifying.oneCharacter[first]) {
        writeCandidate(out, name.substr(0, 1), Origin::Normal);
        ++written;
      }
    }
    const LengthMarks& marks = qualifying.marksAt[position];
    if (marks.none()) continue;
    for (std::size_t length = 2; length < name.size(); ++length) {
      if (!marks.test(length)) continue;
      writeCandidate(out, name.substr(0, length), originOf(store, position));
      ++written;
    }
  }
  return written;
}

}  // namespace tagsift
