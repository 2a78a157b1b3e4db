// Black-box tests of the TagSift program: tags found in name lists, the
// thresholds, output modes, failures and the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program_runner.h"

namespace {

const std::string kTemp = "tags-temp-kjaslkjefa392.txt";

std::string reversed(const std::string& text) { return std::string(text.rbegin(), text.rend()); }

std::string lines(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += item + "\n";
  return text;
}

struct Sifter {
  kstest::TempDir dir;
  Sifter() { dir.installProgram("TagSift"); }

  // Writes "players.txt" and "players-r.txt" as the database client does: a
  // heading line, then the names (or the reversed names) in byte order.
  void names(std::vector<std::string> list) {
    std::vector<std::string> back;
    for (const std::string& name : list) back.push_back(reversed(name));
    std::sort(list.begin(), list.end());
    std::sort(back.begin(), back.end());
    dir.write("players.txt", "raw_name\n" + lines(list));
    dir.write("players-r.txt", "REVERSE(raw_name)\n" + lines(back));
  }
  kstest::RunResult run(const std::string& arguments = "") {
    return kstest::runIn(dir, "./TagSift" + (arguments.empty() ? "" : " " + arguments));
  }
  // Runs silently and returns the tag file.
  std::string tags(const std::string& arguments = "-w") {
    kstest::RunResult result = run("-s " + arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(dir.exists(kTemp));
    return dir.read("tags.txt");
  }
};

// Five clan members with the prefix tag "[kest]" and five with the suffix tag
// ".pro-q3", and a few names that share nothing.
const std::vector<std::string> kClans = {
    "[kest]Ann", "[kest]Bob", "[kest]Cid", "[kest]Dan", "[kest]Eve",
    "Fay.pro-q3", "Gus.pro-q3", "Hal.pro-q3", "Ivy.pro-q3", "Jon.pro-q3",
    "Kim", "Lee-the-Great", "Mo_unaligned",
};

}  // namespace

TEST(Program, FindsPrefixAndSuffixTagsAndReportsProgress) {
  Sifter s;
  s.names(kClans);
  kstest::RunResult result = s.run();
  EXPECT_EQ(result.status, 0);
  // The suffix tag comes from the reversed list: "3q-orp" and "3q-orp." are
  // candidates, turned back and chained down to the longer one. Its group
  // "3q" sorts before "[k".
  EXPECT_EQ(result.output,
            "Reading File: players.txt : Done\n"
            "Reading File: players-r.txt : Done\n"
            "Tags Found: 3\n"
            "Final Tag Count (Filtered): 2\n");
  EXPECT_EQ(s.dir.read("tags.txt"), ".pro-q3\n[kest]\n");
  EXPECT_FALSE(s.dir.exists(kTemp));
}

TEST(Program, LengthAndMatchThresholds) {
  Sifter s;
  s.names(kClans);
  EXPECT_EQ(s.tags("-w -m 5"), "");  // five names are not more than five
  EXPECT_EQ(s.tags("-w -m 4 -l 7"), ".pro-q3\n");
  EXPECT_EQ(s.tags("-w -l 8"), "");  // ".pro-q3" is 7 long
  // Shorter tags chain into the full one.
  EXPECT_EQ(s.tags("-w -l 3"), ".pro-q3\n[kest]\n");

  // A name of the tag's length or shorter carries no prefix of it.
  s.names({"[kest]", "[kest]Bob", "[kest]Cid", "[kest]Dan", "[kest]Eve"});
  EXPECT_EQ(s.tags(), "");
  EXPECT_EQ(s.tags("-w -m 3"), "[kest]\n");
}

TEST(Program, ChainKeepsTheLongestAndUnrelatedTagsStay) {
  Sifter s;
  s.names({"[kest]_ann", "[kest]_bob", "[kest]_cid", "[kest]_dan", "[kest]_eve",
           "=zeta=ann", "=zeta=bob", "=zeta=cid", "=zeta=dan", "=zeta=eve"});
  EXPECT_EQ(s.tags(), "=zeta=\n[kest]_\n");
}

TEST(Program, HeadingLinesAreReadAsNames) {
  Sifter s;
  s.names({});
  // Every prefix of the two headings qualifies with -m 0; the reversed
  // heading's prefixes come out turned back and chained.
  EXPECT_EQ(s.tags("-w -l 7 -m 0"), "eman_war(ESREVER\nraw_nam\n");
}

TEST(Program, AppendsUnlessOverwriting) {
  Sifter s;
  s.names(kClans);
  s.dir.write("tags.txt", "kept\n");
  EXPECT_EQ(s.tags(""), "kept\n.pro-q3\n[kest]\n");
  EXPECT_EQ(s.tags(""), "kept\n.pro-q3\n[kest]\n.pro-q3\n[kest]\n");
  EXPECT_EQ(s.tags("-w"), ".pro-q3\n[kest]\n");
  // Overwriting with nothing found leaves an empty tag file.
  s.names({"Kim", "Lee"});
  EXPECT_EQ(s.tags("-w"), "");
  EXPECT_TRUE(s.dir.exists("tags.txt"));
}

TEST(Program, UnreadableListsStopWithAMessageAndNoOutput) {
  Sifter s;
  kstest::RunResult missing = s.run("-s -w");
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.output, "Unable to open player file: players.txt.\n");
  EXPECT_FALSE(s.dir.exists("tags.txt"));

