#include "keywords.h"

#include <array>
#include <bit>
#include <memory>
#include <string>
#include <vector>

#include "keyword_matcher.h"

// Every table query of a line is answered from one pass over that line.
//
// The pipeline asks a dozen tables about the same line (and about its
// colour-free copy): is it valid, does it introduce players, whose name is
// it, which weapon, which flag message, does it end the game. All keywords
// of all tables asked so far form one union; a line is read once against
// the union, and each table's answer is then read off the union's bits. The
// last few lines read are remembered, so the raw and the colour-free line
// can alternate without being read again.
namespace {

struct TableInUnion {
  const std::string_view* data;
  std::size_t size;
  std::vector<int> ids;                // union id of every entry, in table order
  std::vector<int> position;           // union id -> first table index holding it, or -1
  std::vector<int> next_same;          // table index -> next index holding the same keyword, or -1
  std::vector<std::uint64_t> members;  // union ids of the table's entries
};

struct RememberedLine {
  std::string text;
  std::vector<std::uint64_t> bits;
  bool valid = false;
};

class KeywordUnion {
 public:
  const TableInUnion& table(KeywordTable t) {
    for (const TableInUnion& known : tables_) {
      if (known.data == t.data() && known.size == t.size()) return known;
    }
    addTable(t);
    return tables_.back();
  }

  // The union bits of `line`, read once per distinct recent line.
  const std::vector<std::uint64_t>& bitsOf(std::string_view line) {
    for (const RememberedLine& r : remembered_) {
      if (r.valid && r.text == line) return r.bits;
    }
    RememberedLine& r = remembered_[next_slot_];
    next_slot_ = (next_slot_ + 1) % remembered_.size();
    r.text.assign(line);
    r.bits.resize((keywords_.size() + 63) / 64);
    matcher_->containedBits(line, r.bits);
    r.valid = true;
    return r.bits;
  }

 private:
  void addTable(KeywordTable t) {
    TableInUnion added{t.data(), t.size(), {}, {}, {}, {}};
    for (std::string_view keyword : t) added.ids.push_back(idOf(keyword));
    tables_.push_back(std::move(added));
    // The union grew: every table's id maps and the remembered lines are redone.
    std::size_t words = (keywords_.size() + 63) / 64;
    for (TableInUnion& table : tables_) {
      table.position.assign(keywords_.size(), -1);
      table.next_same.assign(table.ids.size(), -1);
      table.members.assign(words, 0);
      for (std::size_t i = table.ids.size(); i-- > 0;) {
        int id = table.ids[i];
        table.next_same[i] = table.position[id];
        table.position[id] = static_cast<int>(i);
        table.members[static_cast<std::size_t>(id) / 64] |= std::uint64_t{1} << (id % 64);
      }
    }
    matcher_ = std::make_unique<KeywordMatcher>(keywords_);
    for (RememberedLine& r : remembered_) r.valid = false;
  }

  int idOf(std::string_view keyword) {
    for (std::size_t i = 0; i < keywords_.size(); ++i) {
      if (keywords_[i] == keyword) return static_cast<int>(i);
    }
    keywords_.push_back(keyword);
    return static_cast<int>(keywords_.size()) - 1;
  }

  std::vector<std::string_view> keywords_;
  std::vector<TableInUnion> tables_;
  std::unique_ptr<KeywordMatcher> matcher_;
  std::array<RememberedLine, 4> remembered_;
  std::size_t next_slot_ = 0;
};

KeywordUnion& keywordUnion() {
  static KeywordUnion instance;
  return instance;
}

// Calls use(table index) for every entry of the table found in the line.
// A line holds few keywords, so this walks the few bits the line and the
// table share rather than the whole table.
template <typename Use>
void forEachEntryFound(KeywordTable table, std::string_view line, Use use) {
  KeywordUnion& u = keywordUnion();
  const TableInUnion& t = u.table(table);
  const std::vector<std::uint64_t>& bits = u.bitsOf(line);
  for (std::size_t w = 0; w < bits.size(); ++w) {
    std::uint64_t shared = bits[w] & t.members[w];
    while (shared != 0) {
      int id = static_cast<int>(w * 64) + std::countr_zero(shared);
      shared &= shared - 1;
      // Every table index holding this keyword counts (a table may list one twice).
      for (int i = t.position[id]; i >= 0; i = t.next_same[i]) use(i);
    }
  }
}

}  // namespace

int firstContained(KeywordTable table, std::string_view line) {
  int first = -1;
  forEachEntryFound(table, line, [&first](int i) {
    if (first < 0 || i < first) first = i;
  });
  return first;
}

std::uint64_t containedMask(KeywordTable table, std::string_view line) {
  std::uint64_t mask = 0;
  forEachEntryFound(table, line, [&mask](int i) {
    if (i < 64) mask |= std::uint64_t{1} << i;
  });
  return mask;
}
