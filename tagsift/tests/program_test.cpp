// Black-box tests of the TagSift program: tags found in name lists, the
// thresholds, output modes, failures and the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "program_runner.h"

namespace {

const std::string kTemp = "tags-temp-kjaslkjefa392.txt";

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
    for (const std::string& name : list) back.emplace_back(name.rbegin(), name.rend());
    std::sort(list.begin(), list.end());
    std::sort(back.begin(), back.end());
    dir.write("players.txt", "raw_name\n" + lines(list));
    dir.write("players-r.txt", "REVERSE(raw_name)\n" + lines(back));
  }
  kstest::RunResult run(const std::string& arguments) { return kstest::runIn(dir, "./TagSift " + arguments); }
  // Runs silently and returns the tag file.
  std::string tags(const std::string& arguments = "-w") {
    kstest::RunResult result = run("-s " + arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(dir.exists(kTemp));
    return dir.read("tags.txt");
  }
};

// Five names with the prefix tag "[kest]", five with the suffix tag
// ".pro-q3", and a few that share nothing.
const std::vector<std::string> kClans = {
    "[kest]Ann",  "[kest]Bob",  "[kest]Cid",  "[kest]Dan",  "[kest]Eve", "Fay.pro-q3", "Gus.pro-q3",
    "Hal.pro-q3", "Ivy.pro-q3", "Jon.pro-q3", "Kim",        "Lee-the-Great", "Mo_unaligned"};
// The suffix tag's group "3q" (from the reversed list) sorts before "[k".
const std::string kClanTags = ".pro-q3\n[kest]\n";

}  // namespace

TEST(Program, TagsAndThresholds) {
  Sifter s;
  s.names(kClans);
  EXPECT_EQ(s.tags(), kClanTags);
  EXPECT_EQ(s.tags("-w -m 5"), "");  // five names are not more than five
  EXPECT_EQ(s.tags("-w -l 7"), ".pro-q3\n");
  EXPECT_EQ(s.tags("-w -l 8"), "");
  EXPECT_EQ(s.tags("-w -l 3"), kClanTags);  // the shorter prefixes chain into the tags

  // A name no longer than the tag carries no prefix of it.
  s.names({"[kest]", "[kest]Bob", "[kest]Cid", "[kest]Dan", "[kest]Eve"});
  EXPECT_EQ(s.tags(), "");
  EXPECT_EQ(s.tags("-w -m 3"), "[kest]\n");

  s.names({"[kest]_ann", "[kest]_bob", "[kest]_cid", "[kest]_dan", "[kest]_eve",
           "=zeta=ann", "=zeta=bob", "=zeta=cid", "=zeta=dan", "=zeta=eve"});
  EXPECT_EQ(s.tags(), "=zeta=\n[kest]_\n");

  // The headings are names too: with -m 0 all their prefixes qualify.
  s.names({});
  EXPECT_EQ(s.tags("-w -l 7 -m 0"), "eman_war(ESREVER\nraw_nam\n");
}

TEST(Program, AppendsUnlessOverwriting) {
  Sifter s;
  s.names(kClans);
  s.dir.write("tags.txt", "kept\n");
  EXPECT_EQ(s.tags(""), "kept\n" + kClanTags);
  EXPECT_EQ(s.tags(""), "kept\n" + kClanTags + kClanTags);
  EXPECT_EQ(s.tags("-w"), kClanTags);
  s.names({"Kim", "Lee"});
  EXPECT_EQ(s.tags("-w"), "");  // replaced by nothing
}

TEST(Program, FailuresAreReportedAndATagFileNotWrittenEndsWithStatusOne) {
  Sifter s;
  kstest::RunResult missing = s.run("-s -w");
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.output, "Unable to open player file: players.txt.\n");
  EXPECT_FALSE(s.dir.exists("tags.txt"));

  s.names(kClans);
  s.dir.write("tags.txt", "kept\n");
  kstest::RunResult noReverse = s.run("-w -r absent.txt");
  EXPECT_EQ(noReverse.status, 0);
  EXPECT_EQ(noReverse.output,
            "Overwrite Tag File Enabled.\nReverse: absent.txt\nReading File: players.txt : Done\n"
            "Unable to open player file: absent.txt.\n");
  EXPECT_EQ(s.dir.read("tags.txt"), "kept\n");

  kstest::RunResult unwritable = s.run("-s -o no/such/dir/tags.txt");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.output, "Unable to open output file: no/such/dir/tags.txt.\n");
  EXPECT_FALSE(s.dir.exists(kTemp));

  // A full disk takes the file but not its lines.
  if (std::filesystem::exists("/dev/full")) {
    kstest::RunResult full = s.run("-s -o /dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.output, "Unable to write output file: /dev/full.\n");
  }
}

