#include "keyword_matcher.h"

#include <algorithm>
#include <climits>
#include <cstring>

KeywordMatcher::KeywordMatcher(std::span<const std::string_view> table) : buckets_(kBuckets) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    Entry entry{table[i], static_cast<int>(i)};
    if (entry.keyword.size() < kPrefix) {
      short_entries_.push_back(entry);
      continue;
    }
    std::uint32_t bucket = bucketOf(entry.keyword.data());
    buckets_[bucket].push_back(entry);
    used_[bucket / 64] |= std::uint64_t{1} << (bucket % 64);
  }
}

std::uint32_t KeywordMatcher::bucketOf(const char* four_bytes) {
  std::uint32_t word;
  std::memcpy(&word, four_bytes, sizeof word);
  return (word * 2654435761u) >> (32 - kHashBits);
}

// Calls on_match(index) for every keyword occurrence found; `on_match`
// returns false to stop early.
template <typename OnMatch>
void KeywordMatcher::scan(std::string_view text, OnMatch on_match) const {
  const char* data = text.data();
  const std::size_t size = text.size();
  for (std::size_t at = 0; at + kPrefix <= size; ++at) {
    std::uint32_t bucket = bucketOf(data + at);
    if ((used_[bucket / 64] >> (bucket % 64) & 1) == 0) continue;
    for (const Entry& e : buckets_[bucket]) {
      if (e.keyword.size() <= size - at && std::memcmp(data + at, e.keyword.data(), e.keyword.size()) == 0) {
        on_match(e.index);
      }
    }
  }
  for (const Entry& e : short_entries_) {
    if (text.find(e.keyword) != std::string_view::npos) on_match(e.index);
  }
}

int KeywordMatcher::firstContained(std::string_view text) const {
  int best = INT_MAX;
  scan(text, [&best](int index) { best = std::min(best, index); });
  return best == INT_MAX ? -1 : best;
}

std::uint64_t KeywordMatcher::containedMask(std::string_view text) const {
  std::uint64_t found = 0;
  scan(text, [&found](int index) {
    if (index < 64) found |= std::uint64_t{1} << index;
  });
  return found;
}

void KeywordMatcher::containedBits(std::string_view text, std::vector<std::uint64_t>& bits) const {
  std::fill(bits.begin(), bits.end(), 0);
  scan(text, [&bits](int index) { bits[static_cast<std::size_t>(index) / 64] |= std::uint64_t{1} << (index % 64); });
}
