// Unit tests of the candidate index, the name reader and the chain filter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "candidate_index.h"
#include "name_list.h"
#include "tag_filter.h"

using namespace tagsift;

namespace {

std::string written(const CandidateIndex& index, int minMatches) {
  std::ostringstream out;
  writeCandidates(index, minMatches, out);
  return out.str();
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

TEST(CandidateIndex, OrderCountsAndOrigins) {
  CandidateIndex index;
  for (const char* text : {"zz-b", "zz-a", "Zz", "ab", "zz-b"}) addPrefix(index, text, Origin::Normal);
  // Groups in byte order (capitals first), candidates in first-seen order.
  EXPECT_EQ(written(index, 0), "Zz\nab\nzz-b\nzz-a\n");
  EXPECT_EQ(written(index, 1), "zz-b\n");  // only a count above the threshold

  // One text from both lists is one candidate with its first origin.
  rewindSearch(index);
  addPrefix(index, "ab", Origin::Reversed);
  addPrefix(index, "fedcba", Origin::Reversed);
  addPrefix(index, "fedcba", Origin::Reversed);
  EXPECT_EQ(written(index, 1), "ab\nabcdef\nzz-b\n");
}

TEST(CandidateIndex, KeysBehindTheSearchPositionShareTheirGroup) {
  // A database's case-insensitive order interleaves "[C" and "[c" names, and
  // a one-character prefix follows longer ones: each steps back in key order.
  CandidateIndex index;
  for (const char* text : {"[CLAN]", "[clan]", "[CLAN]", "[clan]", "[CLAN]", "[", "[CLAN]"}) {
    addPrefix(index, text, Origin::Normal);
  }
  EXPECT_EQ(index.groups.size(), 3u);
  EXPECT_EQ(written(index, 2), "[CLAN]\n");
}

TEST(NameReader, LineEndsPiecesZeroBytesAndPrefixLengths) {
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

  CandidateIndex index;
  addNamePrefixes(index, "abcde", 3, Origin::Normal);
  addNamePrefixes(index, "xyz", 3, Origin::Normal);  // no prefix as long as the name
  addNamePrefixes(index, "pq", -5, Origin::Normal);  // never an empty candidate
  EXPECT_EQ(written(index, 0), "abc\nabcd\np\n");
}

TEST(ChainFilter, ComparesEachCandidateWithTheNextLineOnly) {
  EXPECT_EQ(filtered("[kest\n[kest]\n[kest]_\nzzzzzz\n"), "[kest]_\nzzzzzz\n");
  EXPECT_EQ(filtered("pro-q3\n.pro-q3\n"), ".pro-q3\n");  // suffix tags grow at the front
  EXPECT_EQ(filtered("abcdef\nzzzzzz\nabcdefg\n"), "abcdef\nzzzzzz\nabcdefg\n");
  EXPECT_EQ(filtered("abcdefg\nabcdef\n"), "abcdefg\nabcdef\n");
  EXPECT_EQ(filtered(""), "");
}
