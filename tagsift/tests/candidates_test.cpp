// Unit tests of the candidate count, the name reader and the chain filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "candidates.h"
#include "name_list.h"
#include "name_store.h"
#include "tag_filter.h"

using namespace tagsift;

namespace {

using Names = std::vector<std::string>;

// The candidates written for the two lists, in reading order.
std::string written(const Names& normal, const Names& reversed, int minLength, int minMatches) {
  NameStore store(minLength);
  for (const std::string& name : normal) addName(store, name);
  startReversedList(store);
  for (const std::string& name : reversed) addName(store, name);
  std::ostringstream out;
  const int count = writeCandidates(store, minMatches, out);
  const std::string text = out.str();
  EXPECT_EQ(count, static_cast<int>(std::count(text.begin(), text.end(), '\n')));
  return text;
}

// The counting rules spelled out one sighting at a time: every prefix of
// every name, in reading order, looked up among the texts seen so far.
std::string countedOneByOne(const Names& normal, const Names& reversed, int minLength, int minMatches) {
  struct Seen {
    int count = 0;
    std::size_t firstName = 0;
    bool reversed = false;
  };
  std::map<std::string, Seen> seen;
  Names all = normal;
  all.insert(all.end(), reversed.begin(), reversed.end());
  const std::size_t shortest = static_cast<std::size_t>(std::max(minLength, 1));
  for (std::size_t at = 0; at < all.size(); ++at) {
    for (std::size_t length = shortest; length < all[at].size(); ++length) {
      Seen& text = seen[all[at].substr(0, length)];
      if (text.count++ == 0) {
        text.firstName = at;
        text.reversed = at >= normal.size();
      }
    }
  }
  // Group (first two bytes, a missing one as 0), then first sighting.
  std::vector<std::tuple<unsigned, std::size_t, std::size_t, std::string>> qualifying;
  for (const auto& [text, s] : seen) {
    if (s.count <= minMatches) continue;
    const unsigned group = static_cast<unsigned char>(text[0]) << 8 |
                           (text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0u);
    qualifying.emplace_back(group, s.firstName, text.size(), s.reversed ? std::string(text.rbegin(), text.rend()) : text);
  }
  std::sort(qualifying.begin(), qualifying.end());
  std::string out;
  for (const auto& candidate : qualifying) out += std::get<3>(candidate) + "\n";
  return out;
}

std::string filtered(const std::string& candidates) {
  std::istringstream in(candidates);
  std::ostringstream out;
  const int count = filterCandidates(in, out);
  const std::string text = out.str();
  EXPECT_EQ(count, static_cast<int>(std::count(text.begin(), text.end(), '\n')));
  return text;
}

}  // namespace

TEST(Candidates, GroupsInByteOrderCandidatesInFirstSeenOrder) {
  // "zz-a" sorts before "zz-b" but is seen after it, and must be written after it.
  const Names normal = {"zz-bX", "zz-aX", "ZzX", "abX", "zz-bY"};
  EXPECT_EQ(written(normal, {}, 2, 0), "Zz\nab\nzz\nzz-\nzz-b\nzz-a\n");
  EXPECT_EQ(written(normal, {}, 2, 1), "zz\nzz-\nzz-b\n");  // only a count above the threshold

  // One text from both lists is one candidate with its first origin;
  // candidates first seen in the reversed list are turned back.
  const Names reversed = {"abY", "fedcbaQ", "fedcbaR"};
  EXPECT_EQ(written(normal, reversed, 2, 1), "ab\nef\ndef\ncdef\nbcdef\nabcdef\nzz\nzz-\nzz-b\n");
}

TEST(Candidates, LengthsAndCounts) {
  // A name is no sighting of itself; a name that comes twice counts twice.
  EXPECT_EQ(written({"abc", "abcd", "abcd", "abce"}, {}, 3, 2), "abc\n");
  EXPECT_EQ(written({"abc", "abcd", "abcd", "abce"}, {}, 3, 3), "");
  EXPECT_EQ(written({"abcde", "xyz"}, {}, 3, 0), "abc\nabcd\n");  // no prefix as long as the name
  EXPECT_EQ(written({"pq"}, {}, -5, 0), "p\n");                   // never an empty candidate
  // A one-character candidate heads the groups of its character.
  EXPECT_EQ(written({"ab1", "ab2", "ba1", "ba2"}, {}, 1, 1), "a\nab\nb\nba\n");
  EXPECT_EQ(written({}, {"ba1", "ab1", "ba2", "ab2"}, 1, 1), "a\nba\nb\nab\n");
}

TEST(Candidates, ListsOutOfByteOrderCountLikeSortedOnes) {
  // A database's case-insensitive order interleaves "[C" and "[c" names.
  EXPECT_EQ(written({"[CLAN]a", "[clan]b", "[CLAN]c", "[clan]d", "[CLAN]e", "[CLAN]f"}, {}, 1, 2),
            "[\n[C\n[CL\n[CLA\n[CLAN\n[CLAN]\n");

  // Random lists over small alphabets, sorted or not, against the sighting by
  // sighting count.
  std::mt19937 random(2024);
  const std::string alphabets[] = {"ab", "aAb[", "xy\r\xff"};
  for (int round = 0; round < 300; ++round) {
    const std::string& alphabet = alphabets[round % 3];
    Names lists[2];
    for (Names& list : lists) {
      list.resize(random() % 40);
      for (std::string& name : list) {
        name.resize(random() % 9);
        for (char& c : name) c = alphabet[random() % alphabet.size()];
      }
      if (round % 2 == 0) std::sort(list.begin(), list.end());
    }
    const int minLength = static_cast<int>(random() % 5) - 1;
    const int minMatches = static_cast<int>(random() % 5) - 1;
    ASSERT_EQ(written(lists[0], lists[1], minLength, minMatches),
              countedOneByOne(lists[0], lists[1], minLength, minMatches))
        << "round " << round;
  }
}

TEST(NameReader, LineEndsPiecesAndZeroBytes) {
  std::string inner = "ab\rcdefgh", near = "abcdef\rgh\n";
  stripLineEnd(inner);
  stripLineEnd(near);
  EXPECT_EQ(inner, "ab\rcdefgh");  // only a break among the last five characters ends the line
  EXPECT_EQ(near, "abcdef");

  std::FILE* file = std::tmpfile();
  const std::string content = std::string(300, 'x') + "\n\nab" + std::string(1, '\0') + "cd\r\nlast";
  std::fwrite(content.data(), 1, content.size(), file);
  std::rewind(file);
  std::vector<std::string> names;
  for (std::string name; readName(file, name);) names.push_back(name);
  std::fclose(file);
  EXPECT_EQ(names, (std::vector<std::string>{std::string(254, 'x'), std::string(46, 'x'), "", "ab", "last"}));
}

TEST(ChainFilter, ComparesEachCandidateWithTheNextLineOnly) {
  EXPECT_EQ(filtered("[kest\n[kest]\n[kest]_\nzzzzzz\n"), "[kest]_\nzzzzzz\n");
  EXPECT_EQ(filtered("pro-q3\n.pro-q3\n"), ".pro-q3\n");  // suffix tags grow at the front
  EXPECT_EQ(filtered("abcdef\nzzzzzz\nabcdefg\n"), "abcdef\nzzzzzz\nabcdefg\n");
  EXPECT_EQ(filtered("abcdefg\nabcdef\n"), "abcdefg\nabcdef\n");
  EXPECT_EQ(filtered(""), "");
}
