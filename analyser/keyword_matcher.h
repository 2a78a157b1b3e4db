// One pass over a line finds every keyword of a table it contains.
//
// The log reader asks of every line which entry of a keyword table comes
// first in table order (not in the line). Searching the line once per entry
// costs a hundred scans of the same bytes; this matcher reads the line once.
// At every position it hashes the next four bytes and looks the hash up in a
// small bitmap of the keywords' first four bytes; only on a hit does it
// compare the keywords that start with those bytes. Results are exactly
// those of searching entry by entry.
#pragma once

#include <array>
#include <cstring>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class KeywordMatcher {
 public:
  explicit KeywordMatcher(std::span<const std::string_view> table);

  // Index of the first entry (in table order) that `text` contains, or -1.
  int firstContained(std::string_view text) const;

  // Bit i is set when `text` contains entry i (tables of up to 64 entries).
  std::uint64_t containedMask(std::string_view text) const;

  // Calls on_match(i) for every occurrence in `text` of every entry i (an
  // entry found twice is reported twice).
  template <typename OnMatch>
  void forEachMatch(std::string_view text, OnMatch on_match) const;

 private:
  static constexpr int kHashBits = 12;
  static constexpr std::size_t kBuckets = std::size_t{1} << kHashBits;
  static constexpr std::size_t kPrefix = 4;  // bytes hashed at each position

  struct Entry {
    std::string_view keyword;
    int index;
    std::uint32_t head = 0;  // the first four bytes, compared before the rest
  };

  static std::uint32_t wordAt(const char* four_bytes) {
    std::uint32_t word;
    std::memcpy(&word, four_bytes, sizeof word);
    return word;
  }
  static std::uint32_t bucketOf(std::uint32_t word) { return (word * 2654435761u) >> (32 - kHashBits); }

  std::vector<std::vector<Entry>> buckets_;  // keywords by the hash of their first four bytes
  std::array<std::uint64_t, kBuckets / 64> used_{};  // buckets that hold a keyword
  std::vector<Entry> short_entries_;  // keywords shorter than four bytes, searched plainly
};

template <typename OnMatch>
void KeywordMatcher::forEachMatch(std::string_view text, OnMatch on_match) const {
  const char* data = text.data();
  const std::size_t size = text.size();
  for (std::size_t at = 0; at + kPrefix <= size; ++at) {
    const std::uint32_t word = wordAt(data + at);
    const std::uint32_t bucket = bucketOf(word);
    if ((used_[bucket / 64] >> (bucket % 64) & 1) == 0) continue;
    for (const Entry& e : buckets_[bucket]) {
      if (e.head == word && e.keyword.size() <= size - at &&
          std::memcmp(data + at + kPrefix, e.keyword.data() + kPrefix, e.keyword.size() - kPrefix) == 0) {
        on_match(e.index);
      }
    }
  }
  for (const Entry& e : short_entries_) {
    if (text.find(e.keyword) != std::string_view::npos) on_match(e.index);
  }
}
