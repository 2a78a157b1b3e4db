#include <gtest/gtest.h>

#include <string>

#include "keywords.h"
#include "line_filter.h"

TEST(ValidLine, AcceptsConsoleLinesAndRejectsServerLines) {
  EXPECT_TRUE(validLine(LineScan(consoleKeywordIndex(), "Moss^7 was railed by Raven^7"), valid_strings));
  EXPECT_TRUE(validLine(LineScan(consoleKeywordIndex(), "Raven^7 entered the game"), valid_strings));
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), "Raven^7: hello there"), valid_strings));  // chat
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), "  1:02 Kill: 2 3 10: Raven killed Moss by MOD_RAILGUN"), valid_strings));
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), " 20:37 ClientUserinfoChanged: 2 n\\Raven\\t\\0"), valid_strings));
  // A server keyword rejects a line that also holds a console text.
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), "say: Moss was railed by Raven"), valid_strings));
}

TEST(ValidLine, AteIsAKillOnlyWithARocketOrAGrenade) {
  EXPECT_TRUE(validLine(LineScan(consoleKeywordIndex(), "Tarn^7 ate Raven^7's rocket"), valid_strings));
  EXPECT_TRUE(validLine(LineScan(consoleKeywordIndex(), "Tarn^7 ate Raven^7's grenade"), valid_strings));
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), "Tarn^7 ate a sandwich"), valid_strings));
  // The first entry found decides: " ate " comes after "entered the game".
  EXPECT_TRUE(validLine(LineScan(consoleKeywordIndex(), "Tarn^7 ate and entered the game"), valid_strings));
}

TEST(ValidLine, LengthLimits) {
  std::string kill = " was railed by ";
  EXPECT_TRUE(validLine(LineScan(consoleKeywordIndex(), std::string(485, 'a') + kill), valid_strings));  // 500 characters
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), std::string(486, 'a') + kill), valid_strings));  // 501
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), "x"), valid_strings));
  EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), ""), valid_strings));
}

TEST(KeywordTables, HaveNoEmptyEntry) {
  // An empty entry would be found in every line and hijack the table.
  for (KeywordTable table : {KeywordTable(server_keyword), KeywordTable(valid_strings), KeywordTable(reset_strings),
                             KeywordTable(addPlayer_strings), KeywordTable(suicide_strings),
                             KeywordTable(self_strings), KeywordTable(dual_strings), KeywordTable(ctf_red_strings),
                             KeywordTable(ctf_blue_strings)}) {
    for (std::string_view entry : table) EXPECT_FALSE(entry.empty());
  }
  EXPECT_EQ(firstContained(valid_strings, "Bob^7 was railed by Al^7"), 93);
  EXPECT_EQ(firstContained(valid_strings, "nothing here"), -1);
}

TEST(ServerLines, OnlyAServersOwnLinesAreItsEvents) {
  EXPECT_TRUE(isServerInitGameLine("  0:00 InitGame: \\sv_hostname\\x\n"));
  EXPECT_TRUE(isServerInitGameLine("15.6 InitGame: \\dmflags\\0"));
  EXPECT_TRUE(isServerInitGameLine("123:45 InitGame: \\x"));
  EXPECT_FALSE(isServerInitGameLine("InitGame: \\sv_hostname\\x"));  // no time stamp
  EXPECT_FALSE(isServerInitGameLine("  0:00 InitGame: sv_hostname"));   // no info string
  EXPECT_FALSE(isServerInitGameLine("Raven^7:   0:00 InitGame: \\x"));
  EXPECT_FALSE(isServerInitGameLine("  0:05 say: Raven: 0:00 InitGame: \\x"));
  EXPECT_FALSE(isServerInitGameLine("  0:0 x InitGame: \\x"));

  EXPECT_TRUE(isServerEventLine("  0:10 ShutdownGame:\n", "ShutdownGame:"));
  EXPECT_TRUE(isServerEventLine("ShutdownGame:", "ShutdownGame:"));  // a console log's form
  EXPECT_FALSE(isServerEventLine("  0:05 say: Bob: ShutdownGame:", "ShutdownGame:"));
  EXPECT_FALSE(isServerEventLine("  1:02 ClientUserinfoChanged: 2 n\\ShutdownGame:\\t\\0", "ShutdownGame:"));
  EXPECT_FALSE(isServerEventLine("  1:02 Kill: 2 3 10: InitGame: killed Bob by MOD_RAILGUN", "InitGame:"));
}
