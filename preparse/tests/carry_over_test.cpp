// Carry-over mode against one normal run. The season driver converts a live
// log that it empties after every run, so the log reaches the converter in
// pieces cut anywhere, even inside a line. Over all runs every complete game
// must come out once, exactly as one normal run over the whole log writes
// it, and whatever follows the last "ShutdownGame:" must wait in the tail.
//
// The conversions run in memory, so that a log can be cut at every byte;
// one test checks that the built program, reading and writing files, agrees.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "conversion.h"
#include "program_runner.h"

namespace fs = std::filesystem;

namespace {

// Conversions in memory, one after the other, as the season driver runs
// them on a live log: each carry-over conversion joins the tail the one
// before left.
class Converter {
 public:
  // Normal mode: the target for the whole log.
  std::string convert(const std::string& log) { return preparse::convertBytes({}, log, false).target; }

  // Carry-over mode, one conversion per piece of the live log: the targets
  // of all conversions, one after the other.
  std::string convertInPieces(const std::string& log, std::vector<size_t> cuts) {
    cuts.push_back(log.size());
    std::string targets;
    size_t from = 0;
    for (size_t cut : cuts) {
      preparse::ConvertedBytes piece = preparse::convertBytes(tail_, std::string_view(log).substr(from, cut - from), true);
      targets += piece.target;
      tail_ = std::move(piece.tail);
      from = cut;
    }
    return targets;
  }

  const std::string& tail() const { return tail_; }
  void clearTail() { tail_.clear(); }

 private:
  std::string tail_;
};

// The built program, run in a scratch directory, where it makes its
// carry-over files.
class Program {
 public:
  Program() { dir_.installProgram("ks-preparse"); }

  std::string convert(const std::string& log) {
    dir_.write("whole.log", log);
    EXPECT_EQ(run("whole.log whole.out"), 0);
    return dir_.read("whole.out");
  }

  std::string convertInPieces(const std::string& log, std::vector<size_t> cuts) {
    cuts.push_back(log.size());
    std::string targets;
    size_t from = 0;
    for (size_t cut : cuts) {
      dir_.write("live.log", log.substr(from, cut - from));
      EXPECT_EQ(run("live.log live.out 1"), 0);
      targets += dir_.read("live.out");
      from = cut;
    }
    return targets;
  }

  std::string tail() const { return dir_.read("kestro_lastgame_1_live.log"); }

 private:
  int run(const std::string& arguments) {
    kstest::RunResult result = kstest::runIn(dir_, "./ks-preparse " + arguments);
    EXPECT_EQ(result.output, "") << arguments;
    return result.status;
  }

  kstest::TempDir dir_;
};

// The log's bytes after its last "ShutdownGame:" line: the final tail.
std::string afterLastShutdown(const std::string& log) {
  const std::string keyword = "ShutdownGame:";
  size_t at = log.rfind(keyword);
  if (at == std::string::npos) return log;
  size_t end = log.find('\n', at);
  return end == std::string::npos ? "" : log.substr(end + 1);
}

// Checks one way of cutting the log; `what` names it in a failure.
void expectSameAsOneRun(Converter& c, const std::string& log, const std::string& expected,
                        const std::vector<size_t>& cuts, const std::string& what) {
  c.clearTail();
  EXPECT_EQ(c.convertInPieces(log, cuts), expected) << what;
  EXPECT_EQ(c.tail(), afterLastShutdown(log)) << what;
}

std::string cutsText(const std::vector<size_t>& cuts) {
  std::string text = "cuts at";
  for (size_t cut : cuts) text += " " + std::to_string(cut);
  return text;
}

// Two servers' worth of awkward games: a warm-up, a game that never ends
// before the next begins, a team latch left set at a game's end, a game
// start without a map, an OSP warm-up followed by a server without OSP, an
// OSP match, a client statistics block, carriage returns, overlong lines
// (one of them a "ShutdownGame:"), and an unfinished game at the end.
std::string awkwardLog() {
  // The rest of each overlong line, from byte 509 on, begins with a keyword.
  const std::string overlong_chat = "  0:05 say: Ann: " + std::string(509 - 17, 'w') + "ShutdownGame:\n";
  const std::string overlong_shutdown =
      "  0:09 ShutdownGame: " + std::string(509 - 21, 's') + "InitGame: \\mapname\\evil\\protocol\\1\n";
  return "  0:00 ----\n"
         "  0:00 InitGame: \\g_gametype\\4\\mapname\\ctf1\\protocol\\68\n"
         "  0:00 Warmup:\n"
         "  0:01 Kill: 0 1 10: A killed B by MOD_GAUNTLET\n"
         "  0:02 InitGame: \\g_gametype\\4\\mapname\\ctf1\\protocol\\68\n"
         "  0:03 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"
         "  0:03 ClientUserinfoChanged: 1 n\\Bob\\t\\2\\model\\doom\n"
         "  0:04 Kill: 1 0 10: Bob killed Ann by MOD_RAILGUN\r\n"
         "  0:04 say: Ann: gg\r\n" +
         overlong_chat +
         "  0:06 ClientUserinfoChanged: 0 n\\Ann\\t\\1\\model\\sarge\n"  // sets the latch, writes nothing
         "  0:07 ShutdownGame:\n"
         "  0:07 InitGame: \\g_gametype\\4\\mapname\\ctf2\\protocol\\68\n"
         "  0:08 Kill: 0 1 10: A killed B by MOD_SHOTGUN\n"
         "  0:08 InitGame: \\g_gametype\\0\\sv_hostname\\no map\n"  // begins anew, without a map
         "  0:08 ClientUserinfoChanged: 2 n\\Cy\\t\\0\\model\\visor\n" +
         overlong_shutdown +
         "0.0 InitGame: \\g_gametype\\0\\gamename\\osp\\mapname\\pro1\\protocol\\71\n"
         "0.0 Warmup:\n"
         "2.0 ShutdownGame:\n"
         "  0:00 InitGame: \\g_gametype\\0\\mapname\\dm2\\protocol\\68\n"
         "  0:01 Kill: 0 1 7: A killed B by MOD_ROCKET_SPLASH\n"
         "^7Stats for A\n"
         "^7[WP]RL ^2 50.0 (10/20)\n"
         "  0:02 ShutdownGame:\n"
         "0.0 InitGame: \\g_gametype\\0\\gamename\\osp\\mapname\\pro2\\protocol\\71\n"
         "0.1 ClientUserinfoChanged: 0 n\\Ann\\t\\0\\model\\sarge\n"
         "1.0 Game_Start:\n"
         "1.1 Kill: 0 1 6: Ann killed Bob by MOD_LIGHTNING\n"
         "1.2 say: Ann: nice\n"
         "9.0 Weapon_Stats: 0 LightningGun:40:12:1:0 Given:300 Recvd:100\n"
         "9.1 ShutdownGame:\n"
         "9.1 ----\n"
         "  0:00 InitGame: \\g_gametype\\0\\mapname\\dm3\\protocol\\68\n"
         "  0:01 Kill: 0 1 10: A killed B by MOD_RAIL";
}

}  // namespace

