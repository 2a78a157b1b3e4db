// kestrostats-c on dedicated-server logs: each is converted by ks-preparse
// and every qualifying game of it gets a report.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "server_games.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRealLogs = kstest::sourceDir() / ".." / "shared" / "reallogs";

int countOf(const std::string& text, const std::string& word) {
  int n = 0;
  for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
  return n;
}

struct ServerLogCase {
  const char* file;
  int games;
};

class RealServerLogs : public ::testing::TestWithParam<ServerLogCase> {};

}  // namespace

TEST_P(RealServerLogs, EveryQualifyingGameGetsAReport) {
  fs::path log = kRealLogs / GetParam().file;
  if (!fs::exists(log)) GTEST_SKIP() << "real logs are not available here";
  kstest::TempDir dir;
  dir.installProgram("kestrostats-c");
  dir.installProgram("ks-preparse");
  dir.write("c-default.cfg", "");
  fs::create_directory(dir.path() / "html");
  auto result = kstest::runIn(dir, "./kestrostats-c '" + log.string() + "'");
  ASSERT_EQ(result.status, 0) << result.output;
  int games = GetParam().games;
  EXPECT_EQ(countOf(result.output, "<GAME ID "), games);
  EXPECT_NE(result.output.find("  games processed: " + std::to_string(games) + "\n"), std::string::npos);
  int pages = 0;
  for (const auto& entry : fs::directory_iterator(dir.path() / "html")) pages += entry.is_regular_file();
  EXPECT_EQ(pages, 2 * games);  // a main page and a weapon page per game
  EXPECT_FALSE(dir.exists("kestro-c.log"));
  EXPECT_FALSE(dir.exists("tmp-c"));
}

TEST(RealServerLog, PlayersWhoLeftAtTheEndKeepTheirAccuracyOnThePage) {
  // At this game's end the server writes "ClientDisconnect: 9" just before
  // the statistics of client 9 ("killer clown": 330 hits in 1419 machine gun
  // shots).
  fs::path log = kRealLogs / "osp-server-ffa-multigame-warmups.log";
  if (!fs::exists(log)) GTEST_SKIP() << "real logs are not available here";
  kstest::TempDir dir;
  dir.installProgram("kestrostats-c");
  dir.installProgram("ks-preparse");
  dir.write("c-default.cfg", "");
  fs::create_directory(dir.path() / "html");
  ASSERT_EQ(kstest::runIn(dir, "./kestrostats-c '" + log.string() + "'").status, 0);
  std::string weapon_pages;
  for (const auto& entry : fs::directory_iterator(dir.path() / "html")) {
    if (entry.path().filename().string().find("_wpn.") != std::string::npos) {
      weapon_pages += dir.read("html/" + entry.path().filename().string());
    }
  }
  std::size_t hits = weapon_pages.find(">330</font>");
  ASSERT_NE(hits, std::string::npos);
  EXPECT_NE(weapon_pages.substr(hits, 200).find(">1419</font>"), std::string::npos);
}

TEST(RealServerLog, EveryGameWrittenIsOneOfTheServersGames) {
  // The same map, kills and suicides as the server's section, nothing of
  // another game in it. In the ioq3 log the server restarted (line 98) with
  // the game begun at line 11 still open: that game was never finished and
  // is in no report, neither on its own nor in the game after it.
  for (const char* file : {"ioq3-server-ffa-ctf-codeminer-games.log", "osp-server-ffa-multigame-warmups.log",
                           "osp-server-ffa-1game-7players.log", "osp-server-ffa-bots-1game.log",
                           "baseq3-server-ffa-warmups-short.log"}) {
    fs::path log = kRealLogs / file;
    if (!fs::exists(log)) GTEST_SKIP() << "real logs are not available here";
    kstest::TempDir dir;
    kstest::prepareServerLogRun(dir);
    ASSERT_EQ(kstest::runIn(dir, "./kestrostats-c '" + log.string() + "'").status, 0) << file;
    const std::vector<kstest::GameFigures> written = kstest::writtenGames(dir);
    std::ifstream in(log, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    kstest::expectTheServersGames(text.str(), written, file);
    if (std::string(file).starts_with("ioq3")) {
      ASSERT_EQ(written.size(), 19u);
      // The game after the restart: one kill and three deaths by the world.
      EXPECT_EQ(written[0], (kstest::GameFigures{"q3dm17", 1, 3}));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    ServerLogs, RealServerLogs,
    ::testing::Values(ServerLogCase{"ioq3-server-ffa-ctf-codeminer-games.log", 19},
                      ServerLogCase{"osp-server-ffa-multigame-warmups.log", 4},
                      ServerLogCase{"osp-server-ffa-1game-7players.log", 1},
                      ServerLogCase{"osp-server-ffa-bots-1game.log", 1},
                      ServerLogCase{"osp-server-ffa-warmups-short.log", 0},
                      ServerLogCase{"baseq3-server-ffa-warmups-short.log", 0},
                      ServerLogCase{"cpma-server-console-ffa-qconsole.log", 0}),
    [](const auto& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find(".log"));
      for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });
