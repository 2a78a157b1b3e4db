#include "site_config.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "program_runner.h"

namespace site {
namespace {

bool parse(std::vector<const char*> args, CommandLine& line, std::string& error) {
  args.insert(args.begin(), "kestrostats-site");
  return parseCommandLine(static_cast<int>(args.size()), args.data(), line, error);
}

TEST(SiteCommandLine, DefaultsOptionsAndMistakes) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(parse({}, line, error));
  EXPECT_EQ(line.config, "s-default.cfg");
  EXPECT_EQ(line.out, "html/season");
  EXPECT_FALSE(line.pages || line.min_games || line.help);
  ASSERT_TRUE(parse({"--out", "web/s", "--min-games=0", "--pages=web", "my.cfg"}, line, error)) << error;
  EXPECT_EQ(line.config, "my.cfg");
  EXPECT_EQ(line.out, "web/s");
  EXPECT_EQ(*line.pages, "web");
  EXPECT_EQ(*line.min_games, 0);
  for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
           {"--min-games", "-1"}, {"--min-games", "2x"}, {"--out"}, {"--out="}, {"--colour"}, {"a.cfg", "b.cfg"}}) {
    EXPECT_FALSE(parse(bad, line, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(SiteSettings, TheSeasonConfigurationGivesTheDatabaseAndTheSiteKeys) {
  kstest::TempDir dir;
  dir.write("s.cfg",
            "# the season\ndb_host:\n127.0.0.1\ndb_name:\nseason\ndb_user:\nkestro\ndb_pass:\nse cret\n"
            "detect_clan_tag:\nyes\nsite_min_games:\n5\nno_of_game_stats:\n10\n");
  SiteSettings s;
  ASSERT_FALSE(readSiteSettings((dir.path() / "s.cfg").string(), s).failed());
  EXPECT_EQ(s.login.host, "127.0.0.1");
  EXPECT_EQ(s.login.database, "season");
  EXPECT_EQ(s.login.user, "kestro");
  EXPECT_EQ(s.login.password, "se cret");
  EXPECT_TRUE(s.detect_clans);
  EXPECT_EQ(s.min_games, 5);
  EXPECT_EQ(s.award_min_attempts, 100);

  dir.write("plain.cfg", "db_host:\nlocalhost\ndb_name:\nseason\ndetect_clan_tag:\nYes\n");
  ASSERT_FALSE(readSiteSettings((dir.path() / "plain.cfg").string(), s).failed());
  EXPECT_FALSE(s.detect_clans);
  EXPECT_EQ(s.min_games, 2);
}

TEST(SiteSettings, TheServerNameIsTheSeasonsOwn) {
  // Configured, cut to its column as the season cuts it; or, unset, the
  // working directory's name, as the season takes it.
  kstest::TempDir dir;
  const std::string long_name(80, 'w');
  dir.write("named.cfg", "db_host:\nh\ndb_name:\nseason\nserver_name:\n" + long_name + "\n");
  SiteSettings s;
  ASSERT_FALSE(readSiteSettings((dir.path() / "named.cfg").string(), s).failed());
  EXPECT_EQ(s.server_name, long_name.substr(0, 64));
  dir.write("plain.cfg", "db_host:\nh\ndb_name:\nseason\n");
  ASSERT_FALSE(readSiteSettings((dir.path() / "plain.cfg").string(), s).failed());
  EXPECT_EQ(s.server_name, std::filesystem::current_path().filename().string());
}

TEST(SiteSettings, AConfigurationThatCannotServeIsRefusedWithItsReason) {
  kstest::TempDir dir;
  dir.write("nodb.cfg", "db_host:\nlocalhost\n");
  dir.write("badgames.cfg", "db_host:\nh\ndb_name:\nn\nsite_min_games:\ntwo\n");
  std::filesystem::create_directory(dir.path() / "folder.cfg");
  SiteSettings s;
  Error refused;
  for (const char* name : {"nodb.cfg", "badgames.cfg", "folder.cfg", "missing.cfg"}) {
    refused = readSiteSettings((dir.path() / name).string(), s);
    EXPECT_EQ(refused.failure, Failure::kUsage) << name;
    EXPECT_FALSE(refused.message.empty()) << name;
  }
  EXPECT_NE(refused.message.find("missing.cfg"), std::string::npos);
}

TEST(SiteSettings, ThePortComesFromTheEnvironmentAsTheClientTakesIt) {
  unsigned port = 1;
  EXPECT_FALSE(parsePort(nullptr, port).failed());
  EXPECT_EQ(port, 0u);
  EXPECT_FALSE(parsePort("3307", port).failed());
  EXPECT_EQ(port, 3307u);
  for (const char* bad : {"0", "65536", "33o6", "-1", " 3306"}) EXPECT_TRUE(parsePort(bad, port).failed()) << bad;
}

}  // namespace
}  // namespace site