  s.names(kClans);
  s.dir.write("tags.txt", "kept\n");
  kstest::RunResult noReverse = s.run("-w -r absent-reversed-list.txt");
  EXPECT_EQ(noReverse.status, 0);
  EXPECT_EQ(noReverse.output,
            "Overwrite Tag File Enabled.\n"
            "Reverse: absent-reversed-list.txt\n"
            "Reading File: players.txt : Done\n"
            "Unable to open player file: absent-reversed-list.txt.\n");
  EXPECT_EQ(s.dir.read("tags.txt"), "kept\n");
  EXPECT_FALSE(s.dir.exists(kTemp));
}

TEST(Program, UnwritableOutputIsReported) {
  Sifter s;
  s.names(kClans);
  kstest::RunResult result = s.run("-s -o no/such/dir/tags.txt");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "Unable to open output file: no/such/dir/tags.txt.\n");
  EXPECT_FALSE(s.dir.exists(kTemp));
}

TEST(Program, StaleIntermediateFileIsNotReadAsTags) {
  Sifter s;
  s.names(kClans);
  s.dir.write(kTemp, "left-over-from-a-killed-run\n");
  EXPECT_EQ(s.tags(), ".pro-q3\n[kest]\n");
}

TEST(Program, CaseInsensitiveOrderCountsLikeByteOrder) {
  // The order a database's default collation gives: "[CLAN]" and "[clan]"
  // names interleaved.
  Sifter s;
  const std::vector<std::string> names = {"[CLAN]a", "[clan]b", "[CLAN]c", "[clan]d", "[CLAN]e",
                                          "[clan]f", "[CLAN]g", "[clan]h", "[CLAN]i"};
  s.dir.write("players.txt", lines(names));
  s.dir.write("players-r.txt", "");
  EXPECT_EQ(s.tags("-w -m 3"), "[CLAN]\n[clan]\n");
}

TEST(Program, OptionsNameFilesOfAnyLengthAndPrintAsRead) {
  Sifter s;
  const std::string normal = "season-2024-player-names-as-written.txt";
  const std::string back = "season-2024-player-names-reversed.txt";
  const std::string out = "season-2024-detected-clan-tags.txt";
  s.names(kClans);
  s.dir.write(normal, s.dir.read("players.txt"));
  s.dir.write(back, s.dir.read("players-r.txt"));
  kstest::RunResult result =
      s.run("stray -i " + normal + " -r " + back + " -o " + out + " -l 6 -m 4 -w");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output,
            "Filename: " + normal + "\nReverse: " + back + "\nOutput File: " + out +
                "\nMin Tag Length: 6\nMin Tag Matches: 4\nOverwrite Tag File Enabled.\n"
                "Reading File: " + normal + " : Done\nReading File: " + back +
                " : Done\nTags Found: 3\nFinal Tag Count (Filtered): 2\n");
  EXPECT_EQ(s.dir.read(out), ".pro-q3\n[kest]\n");
  EXPECT_FALSE(s.dir.exists("tags.txt"));
}

TEST(Program, SilentModeSilencesOnlyLaterOptions) {
  Sifter s;
  s.names(kClans);
  kstest::RunResult result = s.run("-l 6 -s -m 4 -w");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "Min Tag Length: 6\n");
  EXPECT_EQ(s.dir.read("tags.txt"), ".pro-q3\n[kest]\n");
}

TEST(Program, OptionWithoutValueAtTheEndStopsReadingArguments) {
  Sifter s;
  s.names(kClans);
  kstest::RunResult result = s.run("-s -w -m");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(s.dir.read("tags.txt"), ".pro-q3\n[kest]\n");
}

TEST(Program, HelpIsPrintedAndEndsTheRun) {
  Sifter s;
  s.names(kClans);
  kstest::RunResult result = s.run("-l 5 -? -w");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output,
            "Min Tag Length: 5\n"
            "\n"
            "TagSift: Tag Detection Algorithm (v0.6)\n"
            "Written by the kestro stats team\n"
            "\n"
            "Options:\n"
            "  -?\tDisplay Help Menu\n"
            "  -s\tRun Silent (No Output)\n"
            "  -i\tSpecify Normal Input File (players.txt)\n"
            "  -r\tSpecify Reverse Input File (players-r.txt)\n"
            "  -o\tSpecify Output File (tags.txt)\n"
            "  -l\tSpecify Minimum Tag Length (6)\n"
            "  -m\tSpecify Minimum Number of Matches to Qualify (4)\n"
            "  -w\tOverwrite Output File\n");
  EXPECT_FALSE(s.dir.exists("tags.txt"));
}

TEST(Program, JunkInputDoesNotUpsetTheRun) {
  Sifter s;
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
  const std::string longLine = "[kest]" + std::string(600, 'q') + "\r\n";
  s.dir.write("players.txt", junk + "\n\n\r\n" + longLine + longLine + "zzzzzz\n[kest]a\n");
  s.dir.write("players-r.txt", std::string(3000, '\xff'));
  kstest::RunResult result = s.run("-s -w -l -3 -m 99999999999999");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(s.dir.read("tags.txt"), "");
  // A long line arrives in pieces of 254 characters, each read as a name:
  // the two copies share every prefix of their first two pieces. The second
  // copy's "[k" piece follows a "qq" piece, so its group lies behind the
  // search position and must still be found.
  s.dir.write("players.txt", longLine + longLine);
  s.dir.write("players-r.txt", "");
  EXPECT_EQ(s.tags("-w -l 200 -m 2"), "");
  EXPECT_EQ(s.tags("-w -l 200 -m 1"), "[kest]" + std::string(247, 'q') + "\n" + std::string(253, 'q') + "\n");
}
