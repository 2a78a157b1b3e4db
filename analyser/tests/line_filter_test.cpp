#include <gtest/gtest.h>

#include <string>

#include "keywords.h"
#include "line_filter.h"

TEST(ValidLine, AcceptsConsoleLinesAndRejectsServerLines) {
  EXPECT_EQ(validLine("Moss^7 was railed by Raven^7", valid_strings), 1);
  EXPECT_EQ(validLine("Raven^7 entered the game", valid_strings), 1);
  EXPECT_EQ(validLine("Raven^7: hello there", valid_strings), 0);  // chat
  EXPECT_EQ(validLine("  1:02 Kill: 2 3 10: Raven killed Moss by MOD_RAILGUN", valid_strings), 0);
  EXPECT_EQ(validLine(" 20:37 ClientUserinfoChanged: 2 n\\Raven\\t\\0", valid_strings), 0);
  // A server keyword rejects a line that also holds a console text.
  EXPECT_EQ(validLine("say: Moss was railed by Raven", valid_strings), 0);
}

TEST(ValidLine, AteIsAKillOnlyWithARocketOrAGrenade) {
  EXPECT_EQ(validLine("Tarn^7 ate Raven^7's rocket", valid_strings), 1);
  EXPECT_EQ(validLine("Tarn^7 ate Raven^7's grenade", valid_strings), 1);
  EXPECT_EQ(validLine("Tarn^7 ate a sandwich", valid_strings), 0);
  // The first entry found decides: " ate " comes after "entered the game".
  EXPECT_EQ(validLine("Tarn^7 ate and entered the game", valid_strings), 1);
}

TEST(ValidLine, LengthLimits) {
  std::string kill = " was railed by ";
  EXPECT_EQ(validLine(std::string(485, 'a') + kill, valid_strings), 1);  // 500 characters
  EXPECT_EQ(validLine(std::string(486, 'a') + kill, valid_strings), 0);  // 501
  EXPECT_EQ(validLine("x", valid_strings), 0);
  EXPECT_EQ(validLine("", valid_strings), 0);
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
