// A season run from a timer: the first run of a fresh season, quiet runs, the
// database's port in the configuration, and a password that the command
// form's own quoting would break.
#include <sys/stat.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "season_fixture.h"

namespace {

class TimerRun : public SeasonTest {
 protected:
  kstest::RunResult run(const std::string& command) {
    return kstest::runIn(dir_, command + " 2> errors.txt");
  }
  std::string errors() const { return dir_.read("errors.txt"); }
};

}  // namespace

TEST_F(TimerRun, AFreshSeasonWithAnIdleLiveLogMakesItsDatabaseAndAnEmptySite) {
  if (!dir_.exists("kestrostats-site")) GTEST_SKIP() << "kestrostats-site is not built";
  std::filesystem::create_directory(dir_.path() / "archive");
  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\nmake_season_site:\nyes\n");
  dir_.write("live.log", serverGame("Alice", 1));  // no game has ended yet
  auto down = run("MYSQL_TCP_PORT=1 ./kestrostats-s live.log");
  EXPECT_EQ(down.status, 3) << errors();  // the database, not the site
  auto first = run("./kestrostats-s live.log");
  EXPECT_EQ(first.status, 0) << first.output << errors();
  EXPECT_EQ(errors(), "");
  EXPECT_EQ(sql("select count(*) from playerstats;"), "0\n");
  EXPECT_TRUE(dir_.exists("html/season/index.html"));
}

TEST_F(TimerRun, AQuietRunPrintsOneLineAndItsErrors) {
  dir_.write("a.log", serverGame("Alice", 2) + kGameEnd + serverGame("Carl", 1) + kGameEnd);
  auto quiet = run("./kestrostats-s -q a.log");
  ASSERT_EQ(quiet.status, 0) << errors();
  EXPECT_TRUE(std::regex_match(quiet.output, std::regex("kestrostats-s: 1 log, 2 new games, [0-9]+\\.[0-9] s\n")))
      << quiet.output;
  EXPECT_EQ(column("Bob", "games"), "2");

  writeSeasonConfig("quiet:\nyes\n");
  auto failing = run("./kestrostats-s missing.log a.log");
  EXPECT_EQ(failing.status, 2);
  EXPECT_TRUE(std::regex_match(failing.output,
                               std::regex("kestrostats-s: 2 logs, 0 new games, [0-9.]+ s, exit status 2\n")))
      << failing.output;
  EXPECT_NE(errors().find("ERROR: could not open logfile \"missing.log\""), std::string::npos) << errors();

  // On a terminal a quiet run shows how far it has come.
  if (std::system("command -v script > /dev/null") == 0) {
    dir_.write("b.log", serverGame("Dave", 1) + kGameEnd);
    auto shown = run("script -qec './kestrostats-s -q b.log' /dev/null");
    EXPECT_NE(shown.output.find("\r counted 1 games, "), std::string::npos) << shown.output;
    EXPECT_NE(shown.output.find("kestrostats-s: 1 log, 1 new game, "), std::string::npos) << shown.output;
  }
}

TEST_F(TimerRun, ThePortAndABadPortComeFromTheConfiguration) {
  const std::string port = kstest::sharedDatabase().port();
  writeSeasonConfig("db_port:\n" + port + "\n");
  dir_.write("a.log", serverGame("Alice", 2) + kGameEnd);
  auto with_port = run("env -u MYSQL_TCP_PORT ./kestrostats-s a.log");
  EXPECT_EQ(with_port.status, 0) << errors();
  EXPECT_NE(with_port.output.find("               db port: " + port + "\n"), std::string::npos);
  EXPECT_EQ(column("Alice", "kills"), "2");
  writeSeasonConfig("db_port:\n33o6\n");
  auto bad = run("./kestrostats-s a.log");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.output.find("ERROR: db_port: \"33o6\" is not a port number"), std::string::npos) << bad.output;
}

TEST_F(TimerRun, APasswordWithQuotesSurvivesAPreCommandAndAReadableOneIsWarnedAbout) {
  const std::string user = "ks_" + database_.substr(3, 20);
  kstest::sharedDatabase().query("CREATE USER IF NOT EXISTS '" + user + "'@'%' IDENTIFIED BY 'it''s \"q\" \\\\ $x';"
      "GRANT ALL ON *.* TO '" + user + "'@'%';");
  dir_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ + "\ndb_user:\n" + user +
                                  "\ndb_pass:\nit's \"q\" \\ $x\nmake_season_site:\nno\n"
                                  "pre_command:\nsh -c\ncommand_enclosing_character:\n'\n");
  chmod((dir_.path() / "s-default.cfg").c_str(), 0644);
  dir_.write("a.log", serverGame("Alice", 2) + kGameEnd);
  auto readable = run("./kestrostats-s a.log");
  EXPECT_EQ(readable.status, 0) << readable.output << errors();
  EXPECT_EQ(column("Alice", "kills"), "2");
  EXPECT_NE(errors().find("WARNING: s-default.cfg holds the database password and other users may read it"),
            std::string::npos)
      << errors();
  EXPECT_FALSE(dir_.exists("kestro-client.cnf"));  // the password does not stay on the disk

  chmod((dir_.path() / "s-default.cfg").c_str(), 0600);
  auto owners = run("./kestrostats-s a.log");
  EXPECT_EQ(owners.status, 0);
  EXPECT_EQ(errors(), "");
}
