#include "candidate_index.h"

#include <algorithm>

namespace tagsift {

GroupKey groupKey(std::string_view text) {
  GroupKey key{0, 0};
  for (std::size_t i = 0; i < key.size() && i < text.size(); ++i) key[i] = static_cast<unsigned char>(text[i]);
  return key;
}

namespace {

// Index of the group with `key`, or of the place where it belongs. Normally a
// forward walk from the search position. When the key lies below the group
// at the search position (a list out of byte order, as a database's
// case-insensitive sorting gives, or a one-character prefix after a longer
// one) the walk would stop early and open a second group for a key that
// already has one, splitting that text's count; the place is then looked up
// among the groups before the search position instead.
std::size_t findGroup(const CandidateIndex& index, const GroupKey& key) {
  const auto& groups = index.groups;
  std::size_t at = std::min(index.position, groups.size());
  if (at < groups.size() && key < groups[at].key) {
    auto below = std::lower_bound(groups.begin(), groups.begin() + static_cast<std::ptrdiff_t>(at), key,
                                  [](const CandidateGroup& group, const GroupKey& k) { return group.key < k; });
    return static_cast<std::size_t>(below - groups.begin());
  }
  while (at < groups.size() && groups[at].key < key) ++at;
  return at;
}

void appendCandidate(CandidateGroup& group, std::string_view text, Origin origin) {
  group.at.emplace(std::string(text), group.candidates.size());
  group.candidates.push_back(Candidate{std::string(text), 1, origin});
}

}  // namespace

void addPrefix(CandidateIndex& index, std::string_view prefix, Origin origin) {
  if (prefix.size() > kMaxCandidateLength) prefix = prefix.substr(0, kMaxCandidateLength);
  const GroupKey key = groupKey(prefix);
  const std::size_t at = findGroup(index, key);
  index.position = at;
  if (at < index.groups.size() && index.groups[at].key == key) {
    CandidateGroup& group = index.groups[at];
    auto found = group.at.find(std::string(prefix));
    if (found != group.at.end()) {
      ++group.candidates[found->second].count;
    } else {
      appendCandidate(group, prefix, origin);
    }
    return;
  }
  CandidateGroup created;
  created.key = key;
  appendCandidate(created, prefix, origin);
  index.groups.insert(index.groups.begin() + static_cast<std::ptrdiff_t>(at), std::move(created));
}

void rewindSearch(CandidateIndex& index) { index.position = 0; }

int writeCandidates(const CandidateIndex& index, int minMatches, std::ostream& out) {
  int written = 0;
  for (const CandidateGroup& group : index.groups) {
    for (const Candidate& candidate : group.candidates) {
      if (candidate.count <= minMatches) continue;
      if (candidate.origin == Origin::Reversed) {
        out << std::string(candidate.text.rbegin(), candidate.text.rend()) << '\n';
      } else {
        out << candidate.text << '\n';
      }
      ++written;
    }
  }
  return written;
}

}  // namespace tagsift
