// A server's live log: read only when its new lines complete a game, never
// changed, and followed across rotations and truncations, so that every game
// is counted exactly once and every line reaches the archive once.
#include <filesystem>
#include <string>

#include "season_fixture.h"

namespace {

class RealtimeLog : public LiveLogSeasonTest {
 protected:

  // The server appends to its log.
  void serverWrites(const std::string& name, const std::string& lines) {
    dir_.write(name, (dir_.exists(name) ? dir_.read(name) : "") + lines);
  }

  std::string killsAndGames(const std::string& player) { return column(player, "concat_ws(' ', kills, games)"); }
};

// Game 1 complete, game 2 cut where a run reads the log.
const std::string kFirstPart = serverGame("Alice", 2) + kGameEnd + serverGame("Carl", 1);
// The rest of game 2, and game 3.
const std::string kSecondPart =
    "  0:06 Kill: 2 3 10: Carl killed Bob by MOD_RAILGUN\n" + kGameEnd + serverGame("Dave", 1) + kGameEnd;

}  // namespace

TEST_F(RealtimeLog, WithoutACompleteGameTheLogIsLeftAlone) {
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

TEST_F(RealtimeLog, TheLiveLogIsNeverChangedAndAGameCutByARunIsCountedOnceWhenItEnds) {
  dir_.write("live.log", kFirstPart);
  auto first = season("live.log");
  ASSERT_EQ(first.status, 0) << first.output;
  EXPECT_EQ(dir_.read("live.log"), kFirstPart);
  EXPECT_EQ(dir_.read("archive/live.log"), kFirstPart);
  EXPECT_EQ(killsAndGames("Alice"), "2 1");
  EXPECT_EQ(column("Carl", "kills"), "");

  // A line the server has only half written yet stays for the next run.
  serverWrites("live.log", kSecondPart + "  0:00 InitGa");
  auto second = season("live.log");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_EQ(killsAndGames("Alice"), "2 1");
  EXPECT_EQ(killsAndGames("Carl"), "2 1");
  EXPECT_EQ(killsAndGames("Dave"), "1 1");
  EXPECT_EQ(column("Bob", "games"), "3");
  EXPECT_EQ(dir_.read("archive/live.log"), kFirstPart + kSecondPart);

  // Nothing new: an idle log is left for the next run, the archive as it was.
  auto idle = season("live.log");
  EXPECT_EQ(idle.status, 0) << idle.output;
  EXPECT_EQ(dir_.read("archive/live.log"), kFirstPart + kSecondPart);
}

TEST_F(RealtimeLog, ARotatedLogIsReadToItsEndBeforeTheNewOne) {
  const std::string third = serverGame("Erin", 1) + kGameEnd;
  for (const char* rotation : {"rename", "copytruncate"}) {
    SCOPED_TRACE(rotation);
    sql("drop table if exists countedgames; drop table if exists playerstats;");
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("live.log", 0) == 0 || name.rfind("kestro_", 0) == 0) std::filesystem::remove(entry.path());
    }
    std::filesystem::remove(dir_.path() / "archive/live.log");

    dir_.write("live.log", kFirstPart);
    ASSERT_EQ(season("live.log").status, 0);
    // After the run the server writes the rest of game 2; then the log is
    // rotated and the server goes on in a new one.
    serverWrites("live.log", kSecondPart);
    if (std::string(rotation) == "rename") {
      std::filesystem::rename(dir_.path() / "live.log", dir_.path() / "live.log.1");
    } else {
      std::filesystem::copy_file(dir_.path() / "live.log", dir_.path() / "live.log.1");
      dir_.write("live.log", "");
    }
    dir_.write("live.log", third);
    auto after = season("live.log");
    ASSERT_EQ(after.status, 0) << after.output;
    EXPECT_NE(after.output.find("live.log was rotated: the rest of "), std::string::npos) << after.output;
    EXPECT_EQ(killsAndGames("Carl"), "2 1");
    EXPECT_EQ(killsAndGames("Dave"), "1 1");
    EXPECT_EQ(killsAndGames("Erin"), "1 1");
    EXPECT_EQ(column("Bob", "games"), "4");
    EXPECT_EQ(dir_.read("archive/live.log"), kFirstPart + kSecondPart + third);
  }
}

