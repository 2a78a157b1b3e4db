// The installation as an admin makes it: `cmake --install` of this build
// into a scratch prefix, then the installed kestrostats-setup.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "pk3_builder.h"
#include "program_runner.h"

namespace {

namespace fs = std::filesystem;

const char* const kInstalledPrograms[] = {"kestrostats-c", "kestrostats-s", "ks-preparse", "TagSift",
                                          "kestrostats-site", "kestrostats-setup"};

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

// One installation for all tests of the program.
class InstallTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new kstest::TempDir();
    std::string command = std::string("'") + KS_CMAKE_COMMAND + "' --install '" + KS_BUILD_DIR + "' --prefix " +
                          quoted(prefix_->path()) + " > install.log 2>&1";
    installed_ = kstest::runIn(*prefix_, command).status == 0;
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(installed_) << prefix_->read("install.log"); }

  static fs::path bin() { return prefix_->path() / "bin"; }
  static fs::path share() { return prefix_->path() / "share" / "kestrostats"; }

  // Runs the installed set-up command; output in setup.out, errors in setup.err.
  kstest::RunResult setup(const std::string& args) {
    return kstest::runIn(work_, quoted(bin() / "kestrostats-setup") + " " + args + " > setup.out 2> setup.err");
  }

  static kstest::TempDir* prefix_;
  static bool installed_;
  kstest::TempDir work_;  // the folder the tests hand to the set-up command
};

kstest::TempDir* InstallTest::prefix_ = nullptr;
bool InstallTest::installed_ = false;

TEST_F(InstallTest, TheProgramsSiteFilesConfigurationsAndUnitsAreInstalled) {
  for (const char* program : kInstalledPrograms) EXPECT_TRUE(fs::is_regular_file(bin() / program)) << program;
  for (const char* file : {"s-default.cfg", "c-default.cfg", "c-header.html", "c-footer.html", "html/c-kestro.css",
                           "html/about.html", "html/images/maps/default.gif", "html/images/awards/item_quad.jpg",
                           "systemd/kestrostats-season.service", "systemd/kestrostats-season.timer",
                           "systemd/kestrostats.sysusers"}) {
    EXPECT_TRUE(fs::is_regular_file(share() / file)) << file;
  }
}

TEST_F(InstallTest, AFreshWorkingDirectoryGetsLinksConfigurationsSiteFilesAndMapPictures) {
  kstest::TempDir game;
  fs::create_directories(game.path() / "baseq3");
  fs::create_directories(game.path() / "osp");
  ASSERT_TRUE(setup::writePk3(game.path() / "baseq3/pak0.pk3",
                              {{"levelshots/q3dm17.jpg", "id's picture"}, {"levelshots/Q3CTF1.jpg", "ctf1"}}));
  ASSERT_TRUE(setup::writePk3(game.path() / "osp/zz-maps.pk3", {{"levelshots/q3dm17.jpg", "the server's picture"}}));
  kstest::RunResult r = setup("--game " + quoted(game.path()) + " season");
  ASSERT_EQ(r.status, 0) << work_.read("setup.err");
  const fs::path dir = work_.path() / "season";
  for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift", "kestrostats-site"}) {
    EXPECT_TRUE(fs::is_symlink(dir / program)) << program;
    EXPECT_TRUE(fs::equivalent(dir / program, bin() / program)) << program;
  }
  for (const char* file : {"s-default.cfg", "c-default.cfg", "c-header.html", "c-footer.html", "html/c-kestro.css",
                           "html/images/awards/carnage_rail.jpg"}) {
    EXPECT_TRUE(fs::is_regular_file(dir / file)) << file;
  }
  EXPECT_TRUE(fs::is_directory(dir / "html/season"));
  EXPECT_TRUE(fs::is_directory(dir / "backup"));
  EXPECT_EQ(work_.read("season/html/images/maps/q3dm17.jpg"), "the server's picture");
  EXPECT_EQ(work_.read("season/html/images/maps/q3ctf1.jpg"), "ctf1");
  // The programs start each other as ./name from there.
  EXPECT_EQ(kstest::runIn(work_, "cd season && ./kestrostats-site --help > /dev/null").status, 0);
}

TEST_F(InstallTest, ARerunKeepsTheAdminsEditsAndOwnFilesAndFillsWhatIsMissing) {
  ASSERT_EQ(setup("season").status, 0) << work_.read("setup.err");
  work_.write("season/s-default.cfg", "db_host:\ndb.example\ndb_name:\nmine\n");
  work_.write("season/html/c-kestro.css", "body { color: pink; }\n");
  work_.write("season/html/images/maps/q3dm17.jpg", "the admin's picture");
  fs::remove(work_.path() / "season/c-header.html");
  fs::remove(work_.path() / "season/kestrostats-s");
  std::string before = work_.read("season/c-default.cfg");

  kstest::TempDir game;
  fs::create_directories(game.path() / "baseq3");
  ASSERT_TRUE(setup::writePk3(game.path() / "baseq3/pak0.pk3", {{"levelshots/q3dm17.jpg", "from the archive"}}));
  ASSERT_EQ(setup("--game " + quoted(game.path()) + " season").status, 0) << work_.read("setup.err");
  EXPECT_EQ(work_.read("season/s-default.cfg"), "db_host:\ndb.example\ndb_name:\nmine\n");
  EXPECT_EQ(work_.read("season/html/c-kestro.css"), "body { color: pink; }\n");
  EXPECT_EQ(work_.read("season/html/images/maps/q3dm17.jpg"), "the admin's picture");
  EXPECT_EQ(work_.read("season/c-default.cfg"), before);
  EXPECT_TRUE(fs::is_regular_file(work_.path() / "season/c-header.html"));
  EXPECT_TRUE(fs::is_symlink(work_.path() / "season/kestrostats-s"));
  std::string out = work_.read("setup.out");
  EXPECT_NE(out.find("s-default.cfg"), std::string::npos) << out;
  EXPECT_NE(out.find("q3dm17.jpg"), std::string::npos) << out;
}

TEST_F(InstallTest, ADamagedArchiveIsNamedWhileTheOthersStillCount) {
  kstest::TempDir game;
  game.write("baseq3/pak0.pk3", "not a zip archive");
  fs::create_directories(game.path() / "osp");
  ASSERT_TRUE(setup::writePk3(game.path() / "osp/maps.pk3", {{"levelshots/ospdm1.jpg", "osp"}}));
  EXPECT_EQ(setup("--game " + quoted(game.path()) + " season").status, 3);
  EXPECT_NE(work_.read("setup.err").find("pak0.pk3"), std::string::npos);
  EXPECT_EQ(work_.read("season/html/images/maps/ospdm1.jpg"), "osp");
  EXPECT_EQ(setup("").status, 1);
  EXPECT_EQ(setup("--share /nonexistent season").status, 1);
  EXPECT_EQ(setup("--bogus season").status, 1);
  ASSERT_EQ(setup("--help").status, 0);
  EXPECT_NE(work_.read("setup.out").find("usage: kestrostats-setup"), std::string::npos);
}

