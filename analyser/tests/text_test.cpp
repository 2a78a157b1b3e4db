#include <gtest/gtest.h>

#include <string>

#include "sha256.h"
#include "sql_literal.h"
#include "shell_launch.h"
#include "text.h"

TEST(FixedText, NeverHoldsMoreThan509Characters) {
  FixedText text(std::string(600, 'a'));
  EXPECT_EQ(text.size(), 509u);
  text.assign("abc");
  text.append(std::string(600, 'b'));
  EXPECT_EQ(text.size(), 509u);
  EXPECT_EQ(text.view().substr(0, 4), "abcb");
  text.append("more");
  EXPECT_EQ(text.size(), 509u);
  EXPECT_EQ(text.c_str()[509], '\0');
}

TEST(ReadLine, LongPhysicalLinesArriveInPiecesOf509) {
  std::FILE* file = std::tmpfile();
  std::string long_line(700, 'x');
  std::fputs((long_line + "\nshort\n").c_str(), file);
  std::rewind(file);
  FixedText line;
  ASSERT_TRUE(readLine(file, line));
  EXPECT_EQ(line.size(), 509u);
  ASSERT_TRUE(readLine(file, line));
  EXPECT_EQ(line.view(), std::string(191, 'x') + "\n");
  ASSERT_TRUE(readLine(file, line));
  EXPECT_EQ(line.view(), "short\n");
  EXPECT_FALSE(readLine(file, line));
  std::fclose(file);
  EXPECT_FALSE(readLine(nullptr, line));
}

TEST(LineCleaning, NewLineIsCutOnlyAmongTheLastFiveCharacters) {
  FixedText text("abc\r\n");
  stripNewLineChars(text);
  EXPECT_EQ(text.view(), "abc");
  FixedText early("a\nbcdefgh");
  stripNewLineChars(early);
  EXPECT_EQ(early.view(), "a\nbcdefgh");
  FixedText last_five("abcdef\nxyz");
  stripNewLineChars(last_five);
  EXPECT_EQ(last_five.view(), "abcdef");
}

TEST(LineCleaning, UnsafeAndNonPrintableCharactersBecomeUnderscores) {
  FixedText text("a\\b&c\"d+e#f=g%h<i>j\tk\x7fl\xe9m ok~");
  replaceNonPrintableChars(text);
  EXPECT_EQ(text.view(), "a_b_c_d_e_f_g_h_i_j_k_l_m ok~");
}

// Lines are checked sixteen bytes at a time: every byte value must be judged
// alike wherever it stands, in a full block or in the tail, in both modes.
TEST(LineCleaning, EveryByteIsJudgedAlikeAtEveryPlace) {
  auto replaced = [](unsigned char c, HighBytes high) {
    return c < 32 || c == 127 || (c > 127 && high == HighBytes::kReplaced) ||
           std::string_view("\\&\"+#=%<>").find(static_cast<char>(c)) != std::string_view::npos;
  };
  for (HighBytes high : {HighBytes::kReplaced, HighBytes::kKept}) {
    for (int c = 1; c < 256; ++c) {
      for (std::size_t at : {0u, 7u, 15u, 16u, 31u, 33u, 40u}) {
        std::string line(41, 'a');
        line[at] = static_cast<char>(c);
        FixedText text(line);
        replaceNonPrintableChars(text, high);
        std::string expected = line;
        if (replaced(static_cast<unsigned char>(c), high)) expected[at] = '_';
        ASSERT_EQ(text.view(), expected) << "byte " << c << " at " << at;
      }
    }
  }
}

TEST(TextFunctions, SubstringIsInclusiveAndReturnsTheTextWhenPastItsEnd) {
  EXPECT_EQ(substring("abcdef", 1, 3), "bcd");
  EXPECT_EQ(substring("abcdef", 0, 6), "abcdef");  // position 6 is the terminator
  EXPECT_EQ(substring("abcdef", 2, 40), "abcdef");
  EXPECT_EQ(substring("abcdef", 0, -2), "");
}

