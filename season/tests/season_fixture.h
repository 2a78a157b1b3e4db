// A scratch season: the programs, a report configuration and a season
// configuration in a temporary working directory, against the test run's own
// MariaDB server, with a database of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "program_runner.h"
#include "throwaway_database.h"

// What a server writes for a game on q3dm17 in which `killer` (client 2)
// rails Bob (client 3) `kills` times, up to but without its end.
inline std::string serverGame(const std::string& killer, int kills) {
  std::string game =
      "  0:00 InitGame: \\sv_hostname\\test\\g_gametype\\0\\mapname\\q3dm17\\protocol\\68\n"
      "  0:01 ClientUserinfoChanged: 2 n\\" + killer + "\\t\\0\\model\\sarge\n"
      "  0:02 ClientUserinfoChanged: 3 n\\Bob\\t\\0\\model\\visor\n";
  for (int i = 0; i < kills; ++i) game += "  0:05 Kill: 2 3 10: " + killer + " killed Bob by MOD_RAILGUN\n";
  return game;
}

// The end of a server's game.
inline const std::string kGameEnd = "  0:09 Exit: Timelimit hit.\n  0:10 ShutdownGame:\n";

class SeasonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kstest::ThrowawayDatabase& db = kstest::sharedDatabase();
    if (!db.start()) GTEST_SKIP() << db.error();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    database_ = "ks_" + std::string(info->name());
    for (char& c : database_) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    database_.resize(std::min<std::size_t>(database_.size(), 60));  // the server allows 64
    for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift", "kestrostats-site"}) {
      if (std::filesystem::exists(kstest::binDir() / program)) dir_.installProgram(program);
    }
    std::filesystem::create_directory(dir_.path() / "html");
    dir_.write("c-default.cfg", "");
    writeSeasonConfig("");
  }

  // s-default.cfg: this test's database as root, no season site (a test
  // that wants one says so), then `extra` lines, which win.
  void writeSeasonConfig(const std::string& extra) {
    dir_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                    "\ndb_user:\nroot\nmake_season_site:\nno\n" + extra);
  }

  kstest::RunResult season(const std::string& args) { return kstest::runIn(dir_, "./kestrostats-s " + args); }

 public:
  // A query in this test's database, one row per line, tab-separated.
  std::string sql(const std::string& statement) const {
    return kstest::sharedDatabase().query("use " + database_ + "; " + statement);
  }

  // One column of one player's row ("" when the row does not exist).
  std::string column(const std::string& name, const std::string& col) const {
    std::string out = sql("select " + col + " from playerstats where raw_name='" + name + "';");
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }

  kstest::TempDir dir_;
  std::string database_;
};

// A season on live logs, archived in archive/; `extra` settings follow.
class LiveLogSeasonTest : public SeasonTest {
 protected:
  explicit LiveLogSeasonTest(std::string extra = "") : extra_(std::move(extra)) {}
  void SetUp() override {
    SeasonTest::SetUp();
    if (IsSkipped()) return;
    std::filesystem::create_directory(dir_.path() / "archive");
    writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\n" + extra_);
  }

 private:
  std::string extra_;
};
