// A season on a server's live log, stopped hard at every step of a run and
// at random moments: after the fault, normal runs count every complete game
// exactly once and the archive holds every line the server wrote.
#include <string>
#include <vector>

#include "season_fixture.h"

namespace {

// What the server writes between three runs: four games, two of them cut in
// two where a run read the live log.
const std::vector<std::string> kPieces = {
    serverGame("Alice", 2) + kGameEnd + serverGame("Carl", 1),
    "  0:06 Kill: 2 3 10: Carl killed Bob by MOD_RAILGUN\n" + kGameEnd + serverGame("Dave", 1) + kGameEnd +
        serverGame("Erin", 1),
    "  0:07 Kill: 2 3 10: Erin killed Bob by MOD_RAILGUN\n" + kGameEnd,
};

const char* const kCrashPoints[] = {"pending-saved", "snapshot-copied", "archive-appended", "position-saved",
                                     "converted",     "games-written",   "games-committed",  "pages-written"};

class LiveLogCrash : public LiveLogSeasonTest {
 protected:
  LiveLogCrash() : LiveLogSeasonTest("no_of_game_stats:\n2\n") {}

  // The server writes the next piece after whatever the live log still holds.
  void serverWrites(const std::string& piece) { dir_.write("live.log", dir_.read("live.log") + piece); }

  int run(const std::string& environment = "") {
    return kstest::runIn(dir_, environment + " ./kestrostats-s live.log > out.txt 2>&1").status;
  }

  // Every game counted once, every line in the archive, nothing pending.
  void expectEveryGameOnce() {
    EXPECT_EQ(sql("select count(*) from countedgames;"), "4\n");
    EXPECT_EQ(column("Bob", "concat_ws(' ', games, deaths)"), "4 7");
    EXPECT_EQ(column("Alice", "kills"), "2");
    EXPECT_EQ(column("Carl", "kills"), "2");
    EXPECT_EQ(column("Dave", "kills"), "1");
    EXPECT_EQ(column("Erin", "kills"), "2");
    EXPECT_EQ(dir_.read("archive/live.log"), kPieces[0] + kPieces[1] + kPieces[2]);
    EXPECT_EQ(dir_.read("live.log"), kPieces[0] + kPieces[1] + kPieces[2]);  // never changed
    EXPECT_FALSE(dir_.exists("kestro_realtime_pending_live.log"));
  }
};

class KilledAtAStep : public LiveLogCrash, public ::testing::WithParamInterface<const char*> {};

}  // namespace

TEST_P(KilledAtAStep, LaterRunsCountEveryGameOnceAndLoseNoLine) {
  serverWrites(kPieces[0]);
  EXPECT_EQ(run(std::string("KS_KILL_AT=") + GetParam()), 128 + 9) << dir_.read("out.txt");
  EXPECT_EQ(run(), 0) << dir_.read("out.txt");
  for (std::size_t piece = 1; piece < kPieces.size(); ++piece) {
    serverWrites(kPieces[piece]);
    ASSERT_EQ(run(), 0) << dir_.read("out.txt");
  }
  expectEveryGameOnce();
}

INSTANTIATE_TEST_SUITE_P(EveryStep, KilledAtAStep, ::testing::ValuesIn(kCrashPoints));

TEST_F(LiveLogCrash, KilledAtRandomMomentsWithTheProgramsItStarted) {
  // The whole process group goes, the mysql client and pre-parser with it,
  // at moments spread over a run (which spends its first second waiting).
  for (int delay_ms : {1050, 1200, 1350, 1600}) {
    for (std::size_t piece = 0; piece < kPieces.size(); ++piece) {
      serverWrites(kPieces[piece]);
      const std::string killed_run = "setsid ./kestrostats-s live.log > out.txt 2>&1 & pid=$!; sleep " +
                                     std::to_string(delay_ms / 1000.0) + "; kill -9 -$pid; wait";
      kstest::runIn(dir_, killed_run);
      ASSERT_EQ(run(), 0) << delay_ms << " ms, piece " << piece << ": " << dir_.read("out.txt");
    }
    expectEveryGameOnce();
    if (HasFailure()) return;
    // A fresh season for the next moment.
    sql("drop table countedgames; drop table playerstats;");
    for (const char* file : {"archive/live.log", "live.log", "kestro_lastgame_1_kestro_realtime_backup_live.log",
                             "kestro_realtime_position_live.log", "kestro_realtime_pending_live.log"}) {
      std::filesystem::remove(dir_.path() / file);
    }
  }
}
