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

KeywordIndex::KeywordIndex(std::span<const KeywordTable> tables)
    : keywords_(allKeywords(tables)), matcher_(keywords_) {
  for (KeywordTable t : tables) {
    Table table{t.data(), t.size(), std::vector<int>(keywords_.size(), -1), std::vector<int>(t.size(), -1), {}};
    for (std::size_t i = t.size(); i-- > 0;) {
      int id = idOf(t[i]);
      table.next_same[i] = table.position[id];
      table.position[id] = static_cast<int>(i);
      table.members[static_cast<std::size_t>(id) / 64] |= std::uint64_t{1} << (id % 64);
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
  for (const Table& known : tables_) {
    if (known.data == table.data() && known.size == table.size()) return &known;
  }
  return nullptr;
}

// Calls use(table index) for every entry of the table found in the text.
// A line holds few keywords, so this walks the few bits the line and the
// table share rather than the whole table.
template <typename Use>
void LineScan::forEachEntryFound(const KeywordIndex::Table& table, Use use) const {
  for (std::size_t w = 0; w < bits_.size(); ++w) {
    std::uint64_t shared = bits_[w] & table.members[w];
    while (shared != 0) {
      int id = static_cast<int>(w * 64) + std::countr_zero(shared);
      shared &= shared - 1;
      // Every table index holding this keyword counts (a table may list one twice).
      for (int i = table.position[id]; i >= 0; i = table.next_same[i]) use(i);
    }
  }
}

int LineScan::firstContained(KeywordTable table) const {
  const KeywordIndex::Table* indexed = index_->find(table);
  if (indexed == nullptr) return ::firstContained(table, text_);
  int first = -1;
  forEachEntryFound(*indexed, [&first](int i) {
    if (first < 0 || i < first) first = i;
  });
  return first;
}

std::uint64_t LineScan::containedMask(KeywordTable table) const {
  const KeywordIndex::Table* indexed = index_->find(table);
  if (indexed == nullptr) return ::containedMask(table, text_);
  std::uint64_t mask = 0;
  forEachEntryFound(*indexed, [&mask](int i) {
    if (i < 64) mask |= std::uint64_t{1} << i;
  });
  return mask;
}
