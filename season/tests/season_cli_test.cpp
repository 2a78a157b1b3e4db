// kestrostats-s before it reaches a database: command line, configuration
// file and listing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "program_runner.h"

namespace {

struct Workspace : kstest::TempDir {
  Workspace() { installProgram("kestrostats-s"); }
  kstest::RunResult run(const std::string& args) { return kstest::runIn(*this, "./kestrostats-s " + args); }
};

const std::string kUsage =
    "usage: kestrostats(xx)-s logfile(s).log <config-file.cfg>\nSpecify a logfile to analyze\n";

}  // namespace

TEST(SeasonCommandLine, UsageVersionAndALoneConfiguration) {
  Workspace dir;
  auto none = dir.run("");
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(none.output, kUsage);
  auto lone = dir.run("SEASON.CFG");
  EXPECT_EQ(lone.status, 1);
  EXPECT_EQ(lone.output, kUsage);
  auto version = dir.run("-v");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.output.rfind("\nKestro Stats (c) version 4.32", 0), 0u);
}

TEST(SeasonCommandLine, LogsAloneReadTheDefaultConfiguration) {
  Workspace dir;
  auto result = dir.run("a.log b.log");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("ERROR: could not open config file \"s-default.cfg\"\n"), std::string::npos);
  // A folder of that name is no configuration either.
  std::filesystem::create_directory(dir.path() / "s-default.cfg");
  auto folder = dir.run("a.log");
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.output.find("ERROR: could not open config file \"s-default.cfg\"\n"), std::string::npos);
}

// A timer's quiet run shows nothing on standard output, so a configuration
// it cannot use has to be named on standard error, with the usage status.
TEST(SeasonConfiguration, AnUnusableConfigurationIsNamedOnStandardErrorInAQuietRun) {
  Workspace dir;
  auto missing = kstest::runIn(dir, "./kestrostats-s -q a.log 2> errors.txt");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.output, "");
  EXPECT_EQ(dir.read("errors.txt"), "ERROR: could not open config file \"s-default.cfg\"\n");
  dir.write("s-default.cfg", "db_host:\nlocalhost\n");
  auto unnamed = kstest::runIn(dir, "./kestrostats-s -q a.log 2> errors.txt");
  EXPECT_EQ(unnamed.status, 1);
  EXPECT_EQ(unnamed.output, "");
  EXPECT_EQ(dir.read("errors.txt"), "ERROR: the configuration names no database (db_host:, db_name:)\n");
}

TEST(SeasonConfiguration, TheListingShowsEverySettingButThePassword) {
  Workspace dir;
  dir.write("my.cfg",
            "# a comment\n"
            "db_host:\nlocalhost\n"
            "db_name:\nseason\n"
            "db_pass:\nsecret\n"
            "no_of_game_stats:\n12\n"
            "backup_dir: \n"            // a trailing blank: not a key line...
            "pre_command:\n"            // ...so this is read as the next key line
            "#nice\n"                   // a value may start with "#"
            "command_enclosing_character:\n\"x\n");
  auto result = dir.run("missing.log my.cfg");
  EXPECT_EQ(result.status, 2) << result.output;  // a log that cannot be read
  const std::string& out = result.output;
  EXPECT_NE(out.find("           config file: my.cfg\n         realtime log?: no\n            backup dir: \n"
                     "     no. of game stats: 12\n     game stats config: c-default.cfg\n"
                     "               db host: localhost\n               db name: season\n"
                     "               db user: \n               db pass: ********\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("           pre-command: #nice\n        enclosing char: \"\n"), std::string::npos);
  EXPECT_NE(out.find("        min. tag cond.: games>1\n       min. tag length: 6\n      min. tag matches: 5\n"),
            std::string::npos);
  // Without server_name: the working directory's name.
  EXPECT_NE(out.find("     count games once?: yes\n     lock wait seconds: 300\n           server name: " +
                     dir.path().filename().string() + "\n"),
            std::string::npos);
  // The log cannot be opened: it is reported and skipped, and the run goes on
  // to its summary.
  EXPECT_NE(out.find("ERROR: could not open logfile \"missing.log\"\n"), std::string::npos);
  EXPECT_NE(out.find("   logs processed: 1\n"), std::string::npos);
  EXPECT_NE(out.find("No valid games were detected in the log file.\n"), std::string::npos);
}

TEST(SeasonConfiguration, TheDatabaseMustBeNamed) {
  Workspace dir;
  dir.write("s-default.cfg", "db_host:\nlocalhost\n");
  auto result = dir.run("a.log");
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(result.output.ends_with("     ------------------------------------------------------------\n"
                                      "db configuration is not specified in cfg."))
      << result.output;
}

TEST(SeasonConfiguration, ADatabaseNameThatIsNoPlainIdentifierIsRefused) {
  Workspace dir;
  dir.write("s-default.cfg", "db_host:\nlocalhost\ndb_name:\nstats;drop database x\n");
  auto result = dir.run("a.log");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("ERROR: db name \"stats;drop database x\""), std::string::npos);
}

TEST(SeasonCommandLine, ALockFileOfAnotherUserIsStillUsedOrNamedWithItsReason) {
  if (geteuid() != 0 || std::system("command -v setpriv > /dev/null") != 0) {
    GTEST_SKIP() << "needs root and setpriv to run as another user";
  }
  Workspace dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  dir.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\nunused\nmake_season_site:\nno\n");
  // Left by a run as root: this user may read the lock file, not write it.
  dir.write("kestrostats-s.lock", "");
  const std::string as_nobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ./kestrostats-s missing.log";
  auto readable = kstest::runIn(dir, as_nobody + " 2> errors.txt");
  EXPECT_EQ(readable.status, 2) << readable.output << dir.read("errors.txt");  // the lock was taken; the log is missing
  EXPECT_EQ(dir.read("errors.txt").find("another run"), std::string::npos);

  std::filesystem::permissions(dir.path() / "kestrostats-s.lock", std::filesystem::perms::none);
  auto unreadable = kstest::runIn(dir, as_nobody + " 2> errors.txt");
  EXPECT_EQ(unreadable.status, 5);
  EXPECT_NE(dir.read("errors.txt").find("could not open the lock file kestrostats-s.lock in the working directory: "
                                        "Permission denied"),
            std::string::npos)
      << dir.read("errors.txt");
}