TEST(TextFunctions, StrReplaceReplacesTheFirstOccurrenceOnly) {
  FixedText text("a:b:c");
  EXPECT_EQ(strReplace(text, ":", " "), 1);
  EXPECT_EQ(text.view(), "a b:c");
  EXPECT_EQ(strReplace(text, "/", " "), 0);
  EXPECT_EQ(text.view(), "a b:c");
}

TEST(TextFunctions, CaseAndFileNameCleaning) {
  FixedText text("MiXeD 123");
  toLowerCase(text);
  EXPECT_EQ(text.view(), "mixed 123");
  std::string name = "2026-12-07,20-44-01_CTF_[NX]_vs_RED_main.html";
  stripIllegalFilenameChars(name);
  EXPECT_EQ(name, "2026_12_07_20_44_01_CTF__NX__vs_RED_main.html");
}

TEST(TextFunctions, DoubleQuoteEscapingKeepsAFileNameOneWord) {
  EXPECT_EQ(escapeForDoubleQuotes("plain.log"), "plain.log");
  EXPECT_EQ(escapeForDoubleQuotes("a\"b$c`d\\e"), "a\\\"b\\$c\\`d\\\\e");
}

TEST(ShellLaunch, QuotedValuesReachTheCommandAsOneWordWhateverTheyHold) {
  for (const std::string value : {"plain.log", "two words", "a\"b$c`d\\e", "it's $(rm -rf x)"}) {
    // The shell compares the word it got with the same bytes read from a file.
    const std::string command = "test \"" + escapeForDoubleQuotes(value) + "\" = " + shellWord(value);
    EXPECT_EQ(runShellCommand(command), 0) << value;
  }
}

TEST(ShellLaunch, ABackgroundCommandRunsBesideTheCallerAndGivesItsExitStatus) {
  BackgroundCommand slow = startShellCommand("sleep 0.2; exit 3");
  ASSERT_GE(slow.pid, 0);
  EXPECT_EQ(runShellCommand("exit 0"), 0);  // the caller goes on meanwhile
  EXPECT_EQ(waitForCommand(slow), 3);
  EXPECT_EQ(waitForCommand(slow), -1);  // collected once
  BackgroundCommand killed = startShellCommand("kill -9 $$");
  EXPECT_EQ(waitForCommand(killed), 128 + 9);
  EXPECT_EQ(runShellCommand("exit 127"), 127);
}

TEST(Sha256, KnownDigestsWhateverTheUpdatesLookLike) {
  Sha256 digest;
  EXPECT_EQ(digest.finishHex(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  digest.update("abc");
  EXPECT_EQ(digest.finishHex(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  digest.update("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq");
  EXPECT_EQ(digest.finishHex(), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  const std::string million(1000000, 'a');
  for (std::size_t piece : {1u, 7u, 63u, 64u, 65u, 1000u}) {
    for (std::size_t at = 0; at < million.size(); at += piece) digest.update(std::string_view(million).substr(at, piece));
    EXPECT_EQ(digest.finishHex(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0") << piece;
  }
}

TEST(SqlText, ValuesAreCutToTheirColumnBeforeTheyAreEscaped) {
  // Cut after escaping, the marked blank name would end in a lone backslash.
  EXPECT_EQ(sqlTextValue(std::string(49, ' ') + "\\_", 50), std::string(49, ' ') + "\\\\");
  EXPECT_EQ(sqlTextValue("a'b\"c", 50), "a\\'b\\\"c");
  EXPECT_EQ(sqlTextValue(std::string("n\0l\nr\rt\tz\x1a", 10), 50), "n\\0l\\nr\\rt\\tz\\Z");
  EXPECT_EQ(sqlTextValue("abcdef", 3), "abc");
  EXPECT_EQ(sqlTextValue("", 50), "");
}
