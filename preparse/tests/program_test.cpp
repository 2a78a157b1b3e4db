// Black-box tests of the ks-preparse program: command line, game framing,
// carry-over between runs, and the real server logs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
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
  // A directory or a device opens, but is no log.
  c.dir.write("folder/x", "");
  for (const char* source : {"missing.log", "folder", "/dev/null"}) {
    kstest::RunResult result = c.run(std::string(source) + " t.log");
    EXPECT_EQ(result.status, 1) << source;
    EXPECT_EQ(result.output, "error: couldnt open file to read\n") << source;
    EXPECT_TRUE(c.dir.exists("t.log"));  // created before the source was checked
  }

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
                                    "Bob^7 disconnected\n"
                                    // What the server's exit states of the game.
                                    "\\kestro-fact\\duration\\9\n"
                                    "\\kestro-fact\\ended\\timelimit\n"));
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
  // The warm-up's own InitGame began a section, which the next InitGame
  // finds unended: it is not written.
  EXPECT_EQ(c.convert(log), section("dm2", "0", "B^7 was railed by A^7\n"));
}

TEST(Program, GamesTheServerNeverEndedAreNotWritten) {
  // Each game here is cut by a restart: the next line is a new InitGame.
  const std::string osp_init = "0.0 InitGame: \\g_gametype\\0\\gamename\\osp\\mapname\\";
  const std::string log =
      // Long enough to reach the file before its restart, so that the file
      // is cut back.
      initGame("long") + [] {
        std::string kills;
        for (int i = 0; i < 60000; ++i) kills += "  0:01 Kill: 0 1 10: Ann killed Bob by MOD_RAILGUN\n";
        return kills;
      }() +
      // A game directly followed by the next; a team value that wrote
      // nothing leaves the latch set.
      "  0:00 ----\n" + initGame("cut1") +
      "  0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
      "  0:02 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
      "  0:03 Kill: 0 1 10: Ann killed Bob by MOD_RAILGUN\n" +
      initGame("dm1") +
      "  0:01 ClientUserinfoChanged: 1 n\\Cy\\t\\0\\model\\doom\n"  // joins only with the latch set
      "  0:02 Kill: 1 2 10: Cy killed Dan by MOD_SHOTGUN\n"
      "  0:03 ShutdownGame:\n" +
      // A game followed by a warm-up, whose shutdown is not the game's.
      initGame("cut2") + "  0:01 Kill: 0 1 10: Ann killed Bob by MOD_GAUNTLET\n" + initGame("warm") +
      "  0:00 Warmup:\n"
      "  0:01 Kill: 0 1 10: Ann killed Bob by MOD_PLASMA\n"
      "  0:02 ShutdownGame:\n" +
      // An OSP match followed by an OSP warm-up.
      osp_init + "cut3\\protocol\\71\n"
      "1.0 Game_Start:\n"
      "1.1 Kill: 0 1 6: Ann killed Bob by MOD_LIGHTNING\n" +
      osp_init + "warm\\protocol\\71\n"
      "0.0 Warmup:\n"
      "1.1 Kill: 0 1 6: Ann killed Bob by MOD_ROCKET\n"
      "2.0 ShutdownGame:\n" +
      // An OSP match followed by a game of a server without OSP.
      osp_init + "cut4\\protocol\\71\n"
      "1.0 Game_Start:\n"
      "1.1 Kill: 0 1 6: Ann killed Bob by MOD_BFG\n" +
      initGame("dm2") +
      "  0:01 Kill: 2 3 10: Eve killed Fay by MOD_RAILGUN\n"
      "  0:02 ShutdownGame:\n";
  // Only the two games that ended are written; the warm-up's empty section
  // stays as it always was.
  const std::string expected = section("dm1", "0", "Dan^7 was gunned down by Cy^7\n") +
                               section("warm", "0", "") + section("dm2", "0", "Fay^7 was railed by Eve^7\n");
  Converter c;
  EXPECT_EQ(c.convert(log), expected);
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

TEST(Program, OnlyTheLineStartFramesAGame) {
  Converter c;
  // Player names and texts that hold framing keywords, a broadcast that
  // mentions a warm-up, and an overlong chat line whose rest (from byte 509
  // on) begins with "ShutdownGame:".
  const std::string overlong = "  0:05 say: Ann: " + std::string(509 - 17, 'w') + "ShutdownGame:\n";
  const std::string log =
      initGame("dm1") +
      "  0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
      "  0:01 ClientUserinfoChanged: 1 n\\ShutdownGame:\\t\\2\\model\\doom\n"
      "  0:02 Kill: 1 0 10: ShutdownGame: killed Ann by MOD_RAILGUN\n"
      "  0:03 Kill: 0 2 10: Ann killed x InitGame: \\mapname\\evil\\protocol\\1 by MOD_RAILGUN\n"
      "  0:03 broadcast: print \"Warmup: over\"\n"
      "  0:04 say: ShutdownGame:: Game_Start: ShutdownGame:\n" +
      overlong +
      "  0:06 ShutdownGame:\n";
  const std::string target = c.convert(log);
  EXPECT_EQ(count(target, kBegin), 1u);
  EXPECT_EQ(count(target, kEnd), 1u);
  EXPECT_EQ(target.find("Current map: evil"), std::string::npos);
  EXPECT_NE(target.find("ShutdownGame:^7: Game_Start: ShutdownGame:\n"), std::string::npos);
  EXPECT_NE(target.find("Ann^7: www"), std::string::npos);
}

TEST(Program, OspIsTakenFromTheInitGameLineOnly) {
  Converter c;
  // A player named like an OSP server's game start, between two games of a
  // server without OSP: the second game still begins at its InitGame.
  const std::string log = initGame("dm1") +
                          "  0:01 ShutdownGame:\n"
                          "  0:02 ClientUserinfoChanged: 0 n\\InitGame: \\gamename\\osp\\t\\0\\model\\m\n" +
                          initGame("dm2") +
                          "  0:03 Kill: 0 1 10: A killed B by MOD_RAILGUN\n"
                          "  0:04 ShutdownGame:\n";
  EXPECT_EQ(c.convert(log), section("dm1", "0", "") + section("dm2", "0", "B^7 was railed by A^7\n"));
}

TEST(Program, EachGameIsTranslatedFromItsOwnLines) {
  Converter c;
  // The first game leaves the team latch set (a team value that wrote
  // nothing); an OSP warm-up without a match follows; then a game of a server
  // without OSP whose InitGame names no map.
  const std::string log = initGame("dm1") +
                          "  0:01 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
                          "  0:02 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
                          "  0:03 ShutdownGame:\n"
                          "0.0 InitGame: \\g_gametype\\0\\gamename\\osp\\mapname\\pro1\\protocol\\71\n"
                          "0.0 Warmup:\n"
                          "9.0 ShutdownGame:\n"
                          "  0:00 InitGame: \\g_gametype\\1\\sv_hostname\\x\n"
                          "  0:01 ClientUserinfoChanged: 1 n\\Bob\\t\\0\\model\\doom\n"
                          "  0:02 ShutdownGame:\n";
  // Bob does not join, as the latch was the first game's; the last section
  // names no map, as its InitGame names none.
  EXPECT_EQ(c.convert(log), section("dm1", "0",
                                    "Ann^7 entered the game\nAnn^7 is on team RED\nAnn^7 is using model sarge\n") +
                                section("", "", ""));
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

}  // namespace

TEST(CarryOver, GameCutByTruncationIsTranslatedWholeOnTheNextRun) {
  const std::vector<std::string> log = lines(
      "  0:00 ----\n" + initGame("dm1") +
      "  0:01 Kill: 0 1 10: A killed B by MOD_RAILGUN\n"
      "  0:02 ShutdownGame:\n" +
      initGame("dm2") +  // directly after the ShutdownGame
      "  0:01 Kill: 1 0 10: B killed A by MOD_RAILGUN\n"
      "  0:02 Kill: 0 1 10: A killed B by MOD_SHOTGUN\n"
      "  0:03 ShutdownGame:\n"
      "  0:03 ----\n");
  Converter whole;
  const std::string expected = whole.convert(join(log, 0, log.size()));
  ASSERT_EQ(count(expected, kEnd), 2u);

  Converter c;
  c.dir.write("live.log", join(log, 0, 5));  // cut after dm2's first kill
  ASSERT_EQ(c.run("live.log t.log 1").status, 0);
  const std::string first = c.dir.read("t.log");
  EXPECT_EQ(first, section("dm1", "0", "B^7 was railed by A^7\n"));
  // The unfinished game waits whole, its InitGame included.
  EXPECT_EQ(c.dir.read("kestro_lastgame_1_live.log"), join(log, 4, 5));

  c.dir.write("live.log", join(log, 5, log.size()));
  ASSERT_EQ(c.run("live.log t.log 1").status, 0);
  EXPECT_EQ(first + c.dir.read("t.log"), expected);
  EXPECT_EQ(c.dir.read("kestro_lastgame_1_live.log"), join(log, 8, log.size()));
  // Only the tail stays behind between runs.
  EXPECT_FALSE(c.dir.exists("kestro_lastgame_1_live.log-input"));
  EXPECT_FALSE(c.dir.exists("kestro_lastgame_1_live.log-new"));
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
    size_t lines;   // lines written in all
  };
  const Expectation expectations[] = {
      {"baseq3-server-ffa-warmups-short.log", 3, 3, 17},
      // Two of three games end. A broadcast that mentions "Warmup:" is no
      // warm-up: both games are translated in full.
      {"cpma-server-console-ffa-qconsole.log", 2, 2, 1244},
      // 21 games, one without a ShutdownGame (the server restarted): it is
      // not written, and the next InitGame begins anew.
      // Of its 20 games, 10 end with an exit (length and reason: 2 fact
      // lines), 3 of them with the team score (a third).
      {"ioq3-server-ffa-ctf-codeminer-games.log", 20, 20, 2441 + 23},
      // The date, length and reason of each OSP match that ended with an
      // exit: 3 fact lines.
      {"osp-server-ffa-1game-7players.log", 1, 1, 834 + 3},
      // ... and of its two bots, a fact line each.
      {"osp-server-ffa-bots-1game.log", 1, 1, 145 + 3 + 2},
      // 22 InitGames, of which only the 4 with a Game_Start are matches; one
      // of them aborted (a date, no exit).
      {"osp-server-ffa-multigame-warmups.log", 4, 4, 3278 + 10},
      {"osp-server-ffa-warmups-short.log", 0, 0, 0},
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
    EXPECT_EQ(count(target, "\n"), e.lines) << e.file;
  }
}