TEST_F(RealtimeLog, ALogTruncatedWithoutACopyIsReadFromItsStart) {
  dir_.write("live.log", serverGame("Alice", 2) + kGameEnd);
  ASSERT_EQ(season("live.log").status, 0);
  // The server restarted with an empty log (or somebody emptied it).
  const std::string fresh = serverGame("Carl", 3) + kGameEnd;
  dir_.write("live.log", fresh);
  auto after = season("live.log");
  ASSERT_EQ(after.status, 0) << after.output;
  EXPECT_NE(after.output.find("live.log was truncated or replaced since the last run"), std::string::npos);
  EXPECT_EQ(killsAndGames("Alice"), "2 1");
  EXPECT_EQ(killsAndGames("Carl"), "3 1");
  EXPECT_EQ(dir_.read("archive/live.log"), serverGame("Alice", 2) + kGameEnd + fresh);
}

TEST_F(RealtimeLog, ALiveLogThatCannotBeOpenedIsAnError) {
  std::filesystem::create_directory(dir_.path() / "folder.log");
  for (const char* log : {"missing.log", "folder.log"}) {
    auto result = season(log);
    EXPECT_EQ(result.status, 2) << log;
    EXPECT_NE(result.output.find(std::string("ERROR: could not open logfile \"") + log + "\"\n"), std::string::npos);
  }
  // A log after it is still read.
  dir_.write("live.log", serverGame("Alice", 1) + kGameEnd);
  EXPECT_EQ(season("missing.log live.log").status, 2);
  EXPECT_EQ(killsAndGames("Alice"), "1 1");

  // A damaged position is no reason to read the log from its start again.
  dir_.write("kestro_realtime_position_live.log", "garbage\n");
  serverWrites("live.log", serverGame("Carl", 1) + kGameEnd);
  auto damaged = season("live.log");
  EXPECT_EQ(damaged.status, 2);
  EXPECT_EQ(killsAndGames("Carl"), "");
  EXPECT_EQ(dir_.read("archive/live.log"), serverGame("Alice", 1) + kGameEnd);
}

TEST_F(RealtimeLog, LogsWhoseFileNamesCollideKeepTheirOwnFiles) {
  // Both names give "srv_1.log"; each log has a game cut by the first run.
  const std::string a1 = serverGame("Ann", 1) + kGameEnd + serverGame("Amy", 1);
  const std::string b1 = serverGame("Ben", 2) + kGameEnd + serverGame("Bea", 2);
  auto rest = [](const std::string& killer) { return "  0:06 Kill: 2 3 10: " + killer + " killed Bob by MOD_RAILGUN\n" + kGameEnd; };
  dir_.write("srv-1.log", a1);
  dir_.write("srv_1.log", b1);
  ASSERT_EQ(season("srv-1.log srv_1.log").status, 0);
  serverWrites("srv-1.log", rest("Amy"));
  serverWrites("srv_1.log", rest("Bea"));
  auto second = season("srv-1.log srv_1.log");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_EQ(killsAndGames("Ann"), "1 1");
  EXPECT_EQ(killsAndGames("Amy"), "2 1");
  EXPECT_EQ(killsAndGames("Ben"), "2 1");
  EXPECT_EQ(killsAndGames("Bea"), "3 1");
  EXPECT_EQ(column("Bob", "concat_ws(' ', deaths, games)"), "8 4");
  // The first log keeps the names it always had; the second has its own.
  EXPECT_EQ(dir_.read("archive/srv_1.log"), a1 + rest("Amy"));
  int archives = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path() / "archive")) {
    ++archives;
    const std::string name = entry.path().filename().string();
    if (name != "srv_1.log") EXPECT_EQ(dir_.read("archive/" + name), b1 + rest("Bea"));
  }
  EXPECT_EQ(archives, 2);
}
