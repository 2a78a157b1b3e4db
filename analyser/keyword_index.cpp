#include "keyword_index.h"

#include <bit>
#include <stdexcept>

namespace {

std::vector<std::string_view> allKeywords(std::span<const KeywordTable> tables) {
  std::vector<std::string_view> keywords;
  for (KeywordTable table : tables) {
    for (std::string_view keyword : table) {
      bool known = false;
      for (std::string_view k : keywords) known = known || k == keyword;
      if (!known) keywords.push_back(keyword);
    }
  }
  if (keywords.size() > KeywordIndex::kMaxKeywords) throw std::length_error("too many keywords for one index");
  return keywords;
}

}  // namespace

namespace {

std::vector<KeywordTable> colourFreeTablesOf(std::span<const KeywordTable> tables) {
  std::vector<KeywordTable> kept;
  for (KeywordTable table : tables) {
    for (KeywordTable asked : kColourFreeTables) {
      if (table.data() == asked.data() && table.size() == asked.size()) {
        kept.push_back(table);
        break;
      }
    }
  }
  return kept;
}

}  // namespace

KeywordIndex::KeywordIndex(std::span<const KeywordTable> tables) : KeywordIndex(tables, Only{}) {
  const std::vector<KeywordTable> colour_free = colourFreeTablesOf(tables);
  if (colour_free.size() < tables.size()) colour_free_.reset(new KeywordIndex(colour_free, Only{}));
}

KeywordIndex::KeywordIndex(std::span<const KeywordTable> tables, Only)
    : keywords_(allKeywords(tables)), matcher_(keywords_) {
  slots_.fill(-1);
  if (tables.size() > kSlots / 2) throw std::length_error("too many tables for one index");
  for (KeywordTable t : tables) {
    Table table{t.data(), t.size(), std::vector<int>(keywords_.size(), -1), std::vector<int>(t.size(), -1), {}};
    for (std::size_t i = t.size(); i-- > 0;) {
      int id = idOf(t[i]);
      table.next_same[i] = table.position[id];
      table.position[id] = static_cast<int>(i);
      table.members[static_cast<std::size_t>(id) / 64] |= std::uint64_t{1} << (id % 64);
    }
    // A table listed twice keeps its first slot, as the walk it replaces found it first.
    if (find(t) == nullptr) {
      std::size_t slot = slotOf(t.data());
      while (slots_[slot] >= 0) slot = (slot + 1) % kSlots;
      slots_[slot] = static_cast<int>(tables_.size());
    }
    tables_.push_back(std::move(table));
  }
}

int KeywordIndex::idOf(std::string_view keyword) {
  for (std::size_t i = 0; i < keywords_.size(); ++i) {
    if (keywords_[i] == keyword) return static_cast<int>(i);
  }
  return -1;  // not reached: every table keyword is in the union
}

KeywordIndex::Bits KeywordIndex::scan(std::string_view text) const {
  Bits bits{};
  matcher_.forEachMatch(text, [&bits](int id) { bits[static_cast<std::size_t>(id) / 64] |= std::uint64_t{1} << (id % 64); });
  return bits;
}

const KeywordIndex& consoleKeywordIndex() {
  static const KeywordIndex index(kReaderTables);
  return index;
}

const KeywordIndex::Table* KeywordIndex::find(KeywordTable table) const {
  for (std::size_t slot = slotOf(table.data());; slot = (slot + 1) % kSlots) {
    const int t = slots_[slot];
    if (t < 0) return nullptr;
    const Table& known = tables_[static_cast<std::size_t>(t)];
    if (known.data == table.data() && known.size == table.size()) return &known;
  }
}

// Calls use(keyword id) for every keyword of the table found in the text.
// A line holds few keywords, so this walks the few bits the line and the
// table share rather than the whole table.
template <typename Use>
void LineScan::forEachKeywordFound(const KeywordIndex::Table& table, Use use) const {
  for (unsigned words = words_; words != 0; words &= words - 1) {
    const auto w = static_cast<std::size_t>(std::countr_zero(words));
    std::uint64_t shared = bits_[w] & table.members[w];
    while (shared != 0) {
      int id = static_cast<int>(w * 64) + std::countr_zero(shared);
      shared &= shared - 1;
      use(id);
    }
  }
}

int LineScan::firstContained(KeywordTable table) const {
  const KeywordIndex::Table* indexed = index_->find(table);
  if (indexed == nullptr) return ::firstContained(table, text_);
  // A keyword's first table index is the one that counts here.
  int first = -1;
  forEachKeywordFound(*indexed, [&first, indexed](int id) {
    const int i = indexed->position[id];
    if (first < 0 || i < first) first = i;
  });
  return first;
}

std::uint64_t LineScan::containedMask(KeywordTable table) const {
  const KeywordIndex::Table* indexed = index_->find(table);
  if (indexed == nullptr) return ::containedMask(table, text_);
  std::uint64_t mask = 0;
  forEachKeywordFound(*indexed, [&mask, indexed](int id) {
    // Every table index holding this keyword counts (a table may list one twice).
    for (int i = indexed->position[id]; i >= 0; i = indexed->next_same[i]) {
      if (i < 64) mask |= std::uint64_t{1} << i;
    }
  });
  return mask;
}
