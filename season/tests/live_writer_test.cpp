// A season on a live log that a server is writing at that very moment: a
// writer appends one line at a time (O_APPEND, as the game server does) while
// runs follow each other, some of them killed at a step. Afterwards the
// archive holds every byte the writer wrote exactly once, and every game is
// counted exactly once.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "season_fixture.h"

namespace {

// Game i: K<i> rails Bob (i % 3) + 1 times.
std::vector<std::string> serverLines(int games) {
  std::vector<std::string> lines;
  for (int i = 0; i < games; ++i) {
    std::string game = serverGame("K" + std::to_string(i), i % 3 + 1) + kGameEnd;
    for (std::size_t at = 0, end; at < game.size(); at = end + 1) {
      end = game.find('\n', at);
      lines.push_back(game.substr(at, end - at + 1));
    }
  }
  return lines;
}

int gamesToWrite() {
  const char* games = std::getenv("KS_LIVE_WRITER_GAMES");  // a longer soak: more games
  return games != nullptr && std::atoi(games) > 0 ? std::atoi(games) : 200;
}

class LiveWriter : public LiveLogSeasonTest {
 protected:

  // Writes the lines one write() each, a few milliseconds apart. Each
  // quarter of them waits for a run to end after the previous quarter
  // (`runs_ended` counts them), so that runs overlap the writing however
  // slow the machine is.
  void write(const std::vector<std::string>& lines, const std::atomic<int>& runs_ended) {
    const std::string log = (dir_.path() / "live.log").string();
    int fd = open(log.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    int seen = runs_ended;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0 && i % (lines.size() / 4 + 1) == 0) {
        while (runs_ended == seen) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        seen = runs_ended;
      }
      ASSERT_EQ(::write(fd, lines[i].data(), lines[i].size()), static_cast<ssize_t>(lines[i].size()));
      std::this_thread::sleep_for(std::chrono::milliseconds(4));
    }
    close(fd);
  }

  int run(const std::string& environment) {
    return kstest::runIn(dir_, environment + " ./kestrostats-s live.log > out.txt 2>&1").status;
  }
};

}  // namespace

TEST_F(LiveWriter, EveryByteArchivedOnceAndEveryGameCountedOnceWhileTheServerWrites) {
  const int games = gamesToWrite();
  const std::vector<std::string> lines = serverLines(games);
  std::atomic<bool> writing = true;
  std::atomic<int> runs = 0;
  std::thread writer([&] {
    write(lines, runs);
    writing = false;
  });
  const char* const kills[] = {"", "KS_KILL_AT=snapshot-copied", "", "KS_KILL_AT=archive-appended",
                               "", "KS_KILL_AT=position-saved",  "", "KS_KILL_AT=games-committed"};
  while (writing) {
    const std::string environment = kills[runs % 8];
    int status = run(environment);
    if (environment.empty()) EXPECT_EQ(status, 0) << dir_.read("out.txt");
    ++runs;
  }
  writer.join();
  for (int i = 0; i < 2; ++i) ASSERT_EQ(run(""), 0) << dir_.read("out.txt");
  EXPECT_GE(runs, 3) << "the writer finished before the runs could overlap it";

  std::string written;
  for (const std::string& line : lines) written += line;
  EXPECT_EQ(dir_.read("live.log"), written);
  EXPECT_EQ(dir_.read("archive/live.log"), written);
  int kills_written = 0;
  for (int i = 0; i < games; ++i) kills_written += i % 3 + 1;
  EXPECT_EQ(sql("select count(*) from countedgames;"), std::to_string(games) + "\n");
  EXPECT_EQ(sql("select count(*), sum(kills), max(games) from playerstats where raw_name like 'K%';"),
            std::to_string(games) + "\t" + std::to_string(kills_written) + "\t1\n");
  EXPECT_EQ(column("Bob", "concat_ws(' ', deaths, games)"),
            std::to_string(kills_written) + " " + std::to_string(games));
}