namespace {

// A log with one long game: its target is far larger than the file size
// limit that limitedRun() sets.
std::string longGame() {
  std::string log = initGame("dm1");
  for (int i = 0; i < 3000; ++i) log += "  0:01 Kill: 0 1 10: A killed B by MOD_RAILGUN\n";
  return log + "  0:02 ShutdownGame:\n";
}

// Runs ks-preparse with a file size limit of 32 KB. The limit's signal is
// ignored, so that a write past it fails as a full disk makes it fail.
kstest::RunResult limitedRun(Converter& c, const std::string& arguments) {
  return kstest::runIn(c.dir, "sh -c \"trap '' XFSZ; ulimit -f 64; exec ./ks-preparse " + arguments + "\"");
}

}  // namespace

TEST(Failures, AnIncompleteTargetIsRemoved) {
  Converter c;
  c.dir.write("s.log", longGame());
  kstest::RunResult result = limitedRun(c, "s.log t.log");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, "error: couldnt write file\n");
  EXPECT_FALSE(c.dir.exists("t.log"));

  // A device is never removed.
  result = c.run("s.log /dev/full");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, "error: couldnt write file\n");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST(Failures, AFailedCarryOverRunLeavesThePreviousTailAsItWas) {
  Converter c;
  const std::string tail = "  0:00 InitGame: \\mapname\\dm0\\protocol\\68\n";
  const std::string tail_name = "kestro_lastgame_1_s.log";
  struct Case {
    const char* what;
    std::function<kstest::RunResult()> run;
    const char* message;
  };
  const Case cases[] = {
      {"the run's input does not fit", [&] { return limitedRun(c, "s.log t.log 1"); }, "error: couldnt write file\n"},
      {"the run is killed (by the limit's signal)",
       [&] { return kstest::runIn(c.dir, "sh -c 'ulimit -f 64; exec ./ks-preparse s.log t.log 1' 2>/dev/null"); }, ""},
      {"the new tail cannot be made",
       [&] {
         c.dir.write(tail_name + "-new/x", "");  // a directory where the new tail is written
         return c.run("s.log t.log 1");
       },
       "error: couldnt open file to write\n"},
  };
  for (const Case& failure : cases) {
    c.dir.write("s.log", longGame() + initGame("dm2"));
    c.dir.write(tail_name, tail);
    kstest::RunResult result = failure.run();
    EXPECT_NE(result.status, 0) << failure.what;
    EXPECT_EQ(result.output, failure.message) << failure.what;
    EXPECT_EQ(c.dir.read(tail_name), tail) << failure.what;
    if (result.status == 1) {
      EXPECT_FALSE(c.dir.exists("t.log")) << failure.what;
      EXPECT_FALSE(c.dir.exists(tail_name + "-input")) << failure.what;
    }
  }

  // A tail that is there but cannot be read is neither passed over nor
  // replaced.
  std::filesystem::remove_all(c.dir.path() / (tail_name + "-new"));
  std::filesystem::remove(c.dir.path() / tail_name);
  c.dir.write(tail_name + "/x", "");
  kstest::RunResult result = c.run("s.log t.log 1");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output, "error: couldnt read file\n");
  EXPECT_TRUE(c.dir.exists(tail_name + "/x"));
}
