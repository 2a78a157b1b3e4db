// Black-box tests of the ks-preparse program: command line, game framing,
// carry-over between runs, and the real server logs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"

namespace {

const std::string kBegin = "----------------- GAME BEGIN ---------------\n";
const std::string kEnd = "Timelimit hit.\n----- CL_Shutdown -----\n";

std::string section(const std::string& map, const std::string& type, const std::string& events) {
  return kBegin + "Current map: " + map + "\nGameType: " + type + "\n" + events + kEnd;
}

struct Converter {
  kstest::TempDir dir;
  Converter() { dir.installProgram("ks-preparse"); }
  kstest::RunResult run(const std::string& arguments) { return kstest::runIn(dir, "./ks-preparse " + arguments); }
  // Converts `log` in normal mode and returns the target.
  std::string convert(const std::string& log) {
    dir.write("s.log", log);
    kstest::RunResult result = run("s.log t.log");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, "");
    return dir.read("t.log");
  }
};

std::string initGame(const std::string& map, const std::string& extra = "") {
  return "  0:00 InitGame: \\sv_hostname\\test\\g_gametype\\0" + extra + "\\mapname\\" + map +
         "\\protocol\\68\\version\\test\n";
}

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Program, ArgumentAndFileErrors) {
  Converter c;
  const std::string usage = "\nInvalid arguments\nusage: ks-preparse source.log target.log\n";
  for (const char* arguments : {"", "a.log", "a.log b.log 1 extra"}) {
    kstest::RunResult result = c.run(arguments);
    EXPECT_EQ(result.status, 1) << arguments;
    EXPECT_EQ(result.output, usage) << arguments;
  }
  kstest::RunResult missing = c.run("missing.log t.log");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output, "error: couldnt open file to read\n");
  EXPECT_TRUE(c.dir.exists("t.log"));  // created before the source was checked

  c.dir.write("s.log", "x\n");
  kstest::RunResult unwritable = c.run("s.log no/such/dir/t.log");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.output, "error: couldnt open file to write\n");
}

TEST(Program, TranslatesAGameWithoutOspBetweenItsFrameLines) {
  Converter c;
  const std::string log =
      "  0:00 ------------------------------------------------------------\n"
      "  0:00 InitGame: \\sv_hostname\\x\\g_gametype\\4\\mapname\\q3ctf1\\protocol\\68\\version\\x\n"
      "  0:01 ClientConnect: 0\n"
      "  0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\\hmodel\\sarge\n"
      "  0:01 ClientBegin: 0\n"
      "  0:02 ClientConnect: 1\n"
      "  0:02 ClientUserinfoChanged: 1 n\\Bob\\t\\2\\model\\doom\\hmodel\\doom\n"
      "  0:05 Item: 0 team_CTF_blueflag\r\n"
      "  0:06 Kill: 1 0 10: Bob killed Ann by MOD_RAILGUN\n"
      "  0:07 say: Ann: gg ShutdownGame: InitGame: Warmup:\n"
      "  0:08 ClientDisconnect: 1\n"
      "  0:09 Exit: Timelimit hit.\n"
      "  0:09 ShutdownGame:\n"
      "  0:09 ------------------------------------------------------------\n";
  EXPECT_EQ(c.convert(log), section("q3ctf1", "4",
                                    "Ann^7 entered the game\nAnn^7 is on team RED\nAnn^7 is using model sarge\n"
                                    "Bob^7 entered the game\nBob^7 is on team BLUE\nBob^7 is using model doom\n"
                                    "Ann^7 got the BLUE flag!\n"
                                    "Ann^7 was railed by Bob^7\n"
                                    "Ann^7: gg ShutdownGame: InitGame: Warmup:\n"
                                    "Bob^7 disconnected\n"));
}

TEST(Program, WarmupIsSkippedAndUnfinishedGamesAreLeftOut) {
  Converter c;
  EXPECT_EQ(c.convert(initGame("dm1") + "  0:01 Kill: 0 1 10: A killed B by MOD_RAILGUN\n"), "");

  const std::string log = initGame("dm1") +
                          "  0:00 Warmup:\n"
                          "  0:01 Kill: 0 1 10: A killed B by MOD_GAUNTLET\n" +
                          initGame("dm2") +
                          "  0:03 Kill: 0 1 10: A killed B by MOD_RAILGUN\n"
                          "  0:04 ShutdownGame:\n"
                          "  0:04 ----\n" +
                          initGame("dm3") + "  0:05 Kill: 0 1 10: A killed B by MOD_SHOTGUN\n";
  // The warm-up's own InitGame already began a section, which stays empty.
  EXPECT_EQ(c.convert(log), kBegin + "Current map: dm1\nGameType: 0\n" +
                                section("dm2", "0", "B^7 was railed by A^7\n"));
}

