// Tests of the log generator and the benchmark script: reproducible output,
// logs that the analyser and the pre-parser take as games, and a quick run of
// the benchmark.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "program_runner.h"
#include "server_games.h"

namespace fs = std::filesystem;

namespace {

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool contains(const std::string& text, const std::string& what) { return text.find(what) != std::string::npos; }

// A scratch directory with the generator and the two programs, set up as the
// analyser's working directory.
struct Workplace {
  kstest::TempDir dir;
  Workplace() {
    dir.installProgram("ks-loggen");
    dir.installProgram("kestrostats-c");
    dir.installProgram("ks-preparse");
    dir.write("c-default.cfg", "");
    fs::create_directory(dir.path() / "html");
  }
  // Writes a log with the generator and returns its text.
  std::string generate(const std::string& kind, const std::string& megabytes, const std::string& seed,
                       const std::string& file) {
    kstest::RunResult result = kstest::runIn(dir, "./ks-loggen " + kind + " " + megabytes + " " + seed + " " + file);
    EXPECT_EQ(result.status, 0) << kind;
    return dir.read(file);
  }
  int htmlPages(const std::string& ending) const {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir.path() / "html"))
      n += entry.path().filename().string().ends_with(ending);
    return n;
  }
};

// The figure after "games processed:" in the analyser's summary; -1 if absent.
int gamesProcessed(const std::string& output) {
  std::smatch m;
  if (!std::regex_search(output, m, std::regex("games processed: (\\d+)"))) return -1;
  return std::stoi(m[1]);
}

}  // namespace

TEST(Loggen, SameSeedSameBytesOtherSeedOtherBytes) {
  Workplace w;
  for (const std::string kind : {"console", "server", "unsteady-server"}) {
    const std::string a = w.generate(kind, "0.3", "42", kind + "-a.log");
    const std::string b = w.generate(kind, "0.3", "42", kind + "-b.log");
    const std::string c = w.generate(kind, "0.3", "43", kind + "-c.log");
    ASSERT_GE(a.size(), 300u * 1024) << kind;  // whole games up to at least the size asked for
    EXPECT_LT(a.size(), 600u * 1024) << kind;  // and not far past it
    EXPECT_EQ(a, b) << kind;
    EXPECT_NE(a, c) << kind;
    // Standard output carries the same bytes as a named file.
    kstest::RunResult piped = kstest::runIn(w.dir, "./ks-loggen " + kind + " 0.3 42");
    EXPECT_EQ(piped.status, 0);
    EXPECT_TRUE(piped.output == a) << kind;
    // A larger log starts with the same games.
    const std::string longer = w.generate(kind, "0.6", "42", kind + "-d.log");
    EXPECT_EQ(longer.compare(0, a.size(), a), 0) << kind;
  }
}

TEST(Loggen, RejectsBadCommandLines) {
  Workplace w;
  for (const char* arguments : {"", "console", "console 1", "other 1 1", "console x 1", "console 0 1",
                                "console -1 1", "console 1 seed", "console 1 -5", "server 1 1 out.log extra"}) {
    kstest::RunResult result = kstest::runIn(w.dir, std::string("./ks-loggen ") + arguments + " 2>/dev/null");
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.output, "") << arguments;
  }
  EXPECT_EQ(kstest::runIn(w.dir, "./ks-loggen console 1 1 no/such/dir/x.log 2>/dev/null").status, 1);
}

