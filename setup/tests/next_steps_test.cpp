#include "next_steps.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

Surroundings here() {
  Surroundings where;
  where.work_dir = "/srv/kestrostats";
  where.share_dir = "/usr/share/kestrostats";
  where.this_host = "game1";
  where.units_installed = true;
  where.user_exists = true;
  where.owned_by_user = true;
  return where;
}

TEST(NextSteps, TheAccountIsTheConfiguredOnesAndThePasswordOnlyAPlaceholder) {
  DatabaseSettings db = readDatabaseSettings(
      "db_host:\n127.0.0.1\ndb_name:\nladder\ndb_user:\nstats\ndb_pass:\nHunter2'x\n# comment\nrealtime_log:\nyes\n");
  EXPECT_EQ(db.host, "127.0.0.1");
  EXPECT_EQ(db.name, "ladder");
  EXPECT_EQ(db.user, "stats");
  EXPECT_TRUE(db.has_password);
  std::string text = nextSteps(db, here());
  EXPECT_NE(text.find("CREATE USER 'stats'@'127.0.0.1' IDENTIFIED BY 'PASSWORD';"), std::string::npos) << text;
  EXPECT_NE(text.find("GRANT ALL PRIVILEGES ON `ladder`.* TO 'stats'@'127.0.0.1';"), std::string::npos) << text;
  EXPECT_EQ(text.find("Hunter2"), std::string::npos) << text;
  EXPECT_EQ(text.find("still empty"), std::string::npos) << text;
  // In order: the account, the first season by hand, the timer.
  std::size_t account = text.find("1. The database account");
  std::size_t first = text.find("2. The first season");
  std::size_t timer = text.find("3. The timer");
  ASSERT_NE(account, std::string::npos) << text;
  EXPECT_LT(account, first);
  EXPECT_LT(first, timer);
  EXPECT_NE(text.find("cd /srv/kestrostats && runuser -u kestrostats -- ./kestrostats-s "), std::string::npos);
  EXPECT_NE(text.find("systemctl enable --now kestrostats-season.timer"), std::string::npos);
  // The shipped directory needs no WorkingDirectory= drop-in; installed units are not copied.
  EXPECT_EQ(text.find("WorkingDirectory="), std::string::npos) << text;
  EXPECT_EQ(text.find("cp "), std::string::npos) << text;
}

TEST(NextSteps, TheAccountHostIsWhereTheClientIsSeenFrom) {
  EXPECT_EQ(accountHost("localhost", "game1"), "localhost");
  EXPECT_EQ(accountHost("", "game1"), "localhost");
  EXPECT_EQ(accountHost("::1", "game1"), "::1");
  EXPECT_EQ(accountHost("db.example.org", "game1"), "game1");
  DatabaseSettings db{"db.example.org", "kestro", "o'brien", "3307", false};
  std::string text = nextSteps(db, here());
  EXPECT_NE(text.find("CREATE USER 'o''brien'@'game1'"), std::string::npos) << text;
  EXPECT_NE(text.find("on db.example.org port 3307"), std::string::npos) << text;
  EXPECT_NE(text.find("still empty"), std::string::npos) << text;
  EXPECT_EQ(sqlIdentifier("a`b"), "`a``b`");
  EXPECT_EQ(sqlString("a\\b"), "'a\\\\b'");
}

TEST(NextSteps, AnotherDirectoryMissingUserAndUninstalledUnitsGetTheirCommands) {
  Surroundings where = here();
  where.work_dir = "/home/admin/my stats";
  where.units_installed = false;
  where.user_exists = false;
  where.owned_by_user = false;
  std::string text = nextSteps(readDatabaseSettings("db_host:\nlocalhost\n"), where);
  EXPECT_NE(text.find("systemd-sysusers /usr/share/kestrostats/systemd/kestrostats.sysusers"), std::string::npos)
      << text;
  EXPECT_NE(text.find("chown -R kestrostats:kestrostats '/home/admin/my stats'"), std::string::npos) << text;
  // No database named yet: nothing to grant on.
  EXPECT_EQ(text.find("GRANT"), std::string::npos) << text;
  EXPECT_NE(text.find("cp /usr/share/kestrostats/systemd/kestrostats-season.service"), std::string::npos) << text;
  EXPECT_NE(text.find("WorkingDirectory=/home/admin/my stats\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ReadWritePaths=\"/home/admin/my stats\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ExecStart=\"/home/admin/my stats/kestrostats-s\" -q "), std::string::npos) << text;
}

}  // namespace
}  // namespace setup