TEST(Program, OspGamesBeginAtGameStartAndEndWithWeaponStatistics) {
  Converter c;
  // The server names its protocol "com_protocol", as ioq3 builds do.
  const std::string log = std::string("0.0 InitGame: \\g_gametype\\0\\gamename\\osp\\mapname\\pro-q3dm6\\com_protocol\\71\n") +
                          "10.0 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
                          "10.1 Kill: 0 1 7: Ann killed Bob by MOD_ROCKET_SPLASH\n"
                          "11.0 Game_Start:\n"
                          "11.1 ClientUserinfoChanged: 0 n\\Ann\\t\\0\\model\\sarge\n"
                          "11.5 Kill: 0 1 7: Ann killed Bob by MOD_ROCKET_SPLASH 3\n"
                          "11.6 Item: 0 team_CTF_blueflag\n"
                          "11.7 ClientDisconnect: 0\n"
                          "20.0 Weapon_Stats: 0 MachineGun:10:2:0:0 Given:100 Recvd:50\n"
                          "20.1 ShutdownGame:\n"
                          "20.1 ----\n";
  EXPECT_EQ(c.convert(log), section("pro-q3dm6", "0",
                                    "Bob^7 almost dodged Ann^7's rocket\n"
                                    "Ann^7 disconnected\n"
                                    "Ann^7 accuracy statistics MachineGun 10 2:0:0\n"
                                    "Ann^7 accuracy statistics Given 100 \n"
                                    "Ann^7 accuracy statistics Recvd 50 \n"));
}

TEST(Program, ClientStatisticsBlockEndingInShutdownStillClosesTheGame) {
  Converter c;
  const std::string log = initGame("dm1") +
                          "^7Stats for Ann\n"
                          "^7[WP]RG ^2 50.0 (10/20)\n"
                          "  0:04 ShutdownGame:\n" +
                          initGame("dm2") + "  0:05 ShutdownGame:\n  0:05 ---\n";
  EXPECT_EQ(c.convert(log), section("dm1", "0", "Ann^7 accuracy statistics Railgun 20 10\n") +
                                section("dm2", "0", ""));
}

namespace {

// Removes the sections that a carry-over run begins and never fills: a begin
// line with its two information lines directly followed by another begin.
std::string withoutEmptySections(const std::string& text) {
  static const std::regex empty(kBegin + "Current map: [^\n]*\nGameType: [^\n]*\n(?=" + kBegin + ")");
  return std::regex_replace(text, empty, "");
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line + "\n");
  return result;
}

std::string join(const std::vector<std::string>& all, size_t from, size_t to) {
  std::string text;
  for (size_t i = from; i < to && i < all.size(); ++i) text += all[i];
  return text;
}

// Runs the converter in carry-over mode on each part in turn, as the season
// driver does on a live log that is emptied after every run, and returns the
// targets one after the other.
std::string convertInParts(Converter& c, const std::vector<std::string>& parts) {
  std::string targets;
  for (const std::string& part : parts) {
    c.dir.write("live.log", part);
    kstest::RunResult result = c.run("live.log t.log 1");
    EXPECT_EQ(result.status, 0);
    targets += c.dir.read("t.log");
  }
  return targets;
}

}  // namespace

TEST(CarryOver, GameCutByTruncationIsTranslatedWholeOnTheNextRun) {
  const std::vector<std::string> log = lines(
      "  0:00 ----\n" + initGame("dm1") +
      "  0:01 Kill: 0 1 10: A killed B by MOD_RAILGUN\n"
      "  0:02 ShutdownGame:\n"
      "  0:02 ----\n"
      "  0:00 ----\n" +
      initGame("dm2") +
      "  0:01 Kill: 1 0 10: B killed A by MOD_RAILGUN\n"
      "  0:02 Kill: 0 1 10: A killed B by MOD_SHOTGUN\n"
      "  0:03 ShutdownGame:\n"
      "  0:03 ----\n"
      "  0:00 ----\n" +
      initGame("dm3") +
      "  0:01 Kill: 0 1 10: A killed B by MOD_GAUNTLET\n"
      "  0:02 ShutdownGame:\n"
      "  0:02 ----\n");
  Converter whole;
  const std::string expected = whole.convert(join(log, 0, log.size()));
  ASSERT_EQ(count(expected, kEnd), 3u);

  Converter c;
  c.dir.write("live.log", join(log, 0, 8));  // cut after dm2's first kill
  ASSERT_EQ(c.run("live.log t.log 1").status, 0);
  // The source begins with a line before its InitGame, so that InitGame is
  // handled before the (empty) carried lines and again after them: an empty
  // section comes first.
  const std::string first = c.dir.read("t.log");
  EXPECT_EQ(first, kBegin + "Current map: dm1\nGameType: 0\n" + section("dm1", "0", "B^7 was railed by A^7\n"));
  // The line after the last ShutdownGame is in neither output.
  EXPECT_EQ(c.dir.read("kestro_lastgame_1_live.log"), join(log, 5, 8));
  EXPECT_EQ(c.dir.read("kestro_lastgame_2_live.log"), join(log, 0, 1));

  const std::string second = convertInParts(c, {join(log, 8, log.size())});
  EXPECT_EQ(withoutEmptySections(first + second), expected);
  EXPECT_EQ(c.dir.read("kestro_lastgame_1_live.log"), "");
}