TEST(Loggen, ConsoleLogYieldsGamesOfEveryKind) {
  Workplace w;
  const std::string log = w.generate("console", "4", "7", "game.log");
  // Every kind of line the analyser reads, and chatter it rejects.
  for (const char* kind :
       {" was railed by ", " ate ", "'s rocket", "'s grenade", " almost dodged ", " was shredded by ",
        " was melted by ", " was blasted by ", " tried to invade ", " was impaled by ", " was disemboweled by ",
        " was pummeled by ", " was machinegunned by ", " was gunned down by ", " was electrocuted by ",
        "cratered.", "blew himself up.", "killed herself.", "entered the game\n", "entered the game (^1RED^7)",
        "entered the game (^4BLUE^7)", " is on team BLUE", " is using model ", " renamed to ", " disconnected",
        " got the BLUE flag!", " captured the RED flag!", " returned the ", " fragged ", "^1RED^7 leads: ",
        "Round starts!", "Current map: ", "Loaded OSP Client Version:", "Timelimit hit.", "hit the fraglimit.",
        "hit the capturelimit.", "Accuracy info for: ", "Damage Given: ", "Damage Recvd: ", "MATCH COMPLETE",
        "----- CL_Shutdown -----", "Match has begun!", "]/", " resolved to ", "RE_Shutdown( 0 )",
        "^7: ", "Hunk_Clear"}) {
    EXPECT_TRUE(contains(log, kind)) << kind;
  }
  // Mostly kill lines.
  EXPECT_GT(count(log, " by ") + count(log, " ate ") + count(log, " almost dodged "), count(log, "\n") / 2);
  // Games of a few hundred to a few thousand lines, with 2 to 16 players
  // entering at the start (a warm-up announces them twice).
  for (size_t at = log.find("Current map: "); at != std::string::npos;) {
    const size_t next = log.find("Current map: ", at + 1);
    const std::string game = log.substr(at, next == std::string::npos ? std::string::npos : next - at);
    const size_t lines = count(game, "\n");
    EXPECT_GE(lines, 150u);
    EXPECT_LE(lines, 9000u);
    const size_t first_kill = game.find(" by ");
    const size_t entries = count(game.substr(0, first_kill), " entered the game");
    EXPECT_GE(entries, 2u) << game.substr(0, 400);
    EXPECT_LE(entries, 16u) << game.substr(0, 400);
    at = next;
  }

  kstest::RunResult run = kstest::runIn(w.dir, "./kestrostats-c game.log");
  ASSERT_EQ(run.status, 0) << run.output;
  const int games = gamesProcessed(run.output);
  const int maps = static_cast<int>(count(log, "Current map: "));
  // Every generated game qualifies, warm-ups are discarded, and cut long
  // names are merged into their full names.
  EXPECT_EQ(games, maps);
  EXPECT_GT(games, 10);
  EXPECT_EQ(w.htmlPages("_main.html"), games);
  EXPECT_TRUE(contains(run.output, "Warm-up detected"));
  EXPECT_TRUE(contains(run.output, "Possible Duplicate Player detected"));
  EXPECT_TRUE(contains(run.output, "Server connect/reconnect detected"));
  const std::string rotation = w.dir.read("db_sql_gamestats.txt");
  for (const char* label : {"_FFA_PUB_main.html", "_CTF_", "_TDM_", "_CA_"}) EXPECT_TRUE(contains(rotation, label)) << label;
}

TEST(Loggen, ServerLogConvertsIntoGames) {
  Workplace w;
  const std::string log = w.generate("server", "4", "7", "server.log");
  for (const char* kind :
       {"InitGame: \\", "\\g_gametype\\4\\", "\\mapname\\", "\\gamename\\osp\\", "\\gamename\\baseq3\\",
        "Game_Start:", "Warmup:", "ClientConnect: ", "ClientUserinfoChanged: ", "\\model\\", "ClientBegin: ",
        "ClientDisconnect: ", "Kill: 1022 ", "<world> killed ", "Item: ", "say: ", "sayteam: ", "Flag_Pickup: ",
        "Flag_Capture: ", "Flag_Return: ", "Kill_Carrier: ", "team_CTF_redflag", "Weapon_Stats: ", " Given:",
        "Exit: ", "ShutdownGame:"}) {
    EXPECT_TRUE(contains(log, kind)) << kind;
  }
  for (const char* cause :
       {"MOD_SHOTGUN", "MOD_GAUNTLET", "MOD_MACHINEGUN", "MOD_GRENADE", "MOD_GRENADE_SPLASH", "MOD_ROCKET",
        "MOD_ROCKET_SPLASH", "MOD_PLASMA", "MOD_PLASMA_SPLASH", "MOD_RAILGUN", "MOD_LIGHTNING", "MOD_BFG",
        "MOD_BFG_SPLASH", "MOD_WATER", "MOD_SLIME", "MOD_LAVA", "MOD_CRUSH", "MOD_TELEFRAG", "MOD_FALLING",
        "MOD_SUICIDE", "MOD_TRIGGER_HURT", "MOD_NAILGUN", "MOD_GRAPPLE"}) {
    // OSP servers write a number after the cause, the others end the line.
    const std::string by = std::string("by ") + cause;
    EXPECT_TRUE(contains(log, by + " ") || contains(log, by + "\n")) << cause;
  }
  // The log ends with a whole game: its shutdown and the closing rule line.
  const size_t last_shutdown = log.rfind(" ShutdownGame:\n");
  ASSERT_NE(last_shutdown, std::string::npos);
  EXPECT_EQ(count(log.substr(last_shutdown), "\n"), 2u);
  EXPECT_TRUE(log.ends_with(" ------------------------------------------------------------\n"));

  ASSERT_EQ(kstest::runIn(w.dir, "./ks-preparse server.log converted.log").status, 0);
  const std::string converted = w.dir.read("converted.log");
  const size_t games = count(log, " Exit: ");  // one per game; warm-up sections have none
  EXPECT_GT(games, 10u);
  EXPECT_EQ(count(converted, "----------------- GAME BEGIN ---------------\n"), games);
  for (const char* kind : {" was railed by ", " almost dodged ", " cratered.", " picked up the item ",
                           " accuracy statistics R.Launcher ", " got the RED flag!", " captured the ",
                           " renamed to ", " disconnected", "^7: "})
    EXPECT_TRUE(contains(converted, kind)) << kind;

  // The analyser recognises the server log, converts it and writes every game.
  kstest::RunResult run = kstest::runIn(w.dir, "./kestrostats-c server.log");
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(contains(run.output, "Server log detected"));
  EXPECT_EQ(gamesProcessed(run.output), static_cast<int>(games));
}

