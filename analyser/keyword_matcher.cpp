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
    entry.head = wordAt(entry.keyword.data());
    std::uint32_t bucket = bucketOf(entry.head);
    buckets_[bucket].push_back(entry);
    used_[bucket / 64] |= std::uint64_t{1} << (bucket % 64);
  }
}

int KeywordMatcher::firstContained(std::string_view text) const {
  int best = INT_MAX;
  forEachMatch(text, [&best](int index) { best = std::min(best, index); });
  return best == INT_MAX ? -1 : best;
}

std::uint64_t KeywordMatcher::containedMask(std::string_view text) const {
  std::uint64_t found = 0;
  forEachMatch(text, [&found](int index) {
    if (index < 64) found |= std::uint64_t{1} << index;
  });
  return found;
}
