// One pass over a line finds every keyword of a table it contains.
//
// The log reader asks of every line which entry of a keyword table comes
// first in table order (not in the line). Searching the line once per entry
// costs a hundred scans of the same bytes; this matcher reads the line once.
// It looks at every second position only: there it hashes the next four
// bytes and looks the hash up in a small bitmap of the four-byte grams that
// keywords hold at their start or one byte in. A keyword of five bytes or
// more starts at an even position or one before, so each of its occurrences
// is met exactly once. Only on a hit does it compare the keywords filed under
// that gram, eight bytes at a time before the rest. Results are exactly
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
  static constexpr int kHashBits = 13;
  static constexpr std::size_t kBuckets = std::size_t{1} << kHashBits;
  static constexpr std::size_t kGram = 4;     // bytes hashed at each position looked at
  static constexpr std::size_t kStride = 2;   // positions looked at: every second one
  static constexpr std::size_t kHashed = kGram + kStride - 1;  // shorter keywords are searched plainly

  struct Entry {
    std::string_view keyword;
    int index;
    std::uint32_t gram;        // the four bytes at `offset`, compared first
    std::uint32_t offset;      // where in the keyword the gram lies (0 .. kStride - 1)
    std::uint64_t head;        // the keyword's first eight bytes (fewer: zero-padded)
    std::uint64_t head_mask;   // the bytes of `head` that belong to the keyword
  };

  static std::uint32_t gramAt(const char* four_bytes) {
    std::uint32_t word;
    std::memcpy(&word, four_bytes, sizeof word);
    return word;
  }
  static std::uint64_t eightAt(const char* eight_bytes) {
    std::uint64_t word;
    std::memcpy(&word, eight_bytes, sizeof word);
    return word;
  }
  static std::uint32_t bucketOf(std::uint32_t word) { return (word * 2654435761u) >> (32 - kHashBits); }
  // True when the entry's keyword stands in `text` at `start` (within bounds).
  static bool standsAt(const Entry& e, const char* data, std::size_t size, std::size_t start) {
    const std::size_t n = e.keyword.size();
    if (n > size - start) return false;
    if (size - start >= 8) {
      if ((eightAt(data + start) & e.head_mask) != e.head) return false;
      return n <= 8 || std::memcmp(data + start + 8, e.keyword.data() + 8, n - 8) == 0;
    }
    return std::memcmp(data + start, e.keyword.data(), n) == 0;
  }

  std::vector<std::vector<Entry>> buckets_;  // keywords by the hash of their grams
  std::array<std::uint64_t, kBuckets / 64> used_{};  // buckets that hold a keyword
  std::vector<std::string_view> short_keywords_;  // keywords shorter than kHashed, searched plainly
  std::vector<int> short_indexes_;
};

template <typename OnMatch>
void KeywordMatcher::forEachMatch(std::string_view text, OnMatch on_match) const {
  const char* data = text.data();
  const std::size_t size = text.size();
  for (std::size_t at = 0; at + kGram <= size; at += kStride) {
    const std::uint32_t word = gramAt(data + at);
    const std::uint32_t bucket = bucketOf(word);
    if ((used_[bucket / 64] >> (bucket % 64) & 1) == 0) continue;
    for (const Entry& e : buckets_[bucket]) {
      if (e.gram == word && e.offset <= at && standsAt(e, data, size, at - e.offset)) on_match(e.index);
    }
  }
  for (std::size_t i = 0; i < short_keywords_.size(); ++i) {
    if (text.find(short_keywords_[i]) != std::string_view::npos) on_match(short_indexes_[i]);
  }
}
