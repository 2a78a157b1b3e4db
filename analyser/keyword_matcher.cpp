#include "keyword_matcher.h"

#include <algorithm>
#include <climits>
#include <cstring>

KeywordMatcher::KeywordMatcher(std::span<const std::string_view> table) : buckets_(kBuckets) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const std::string_view keyword = table[i];
    if (keyword.size() < kHashed) {
      short_keywords_.push_back(keyword);
      short_indexes_.push_back(static_cast<int>(i));
      continue;
    }
    Entry entry{keyword, static_cast<int>(i), 0, 0, 0, 0};
    const std::size_t head_bytes = std::min<std::size_t>(keyword.size(), 8);
    std::memcpy(&entry.head, keyword.data(), head_bytes);
    std::memset(&entry.head_mask, 0xFF, head_bytes);
    for (std::uint32_t offset = 0; offset < kStride; ++offset) {
      entry.offset = offset;
      entry.gram = gramAt(keyword.data() + offset);
      const std::uint32_t bucket = bucketOf(entry.gram);
      buckets_[bucket].push_back(entry);
      used_[bucket / 64] |= std::uint64_t{1} << (bucket % 64);
    }
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