TEST(Program, ListsOutOfByteOrderAndStaleIntermediateFile) {
  Sifter s;
  // A database's default collation interleaves "[CLAN]" and "[clan]".
  s.dir.write("players.txt", lines({"[CLAN]a", "[clan]b", "[CLAN]c", "[clan]d", "[CLAN]e", "[clan]f",
                                    "[CLAN]g", "[clan]h", "[CLAN]i"}));
  s.dir.write("players-r.txt", "");
  s.dir.write(kTemp, "left-over-from-a-killed-run\n");
  EXPECT_EQ(s.tags("-w -m 3"), "[CLAN]\n[clan]\n");
}

TEST(Program, OptionsPrintAsReadAndTakeLongFileNames) {
  Sifter s;
  s.names(kClans);
  const std::string in = "season-2024-names-as-written.txt", back = "season-2024-names-reversed.txt",
                    out = "season-2024-detected-clan-tags.txt";
  s.dir.write(in, s.dir.read("players.txt"));
  s.dir.write(back, s.dir.read("players-r.txt"));
  kstest::RunResult result = s.run("stray -i " + in + " -r " + back + " -o " + out + " -l 6 -m 4 -w");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "Filename: " + in + "\nReverse: " + back + "\nOutput File: " + out +
                               "\nMin Tag Length: 6\nMin Tag Matches: 4\nOverwrite Tag File Enabled.\n"
                               "Reading File: " + in + " : Done\nReading File: " + back +
                               " : Done\nTags Found: 3\nFinal Tag Count (Filtered): 2\n");
  EXPECT_EQ(s.dir.read(out), kClanTags);

  // "-s" silences only what follows; a value-less option at the end stops
  // the reading of arguments and the run goes on.
  kstest::RunResult silenced = s.run("-l 6 -s -w -m");
  EXPECT_EQ(silenced.output, "Min Tag Length: 6\n");
  EXPECT_EQ(s.dir.read("tags.txt"), kClanTags);
}

TEST(Program, HelpIsPrintedAndEndsTheRun) {
  Sifter s;
  s.names(kClans);
  kstest::RunResult result = s.run("-l 5 -? -w");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output,
            "Min Tag Length: 5\n\nTagSift: Tag Detection Algorithm (v0.6)\nWritten by the project's contributors\n\n"
            "Options:\n  -?\tDisplay Help Menu\n  -s\tRun Silent (No Output)\n"
            "  -i\tSpecify Normal Input File (players.txt)\n  -r\tSpecify Reverse Input File (players-r.txt)\n"
            "  -o\tSpecify Output File (tags.txt)\n  -l\tSpecify Minimum Tag Length (6)\n"
            "  -m\tSpecify Minimum Number of Matches to Qualify (4)\n  -w\tOverwrite Output File\n");
  EXPECT_FALSE(s.dir.exists("tags.txt"));
}

TEST(Program, JunkAndOverlongLines) {
  Sifter s;
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
  s.dir.write("players.txt", junk + "\n\n\r\n");
  s.dir.write("players-r.txt", std::string(3000, '\xff'));
  EXPECT_EQ(s.tags("-w -l -3 -m 99999999999999"), "");

  // A long line arrives in pieces of 254 characters, each read as a name.
  // The second copy's "[k" piece follows a "qq" piece, behind the search
  // position, and must still meet the first copy's candidates.
  const std::string longLine = "[kest]" + std::string(600, 'q') + "\r\n";
  s.dir.write("players.txt", longLine + longLine);
  s.dir.write("players-r.txt", "");
  EXPECT_EQ(s.tags("-w -l 200 -m 2"), "");
  EXPECT_EQ(s.tags("-w -l 200 -m 1"), "[kest]" + std::string(247, 'q') + "\n" + std::string(253, 'q') + "\n");
}
