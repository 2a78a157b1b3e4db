// A server's live log: read only when it holds a complete game, snapshotted,
// emptied and archived, so that every game is counted exactly once.
#include <string>

#include "season_fixture.h"

using RealtimeLog = SeasonTest;

TEST_F(RealtimeLog, WithoutACompleteGameTheLogIsLeftAlone) {
  writeSeasonConfig("realtime_log:\nyes\n");
  const std::string unfinished = serverGame("Alice", 1);
  dir_.write("live.log", unfinished);
  auto result = season("live.log");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find(" Verifying logfile (live.log)\n"), std::string::npos);
  EXPECT_NE(result.output.find(" Realtime log file does not have a complete game yet.\n"
                               " Leaving log intact. Stats will be analysed and updated on next run.\n"),
            std::string::npos);
  EXPECT_EQ(dir_.read("live.log"), unfinished);
}

TEST_F(RealtimeLog, ACompleteGameIsSnapshottedArchivedAndCountedOnceAcrossATruncation) {
  std::filesystem::create_directory(dir_.path() / "archive");
  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\n");
  // Game 1 is complete; game 2 is cut in two by the truncation.
  const std::string first_part = serverGame("Alice", 2) + kGameEnd + serverGame("Carl", 1);
  dir_.write("live.log", first_part);
  auto first = season("live.log");
  ASSERT_EQ(first.status, 0) << first.output;
  EXPECT_NE(first.output.find(" - truncating realtime logfile (live.log)\n"), std::string::npos);
  EXPECT_EQ(dir_.read("live.log"), "");
  EXPECT_EQ(dir_.read("kestro_realtime_backup_live.log"), first_part);
  EXPECT_EQ(dir_.read("archive/live.log"), first_part);
  EXPECT_EQ(column("Alice", "kills"), "2");
  EXPECT_EQ(column("Carl", "kills"), "");

  // The server writes the rest of game 2 into the emptied log, then game 3:
  // the log is complete again once a game has begun and ended in it.
  const std::string second_part =
      "  0:06 Kill: 2 3 10: Carl killed Bob by MOD_RAILGUN\n" + kGameEnd + serverGame("Dave", 1) + kGameEnd;
  dir_.write("live.log", second_part);
  auto second = season("live.log");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_EQ(column("Alice", "concat_ws(' ', kills, games)"), "2 1");
  EXPECT_EQ(column("Carl", "concat_ws(' ', kills, games)"), "2 1");
  EXPECT_EQ(column("Dave", "concat_ws(' ', kills, games)"), "1 1");
  EXPECT_EQ(column("Bob", "games"), "3");
  EXPECT_EQ(dir_.read("archive/live.log"), first_part + second_part);
}
