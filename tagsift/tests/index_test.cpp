// Unit tests of the candidate index, the name reader and the chain filter.
#include <gtest/gtest.h>

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

std::vector<std::string> keysOf(const CandidateIndex& index) {
  std::vector<std::string> keys;
  for (const CandidateGroup& group : index.groups) keys.push_back(group.candidates.front().text.substr(0, 2));
  return keys;
}

std::string filtered(const std::string& candidates, int* count = nullptr) {
  std::istringstream in(candidates);
  std::ostringstream out;
  int n = filterCandidates(in, out);
  if (count != nullptr) *count = n;
  return out.str();
}

std::vector<std::string> readAll(const std::string& content) {
  std::FILE* file = std::tmpfile();
  std::fwrite(content.data(), 1, content.size(), file);
  std::rewind(file);
  std::vector<std::string> names;
  std::string name;
  while (readName(file, name)) names.push_back(name);
  std::fclose(file);
  return names;
}

}  // namespace

TEST(CandidateIndex, GroupsAscendInByteOrderAndCandidatesKeepFirstSeenOrder) {
  CandidateIndex index;
  addPrefix(index, "zz-b", Origin::Normal);
  addPrefix(index, "zz-a", Origin::Normal);
  addPrefix(index, "Zz", Origin::Normal);  // capitals sort before small letters
  addPrefix(index, "ab", Origin::Normal);
  addPrefix(index, "zz-b", Origin::Normal);
  EXPECT_EQ(keysOf(index), (std::vector<std::string>{"Zz", "ab", "zz"}));
  EXPECT_EQ(written(index, 0), "Zz\nab\nzz-b\nzz-a\n");
  EXPECT_EQ(written(index, 1), "zz-b\n");  // only a count above the threshold qualifies
}

TEST(CandidateIndex, OneTextFromBothListsIsOneCandidateWithItsFirstOrigin) {
  CandidateIndex index;
  addPrefix(index, "abcdef", Origin::Normal);
  rewindSearch(index);
  addPrefix(index, "abcdef", Origin::Reversed);
  addPrefix(index, "fedcba", Origin::Reversed);
  addPrefix(index, "fedcba", Origin::Reversed);
  ASSERT_EQ(index.groups.size(), 2u);
  EXPECT_EQ(index.groups[0].candidates.size(), 1u);
  EXPECT_EQ(index.groups[0].candidates[0].count, 2);
  // The shared text stays as written; the reversed-only one is turned back.
  EXPECT_EQ(written(index, 1), "abcdef\nabcdef\n");
}

TEST(CandidateIndex, KeysOutOfOrderStillShareOneGroup) {
  // A database's case-insensitive order interleaves "[C" and "[c" names; a
  // plain forward walk from the search position would open a second "[C"
  // group and split the count.
  CandidateIndex index;
  for (const char* name : {"[CLAN]a", "[clan]b", "[CLAN]c", "[clan]d", "[CLAN]e"}) {
    addPrefix(index, std::string(name).substr(0, 6), Origin::Normal);
  }
  // A one-character prefix after a longer one goes backwards too.
  addPrefix(index, "[", Origin::Normal);
  addPrefix(index, "[CLAN]", Origin::Normal);
  EXPECT_EQ(keysOf(index), (std::vector<std::string>{"[", "[C", "[c"}));
  EXPECT_EQ(written(index, 2), "[CLAN]\n");
  EXPECT_EQ(index.groups[1].candidates[0].count, 4);
}

TEST(NameReader, CutsOnlyALineEndAmongTheLastFiveCharacters) {
  std::string crlf = "player\r\n";
  stripLineEnd(crlf);
  EXPECT_EQ(crlf, "player");
  std::string inner = "ab\rcdefgh";
  stripLineEnd(inner);
  EXPECT_EQ(inner, "ab\rcdefgh");
  std::string near = "abcdef\rgh";
  stripLineEnd(near);
  EXPECT_EQ(near, "abcdef");
  std::string shortLine = "\n";
  stripLineEnd(shortLine);
  EXPECT_EQ(shortLine, "");
}

TEST(NameReader, LongLinesArriveInPiecesAndZeroBytesEndAName) {
  const std::string longName(300, 'x');
  std::vector<std::string> names = readAll(longName + "\n\nab" + std::string(1, '\0') + "cd\nlast");
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0], std::string(kLineLimit - 1, 'x'));
  EXPECT_EQ(names[1], std::string(300 - (kLineLimit - 1), 'x'));
  EXPECT_EQ(names[2], "");
  EXPECT_EQ(names[3], "ab");
  EXPECT_EQ(names[4], "last");
}

TEST(NameReader, PrefixesRunFromTheMinimumLengthToOneShortOfTheName) {
  CandidateIndex index;
  addNamePrefixes(index, "abcdef", 3, Origin::Normal);
  addNamePrefixes(index, "abc", 3, Origin::Normal);  // too short to give a prefix
  EXPECT_EQ(written(index, 0), "abc\nabcd\nabcde\n");

  CandidateIndex lenient;
  addNamePrefixes(lenient, "abc", -5, Origin::Normal);  // no empty candidate
  addNamePrefixes(lenient, "", 0, Origin::Normal);
  EXPECT_EQ(written(lenient, 0), "a\nab\n");
}

TEST(ChainFilter, KeepsOnlyTheLongestOfAChain) {
  int count = 0;
  EXPECT_EQ(filtered("[kest\n[kest]\n[kest]_\nzzzzzz\n", &count), "[kest]_\nzzzzzz\n");
  EXPECT_EQ(count, 2);
  // Suffix tags grow at their beginning; "contains" catches that as well.
  EXPECT_EQ(filtered("pro-q3\n.pro-q3\n"), ".pro-q3\n");
  // Only the next line is compared: a later extension does not drop it.
  EXPECT_EQ(filtered("abcdef\nzzzzzz\nabcdefg\n"), "abcdef\nzzzzzz\nabcdefg\n");
  // A longer candidate followed by its own prefix keeps both.
  EXPECT_EQ(filtered("abcdefg\nabcdef\n"), "abcdefg\nabcdef\n");
}

TEST(ChainFilter, EmptyAndSingleLineInput) {
  int count = -1;
  EXPECT_EQ(filtered("", &count), "");
  EXPECT_EQ(count, 0);
  EXPECT_EQ(filtered("only\n", &count), "only\n");
  EXPECT_EQ(count, 1);
}
