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

  // Sets bit i of `bits` (64 entries a word, sized by the caller) for every
  // entry i that `text` contains; clears the others.
  void containedBits(std::string_view text, std::vector<std::uint64_t>& bits) const;

 private:
  static constexpr int kHashBits = 12;
  static constexpr std::size_t kBuckets = std::size_t{1} << kHashBits;
  static constexpr std::size_t kPrefix = 4;  // bytes hashed at each position

  struct Entry {
    std::string_view keyword;
    int index;
  };

  static std::uint32_t bucketOf(const char* four_bytes);
  template <typename OnMatch>
  void scan(std::string_view text, OnMatch on_match) const;

  std::vector<std::vector<Entry>> buckets_;  // keywords by the hash of their first four bytes
  std::array<std::uint64_t, kBuckets / 64> used_{};  // buckets that hold a keyword
  std::vector<Entry> short_entries_;  // keywords shorter than four bytes, searched plainly
};