TEST(CarryOver, SourceWithoutACompleteGameKeepsEverythingForTheNextRun) {
  Converter c;
  c.dir.write("kestro_lastgame_1_live.log", "carried line\n");
  const std::string source = "before\n" + initGame("dm1") + "  0:01 Kill: 0 1 10: A killed B by MOD_RAILGUN\n";
  c.dir.write("live.log", source);
  ASSERT_EQ(c.run("live.log t.log 1").status, 0);
  EXPECT_EQ(c.dir.read("t.log"), "");
  EXPECT_EQ(c.dir.read("kestro_lastgame_1_live.log"), "carried line\n" + source);

  // Lines before the first InitGame travel byte for byte, odd bytes and
  // overlong lines included.
  const std::string odd = std::string("odd\0byte line\n", 15) + std::string(1200, 'z') + "\n";
  c.dir.write("live.log", odd);
  ASSERT_EQ(c.run("live.log t.log 1").status, 0);
  EXPECT_EQ(c.dir.read("kestro_lastgame_1_live.log"), "carried line\n" + source + odd);
}

TEST(RealLogs, EveryLogConvertsAndSplitsIntoItsGames) {
  const std::filesystem::path dir = KS_REALLOGS_DIR;
  if (!std::filesystem::exists(dir)) GTEST_SKIP() << "no real logs at " << dir;
  struct Expectation {
    const char* file;
    size_t begins;  // sections begun
    size_t ends;    // sections ended
  };
  const Expectation expectations[] = {
      {"baseq3-server-ffa-warmups-short.log", 3, 3},
      // Two of three games end; a "Warmup:" in a broadcast line skips each to its end.
      {"cpma-server-console-ffa-qconsole.log", 2, 2},
      // 21 games, one without a ShutdownGame: the next InitGame begins anew.
      {"ioq3-server-ffa-ctf-codeminer-games.log", 21, 20},
      {"osp-server-ffa-1game-7players.log", 1, 1},
      {"osp-server-ffa-bots-1game.log", 1, 1},
      // 22 InitGames, of which only the 4 with a Game_Start are matches.
      {"osp-server-ffa-multigame-warmups.log", 4, 4},
      {"osp-server-ffa-warmups-short.log", 0, 0},
  };
  Converter c;
  for (const Expectation& e : expectations) {
    const std::filesystem::path log = dir / e.file;
    if (!std::filesystem::exists(log)) continue;
    kstest::RunResult result = c.run("'" + log.string() + "' t.log");
    EXPECT_EQ(result.status, 0) << e.file;
    EXPECT_EQ(result.output, "") << e.file;
    const std::string target = c.dir.read("t.log");
    EXPECT_EQ(count(target, kBegin), e.begins) << e.file;
    EXPECT_EQ(count(target, kEnd), e.ends) << e.file;
  }
}

TEST(RealLogs, CarryOverOverTwoRunsMatchesOneRun) {
  const std::filesystem::path path = std::filesystem::path(KS_REALLOGS_DIR) / "osp-server-ffa-multigame-warmups.log";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no real log at " << path;
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::vector<std::string> log = lines(content.str());

  Converter whole;
  const std::string expected = whole.convert(content.str());
  // Cut inside three matches (Game_Start lines 72, 2163, 4314) and between
  // warm-ups. A cut inside the last match would leave the second part without
  // an InitGame: the season driver never runs the converter on such a log.
  for (size_t cut : {100u, 3000u, 4400u, 4480u}) {
    Converter c;
    const std::string targets = convertInParts(c, {join(log, 0, cut), join(log, cut, log.size())});
    EXPECT_EQ(withoutEmptySections(targets), expected) << "cut at line " << cut;
  }
}
