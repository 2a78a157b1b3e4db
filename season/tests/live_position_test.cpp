// The remembered read position of a live log, as text and against the file.
#include <gtest/gtest.h>

#include <string>

#include "live_position.h"
#include "program_runner.h"

using season::LivePosition;

TEST(LivePosition, ReadsBackWhatItWritesAndRefusesDamagedText) {
  LivePosition p;
  p.log = "/srv/q3/osp/games log.txt";  // blanks in the path
  p.device = 2049;
  p.inode = 1234567;
  p.offset = 987654321012LL;
  p.window_sum = std::string(64, 'a');
  std::optional<LivePosition> back = season::parsePosition(p.text());
  ASSERT_TRUE(back);
  EXPECT_EQ(back->log, p.log);
  EXPECT_EQ(back->device, p.device);
  EXPECT_EQ(back->inode, p.inode);
  EXPECT_EQ(back->offset, p.offset);
  EXPECT_EQ(back->window_sum, p.window_sum);

  std::string text = p.text();
  for (const std::string& damaged : {std::string(""), text.substr(0, text.size() - 1), text.substr(0, 40),
                                     std::string("kestrostats-live-position 1 1 2 -5 ") + std::string(64, 'a') + " /x\n",
                                     std::string("kestrostats-live-position 1 1 2 3 abc /x\n")}) {
    EXPECT_FALSE(season::parsePosition(damaged)) << damaged;
  }
}

TEST(LivePosition, TheUnreadPartFollowsAppendsAndFindsARotatedCopy) {
  kstest::TempDir dir;
  const std::string log = (dir.path() / "games.log").string();
  dir.write("games.log", "line 1\nline 2\n");
  std::optional<LivePosition> read = season::positionIn(log, log, 14);
  ASSERT_TRUE(read);
  dir.write("games.log", "line 1\nline 2\nline 3\n");  // appended
  EXPECT_EQ(season::locateUnread(log, read).live_from, 14);
  EXPECT_EQ(season::locateUnread(log, read).note, "");

  dir.write("games.log.1", "line 1\nline 2\nline 3\n");  // copied, then truncated
  dir.write("games.log.2.gz", "line 1\nline 2\n");        // compressed: never read
  dir.write("games.log", "new 1\n");
  season::UnreadPart rotated = season::locateUnread(log, read);
  EXPECT_EQ(rotated.rotated, (dir.path() / "games.log.1").string());
  EXPECT_EQ(rotated.rotated_from, 14);
  EXPECT_EQ(rotated.live_from, 0);

  std::filesystem::remove(dir.path() / "games.log.1");
  dir.write("games.log", "other 1\nother 2\nother 3\n");  // longer, but not the same lines
  season::UnreadPart replaced = season::locateUnread(log, read);
  EXPECT_EQ(replaced.rotated, "");
  EXPECT_EQ(replaced.live_from, 0);
  EXPECT_NE(replaced.note.find("truncated or replaced"), std::string::npos);
}
