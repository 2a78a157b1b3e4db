// A line read once against every keyword table the reader asks about.
//
// The pipeline asks a dozen tables about the same line (and about its
// colour-free copy): is it valid, does it introduce players, whose name is
// it, which weapon, which flag message, does it end the game. A
// KeywordIndex holds every keyword of those tables in one union; a LineScan
// reads a line once against the union, and each table's answer is then read
// off the scan's bits. Results are exactly those of searching the table
// entry by entry (keywords.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "keyword_matcher.h"
#include "keywords.h"

class KeywordIndex {
 public:
  // Room for this many distinct keywords over all tables.
  static constexpr std::size_t kMaxKeywords = 512;
  using Bits = std::array<std::uint64_t, kMaxKeywords / 64>;

  // Indexes the tables (every table a scan will be asked about), and those
  // of them in kColourFreeTables apart, for colour-free copies.
  explicit KeywordIndex(std::span<const KeywordTable> tables);
  KeywordIndex(const KeywordIndex&) = delete;
  KeywordIndex& operator=(const KeywordIndex&) = delete;

  // The union bits of `text`: bit k is set when it contains keyword k.
  Bits scan(std::string_view text) const;

  struct Table {
    const std::string_view* data;
    std::size_t size;
    std::vector<int> position;   // keyword id -> first table index holding it, or -1
    std::vector<int> next_same;  // table index -> next index holding the same keyword, or -1
    Bits members{};              // keyword ids of the table's entries
  };
  // The indexed table, or null when `table` was not indexed.
  const Table* find(KeywordTable table) const;

  // The index that colour-free copies are scanned with: fewer keywords, so
  // fewer places of a line that must be compared.
  const KeywordIndex& colourFree() const { return colour_free_ ? *colour_free_ : *this; }

 private:
  struct Only {};
  KeywordIndex(std::span<const KeywordTable> tables, Only);
  int idOf(std::string_view keyword);
  static std::size_t slotOf(const std::string_view* data) {
    return (reinterpret_cast<std::uintptr_t>(data) >> 4) % kSlots;
  }

  // Every line asks a dozen tables: they are found by their address in a
  // small open-addressed table instead of a walk over all of them.
  static constexpr std::size_t kSlots = 64;
  std::vector<std::string_view> keywords_;
  std::vector<Table> tables_;
  std::array<int, kSlots> slots_;  // index into tables_, or -1
  KeywordMatcher matcher_;
  std::unique_ptr<const KeywordIndex> colour_free_;  // null: this one
};

// The index of every table of the console reader (keywords.h): the one
// kestrostats-c reads its lines with.
const KeywordIndex& consoleKeywordIndex();

// Which keywords a text holds, found in one pass; asked as often as needed.
// The scan keeps a view of the text, which must outlive it.
class LineScan {
 public:
  LineScan(const KeywordIndex& index, std::string_view text) : index_(&index), text_(text), bits_(index.scan(text)) {
    for (std::size_t w = 0; w < bits_.size(); ++w) words_ |= static_cast<std::uint8_t>((bits_[w] != 0 ? 1u : 0u) << w);
  }
  // The scan of `colour_free`, the colour-free copy of the text of `line`,
  // with the index's colour-free tables; a line without colour codes is its
  // own copy, and its keywords are taken over instead of found again.
  static LineScan colourFreeCopy(const LineScan& line, std::string_view colour_free) {
    if (colour_free != line.text_) return LineScan(line.index_->colourFree(), colour_free);
    LineScan same = line;
    same.text_ = colour_free;
    return same;
  }

  std::string_view text() const { return text_; }
  const KeywordIndex& index() const { return *index_; }
  // As the functions of keywords.h; a table the index does not hold is
  // searched directly.
  int firstContained(KeywordTable table) const;
  std::uint64_t containedMask(KeywordTable table) const;
  bool containsAny(KeywordTable table) const { return firstContained(table) >= 0; }
  bool contains(std::string_view word) const { return text_.find(word) != std::string_view::npos; }

 private:
  template <typename Use>
  void forEachKeywordFound(const KeywordIndex::Table& table, Use use) const;

  const KeywordIndex* index_;
  std::string_view text_;
  KeywordIndex::Bits bits_;
  std::uint8_t words_ = 0;  // bit w: bits_[w] holds a keyword (a line holds few)
};
static_assert(KeywordIndex::Bits{}.size() <= 8, "LineScan::words_ has a bit per word of the scan");