TEST(CarryOverPieces, AwkwardLogCutAtEveryByte) {
  Converter c;
  const std::string log = awkwardLog();
  const std::string expected = c.convert(log);
  ASSERT_NE(expected.find("Current map: pro2"), std::string::npos);
  ASSERT_EQ(expected.find("evil"), std::string::npos);
  // Each pass cuts at every 29th byte from its own start, so that the passes
  // together cut at every byte.
  constexpr size_t kStride = 29;
  size_t passes = 0;
  for (size_t phase = 1; phase <= kStride && !HasFailure(); ++phase) {
    std::vector<size_t> cuts;
    for (size_t at = phase; at < log.size(); at += kStride) cuts.push_back(at);
    expectSameAsOneRun(c, log, expected, cuts, cutsText(cuts));
    ++passes;
  }
  EXPECT_EQ(passes, kStride);
}

TEST(CarryOverPieces, AwkwardLogCutIntoPiecesOfRandomSize) {
  Converter c;
  const std::string log = awkwardLog();
  const std::string expected = c.convert(log);
  std::mt19937 random(7);
  for (int round = 0; round < 30 && !HasFailure(); ++round) {
    std::vector<size_t> cuts;
    for (size_t at = 0; (at += 1 + random() % 400) < log.size();) cuts.push_back(at);
    expectSameAsOneRun(c, log, expected, cuts, cutsText(cuts));
  }
}

TEST(CarryOverPieces, RealLogs) {
  const fs::path dir = KS_REALLOGS_DIR;
  if (!fs::exists(dir)) GTEST_SKIP() << "no real logs at " << dir;
  std::mt19937 random(11);
  for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".log") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string log = content.str();
    Converter c;
    const std::string expected = c.convert(log);
    const std::string name = entry.path().filename().string();

    // Around every line that frames a game: before it, inside its keyword,
    // and on both sides of its line end.
    for (const char* keyword : {"InitGame:", "Game_Start:", "Warmup:", "ShutdownGame:"}) {
      for (size_t at = log.find(keyword); at != std::string::npos; at = log.find(keyword, at + 1)) {
        const size_t end = log.find('\n', at);
        for (size_t cut : {at - 1, at + 3, end, end + 1}) {
          if (cut == 0 || cut >= log.size()) continue;
          expectSameAsOneRun(c, log, expected, {cut}, name + " cut at " + std::to_string(cut));
        }
      }
    }
    // And many pieces of random sizes.
    for (int round = 0; round < 6; ++round) {
      std::vector<size_t> cuts;
      for (size_t at = 0; (at += 1 + random() % (log.size() / 20)) < log.size();) cuts.push_back(at);
      expectSameAsOneRun(c, log, expected, cuts, name + " " + cutsText(cuts));
    }
    if (HasFailure()) return;
  }
}

TEST(CarryOverPieces, TheProgramReadingFilesAgreesWithTheConversionInMemory) {
  const std::string log = awkwardLog();
  Converter memory;
  Program program;
  EXPECT_EQ(program.convert(log), memory.convert(log));
  const size_t n = log.size();
  for (const std::vector<size_t>& cuts : {std::vector<size_t>{100}, {n / 4, n / 2, 3 * n / 4}, {n - 5}}) {
    EXPECT_EQ(program.convertInPieces(log, cuts), memory.convertInPieces(log, cuts)) << cutsText(cuts);
    EXPECT_EQ(program.tail(), memory.tail()) << cutsText(cuts);
  }
}
