#include "name_store.h"

#include <algorithm>
#include <limits>

namespace tagsift {

NameStore::NameStore(int minLength)
    : shortestCandidate(static_cast<std::size_t>(std::max(minLength, 1))),
      reversedFrom(std::numeric_limits<std::size_t>::max()) {}

void addName(NameStore& store, std::string_view name) {
  name = name.substr(0, kLongestName);
  if (name.size() <= store.shortestCandidate) return;
  store.chars.append(name);
  store.ends.push_back(store.chars.size());
}

void startReversedList(NameStore& store) { store.reversedFrom = store.ends.size(); }

std::size_t nameCount(const NameStore& store) { return store.ends.size(); }

std::string_view nameAt(const NameStore& store, std::size_t at) {
  const std::size_t begin = at == 0 ? 0 : store.ends[at - 1];
  return std::string_view(store.chars).substr(begin, store.ends[at] - begin);
}

Origin originOf(const NameStore& store, std::size_t at) {
  return at < store.reversedFrom ? Origin::Normal : Origin::Reversed;
}

}  // namespace tagsift
