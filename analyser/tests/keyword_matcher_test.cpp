// The one-pass keyword search must give exactly the answers of searching the
// line entry by entry, whatever the line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "keyword_index.h"
#include "keyword_matcher.h"
#include "keywords.h"
#include "players.h"
#include "text.h"

namespace {

int naiveFirst(KeywordTable table, std::string_view line) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (line.find(table[i]) != std::string_view::npos) return static_cast<int>(i);
  }
  return -1;
}

// Lines made of pieces of keywords, whole keywords and noise, so that
// near misses, overlaps and keywords at either end all occur.
std::string randomLine(std::mt19937& random, KeywordTable table) {
  std::string line;
  std::uniform_int_distribution<int> pieces(0, 6);
  std::uniform_int_distribution<std::size_t> pick(0, table.size() - 1);
  for (int n = pieces(random); n > 0; --n) {
    std::string_view keyword = table[pick(random)];
    std::uniform_int_distribution<std::size_t> cut(0, keyword.size());
    std::size_t from = cut(random);
    std::size_t to = cut(random);
    if (from > to) std::swap(from, to);
    line += random() % 3 == 0 ? std::string(keyword) : std::string(keyword.substr(from, to - from));
    if (random() % 2 == 0) line += static_cast<char>('a' + random() % 26);
  }
  return line;
}

}  // namespace

TEST(KeywordSearch, AgreesWithSearchingEntryByEntry) {
  std::mt19937 random(7);
  for (KeywordTable table : {KeywordTable(valid_strings), KeywordTable(addPlayer_strings), KeywordTable(self_strings),
                             KeywordTable(dual_strings), KeywordTable(reset_strings), KeywordTable(server_keyword)}) {
    KeywordMatcher matcher(table);
    for (int i = 0; i < 3000; ++i) {
      std::string line = randomLine(random, table);
      int expected = naiveFirst(table, line);
      ASSERT_EQ(matcher.firstContained(line), expected) << line;
      ASSERT_EQ(firstContained(table, line), expected) << line;
    }
  }
}

// The reader's index answers every table it holds, and a part of one that it
// does not hold, as the direct search does; lines mix pieces of all tables,
// so keywords of other tables stand beside and across each other.
TEST(KeywordSearch, LineScanAgreesWithTheDirectSearchForEveryReaderTable) {
  std::vector<std::string_view> every;
  for (KeywordTable table : kReaderTables) every.insert(every.end(), table.begin(), table.end());
  std::vector<KeywordTable> asked(std::begin(kReaderTables), std::end(kReaderTables));
  asked.push_back(KeywordTable(valid_strings).subspan(3, 20));
  std::mt19937 random(13);
  for (int i = 0; i < 4000; ++i) {
    std::string line = randomLine(random, every);
    // Odd and even starts, and keywords cut at either end of the text.
    if (i % 2 == 1) line.insert(0, 1, '^');
    const LineScan scan(consoleKeywordIndex(), line);
    for (KeywordTable table : asked) {
      ASSERT_EQ(scan.firstContained(table), firstContained(table, line)) << line;
      ASSERT_EQ(scan.containedMask(table), containedMask(table, line)) << line;
    }
  }
}

// A colour-free copy is scanned for fewer tables, or takes over the line's
// keywords when the line has no codes; every table asked of it must still
// get the direct search's answer.
TEST(KeywordSearch, ColourFreeCopiesAnswerEveryTableAsTheDirectSearch) {
  std::vector<std::string_view> every;
  for (KeywordTable table : kReaderTables) every.insert(every.end(), table.begin(), table.end());
  const std::string_view codes[] = {"^7", "^1", "^^", "^", "^^7"};
  std::mt19937 random(17);
  for (int i = 0; i < 3000; ++i) {
    std::string line = randomLine(random, every);
    for (int n = i % 3 == 0 ? 0 : static_cast<int>(random() % 4); n > 0; --n) {
      line.insert(random() % (line.size() + 1), codes[random() % std::size(codes)]);
    }
    FixedText colour_free;
    stripColorCodes(line, colour_free);
    const LineScan scan(consoleKeywordIndex(), line);
    const LineScan copy = LineScan::colourFreeCopy(scan, colour_free.view());
    ASSERT_EQ(copy.text(), colour_free.view());
    for (KeywordTable table : kReaderTables) {
      ASSERT_EQ(copy.firstContained(table), firstContained(table, colour_free.view())) << line;
      ASSERT_EQ(copy.containedMask(table), containedMask(table, colour_free.view())) << line;
    }
  }
}

TEST(KeywordSearch, ShortKeywordsTableOrderAndMasks) {
  constexpr std::string_view table[] = {"rocket", ":", "ab", "rock", "at the end"};
  KeywordMatcher matcher(table);
  EXPECT_EQ(matcher.firstContained("a rock and a rocket"), 0);  // table order, not line order
  EXPECT_EQ(matcher.firstContained("x: y"), 1);
  EXPECT_EQ(matcher.firstContained("grab"), 2);
  EXPECT_EQ(matcher.firstContained("stops at the end"), 4);
  EXPECT_EQ(matcher.firstContained("at the en"), -1);
  EXPECT_EQ(matcher.firstContained(""), -1);
  EXPECT_EQ(matcher.containedMask("a rocket: grab"), 0b01111u);
  // Keywords of five bytes and more are looked for at every second position
  // only; each must still be found wherever it starts and however it ends.
  constexpr std::string_view longer[] = {"abcde", "bcdefghij", "cdefghi", "zzzzz"};
  KeywordMatcher stepping(longer);
  for (std::size_t pad = 0; pad < 4; ++pad) {
    const std::string before(pad, 'x');
    EXPECT_EQ(stepping.containedMask(before + "abcde"), 0b0001u) << pad;
    EXPECT_EQ(stepping.containedMask(before + "bcdefghij"), 0b0110u) << pad;
    EXPECT_EQ(stepping.containedMask(before + "abcdefghij-"), 0b0111u) << pad;
    EXPECT_EQ(stepping.containedMask(before + "abcd"), 0u) << pad;
    EXPECT_EQ(stepping.containedMask(before + "zzzzzz"), 0b1000u) << pad;
  }
}

TEST(KeywordSearch, RepeatedEntriesAreAllReported) {
  // addPlayer_strings lists two flag messages twice; both indices count.
  std::uint64_t mask = containedMask(ctf_blue_strings, "x^7 fragged RED's flag carrier!");
  EXPECT_NE(mask, 0u);
  EXPECT_EQ(firstContained(addPlayer_strings, "x^7 fragged BLUE's flag carrier!"), 38);
}