TEST(Loggen, UnsteadyServerLogsKeepTheServersGames) {
  // Restarts in games and warm-ups, aborted games, warm-ups with and without
  // OSP, reconnects: every game written is one game of the server's, whole.
  Workplace w;
  kstest::prepareServerLogRun(w.dir);
  for (const char* seed : {"9", "10", "11"}) {  // each with restarts in games and in warm-ups
    const std::string log = w.generate("unsteady-server", "2", seed, "unsteady.log");
    // Restarts (more games begun than shut down) and aborted games (more
    // shut down than ended with an exit or warm-ups).
    EXPECT_GT(count(log, " InitGame: "), count(log, " ShutdownGame:")) << seed;
    EXPECT_GT(count(log, " ShutdownGame:"), count(log, " Exit: ") + count(log, " Warmup:")) << seed;
    for (const auto& entry : fs::directory_iterator(w.dir.path() / "html")) fs::remove(entry.path());
    ASSERT_EQ(kstest::runIn(w.dir, "./kestrostats-c unsteady.log").status, 0) << seed;
    const std::vector<kstest::GameFigures> written = kstest::writtenGames(w.dir);
    EXPECT_GT(written.size(), 20u) << seed;
    kstest::expectTheServersGames(log, written, std::string("seed ") + seed);
  }
}

TEST(Benchmark, QuickRunPrintsItsTable) {
  kstest::TempDir scratch;
  const std::string command = "KS_BIN_DIR='" + kstest::binDir().string() + "' KS_BENCH_DIR='" +
                              scratch.path().string() + "' bash '" KS_BENCH_DIR "/run-benchmark.sh' 2 2>&1";
  kstest::RunResult run = kstest::runIn(scratch, command);
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string number = " +[0-9]+\\.[0-9]+";
  for (const char* label : {"wc -l \\(baseline\\) +console", "kestrostats-c start-up wait alone +empty",
                            "kestrostats-c \\(raw\\) +console", "kestrostats-c \\(net: less 1 s wait\\) +console",
                            "wc -l \\(baseline\\) +server", "ks-preparse +server"}) {
    // Elapsed seconds first, and the peak memory in the last column.
    EXPECT_TRUE(std::regex_search(run.output, std::regex(std::string(label) + number + ".*" + number + "\n")))
        << label << "\n" << run.output;
  }
  EXPECT_TRUE(std::regex_search(run.output, std::regex("kestrostats-c wrote [1-9][0-9]* games")));
  EXPECT_TRUE(std::regex_search(run.output, std::regex("ks-preparse converted [1-9][0-9]* games")));
  // The start-up wait alone takes at least the second of processor time it spins for.
  std::smatch wait;
  ASSERT_TRUE(std::regex_search(run.output, wait, std::regex("start-up wait alone +empty +([0-9.]+)")));
  EXPECT_GE(std::stod(wait[1]), 0.99);
  // The generated logs are removed; the directory itself stays.
  EXPECT_FALSE(scratch.exists("console.log"));
  EXPECT_FALSE(scratch.exists("run"));
}

TEST(Benchmark, RefusesBadSizesAndMissingPrograms) {
  kstest::TempDir scratch;
  const std::string script = "bash '" KS_BENCH_DIR "/run-benchmark.sh' ";
  // No programs where the script looks, so that a size taken by mistake stops
  // there instead of starting a long run.
  const std::string bins = "KS_BIN_DIR=\"$PWD/nothing\" ";
  for (const char* size : {"x", "-1", "1.2.3", "''"}) {
    kstest::RunResult run = kstest::runIn(scratch, bins + script + size + " 2>&1");
    EXPECT_EQ(run.status, 2) << size;
    EXPECT_TRUE(contains(run.output, "usage:")) << size << run.output;
  }
  // Programs that were not built: the script names them and builds nothing.
  kstest::RunResult missing = kstest::runIn(scratch, bins + script + "2 2>&1");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(contains(missing.output, "nothing/ks-loggen not found")) << missing.output;
}