TEST_F(InstallTest, ItEndsWithTheNextStepsForTheConfiguredDatabaseNeverWithThePassword) {
  ASSERT_EQ(setup("season").status, 0) << work_.read("setup.err");
  std::string out = work_.read("setup.out");
  // The shipped configuration: database kestrostats, user kestrostats on 127.0.0.1.
  EXPECT_NE(out.find("CREATE USER 'kestrostats'@'127.0.0.1' IDENTIFIED BY 'PASSWORD';"), std::string::npos) << out;
  EXPECT_NE(out.find("GRANT ALL PRIVILEGES ON `kestrostats`.* TO 'kestrostats'@'127.0.0.1';"), std::string::npos);
  EXPECT_NE(out.find("systemctl enable --now kestrostats-season.timer"), std::string::npos) << out;
  struct stat info;
  ASSERT_EQ(::stat((work_.path() / "season/s-default.cfg").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // The admin's own settings, in a file left readable by everyone.
  work_.write("season/s-default.cfg", "db_host:\ndb.example.org\ndb_name:\nladder\ndb_user:\nstats\ndb_pass:\ns3cr3t\n");
  fs::permissions(work_.path() / "season/s-default.cfg", fs::perms(0644));
  ASSERT_EQ(setup("season").status, 0) << work_.read("setup.err");
  out = work_.read("setup.out");
  EXPECT_NE(out.find("GRANT ALL PRIVILEGES ON `ladder`.* TO 'stats'@"), std::string::npos) << out;
  EXPECT_EQ(out.find("s3cr3t"), std::string::npos) << out;
  std::string err = work_.read("setup.err");
  EXPECT_NE(err.find("WARNING: "), std::string::npos) << err;
  EXPECT_NE(err.find("chmod 600"), std::string::npos) << err;
  EXPECT_EQ(err.find("s3cr3t"), std::string::npos) << err;
}

TEST_F(InstallTest, AMapFolderThatIsALinkIsRefusedAndNothingIsWrittenWhereItPoints) {
  kstest::TempDir elsewhere;
  fs::create_directories(work_.path() / "season/html/images");
  fs::create_symlink(elsewhere.path(), work_.path() / "season/html/images/maps");
  kstest::TempDir game;
  fs::create_directories(game.path() / "baseq3");
  ASSERT_TRUE(setup::writePk3(game.path() / "baseq3/pak0.pk3", {{"levelshots/q3dm17.jpg", "picture"}}));
  EXPECT_EQ(setup("--game " + quoted(game.path()) + " season").status, 5);
  std::string err = work_.read("setup.err");
  EXPECT_NE(err.find("html/images/maps is a symbolic link"), std::string::npos) << err;
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
  // Everything else is in place; no next steps while something is missing.
  EXPECT_TRUE(fs::is_regular_file(work_.path() / "season/s-default.cfg"));
  EXPECT_EQ(work_.read("setup.out").find("Next steps"), std::string::npos);
}

TEST_F(InstallTest, TheSysusersEntryCreatesTheUserTheServiceRunsAs) {
  if (std::system("command -v systemd-sysusers > /dev/null 2>&1") != 0) GTEST_SKIP() << "no systemd-sysusers";
  kstest::TempDir root;
  fs::create_directories(root.path() / "etc");
  kstest::RunResult r = kstest::runIn(root, "systemd-sysusers --root=. " +
                                                quoted(share() / "systemd/kestrostats.sysusers") + " > sysusers.out 2>&1");
  ASSERT_EQ(r.status, 0) << root.read("sysusers.out");
  std::smatch user;
  std::string service = prefix_->read("share/kestrostats/systemd/kestrostats-season.service");
  ASSERT_TRUE(std::regex_search(service, user, std::regex("\nUser=([^\n]+)\n")));
  std::string passwd = root.read("etc/passwd");
  EXPECT_NE(passwd.find(user[1].str() + ":x:"), std::string::npos) << passwd;
  EXPECT_NE(passwd.find(":/usr/sbin/nologin"), std::string::npos) << passwd;
  EXPECT_NE(root.read("etc/group").find(user[1].str() + ":x:"), std::string::npos);
}

TEST_F(InstallTest, TheSystemdUnitsVerifyForAPreparedDirectory) {
  if (std::system("command -v systemd-analyze > /dev/null 2>&1") != 0) GTEST_SKIP() << "no systemd-analyze";
  ASSERT_EQ(setup("season").status, 0);
  // The units as shipped, with the working directory and the log moved here.
  for (const char* unit : {"kestrostats-season.service", "kestrostats-season.timer"}) {
    std::string text = prefix_->read(("share/kestrostats/systemd/" + std::string(unit)));
    ASSERT_FALSE(text.empty()) << unit;
    for (std::size_t at; (at = text.find("/srv/kestrostats")) != std::string::npos;) {
      text.replace(at, 16, (work_.path() / "season").string());
    }
    work_.write(unit, text);
  }
  kstest::RunResult r = kstest::runIn(work_, "systemd-analyze verify --man=no kestrostats-season.service "
                                             "kestrostats-season.timer > verify.out 2>&1");
  EXPECT_EQ(r.status, 0) << work_.read("verify.out");
}

}  // namespace
