// Writing below a working directory that its user may have prepared against
// the set-up: links are never followed, password files are the owner's only.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "program_runner.h"
#include "working_dir.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const fs::path& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

struct SetupOn {
  explicit SetupOn(const fs::path& dir) : work(dir, manifest, report) {}
  Manifest manifest;
  SetupReport report;
  WorkingDirectory work;
};

TEST(WorkTree, ALinkOnTheWayIsRefusedAndNothingIsWrittenWhereItPoints) {
  kstest::TempDir top;
  fs::create_directories(top.path() / "elsewhere");
  fs::create_directories(top.path() / "work/html/images");
  fs::create_symlink(top.path() / "elsewhere", top.path() / "work/html/images/maps");
  SetupOn run(top.path() / "work");
  EXPECT_FALSE(run.work.placeFile("html/images/maps/q3dm17.jpg", "picture"));
  EXPECT_FALSE(run.work.placeFile("html/images/maps/q3dm6.jpg", "picture"));
  EXPECT_FALSE(run.work.makeFolder("html/images/maps/sub"));
  // Named once, with the link.
  ASSERT_EQ(run.report.errors.size(), 1u);
  EXPECT_NE(run.report.errors[0].find("html/images/maps is a symbolic link"), std::string::npos)
      << run.report.errors[0];
  EXPECT_TRUE(fs::is_empty(top.path() / "elsewhere"));
  // Files beside the link are still placed.
  EXPECT_TRUE(run.work.placeFile("html/c-kestro.css", "css"));
  EXPECT_EQ(top.read("work/html/c-kestro.css"), "css");
}

TEST(WorkTree, LinksInAFilesPlaceOrItsTemporaryNameAreNeverWrittenThrough) {
  kstest::TempDir top;
  top.write("secret", "root's file");
  fs::create_directories(top.path() / "work");
  fs::create_symlink(top.path() / "secret", top.path() / "work/c-header.html");
  // A link planted where this process would stage the new file.
  fs::create_symlink(top.path() / "secret",
                     top.path() / ("work/c-footer.html.part-" + std::to_string(::getpid())));
  fs::create_symlink(top.path() / "secret", top.path() / "work" / kManifestName);
  {
    SetupOn run(top.path() / "work");
    EXPECT_TRUE(run.work.placeFile("c-header.html", "header"));
    EXPECT_TRUE(run.work.placeFile("c-footer.html", "footer"));
    EXPECT_EQ(run.report.kept, (std::vector<std::string>{"c-header.html"}));
    EXPECT_TRUE(run.report.errors.empty());
  }
  EXPECT_EQ(top.read("secret"), "root's file");
  EXPECT_EQ(top.read("work/c-footer.html"), "footer");
  EXPECT_TRUE(fs::is_symlink(top.path() / "work/c-header.html"));
  Manifest manifest;
  std::string error;
  EXPECT_FALSE(manifest.load(top.path() / "work", error));
  EXPECT_NE(error.find("symbolic link"), std::string::npos) << error;
}

TEST(WorkTree, APasswordFileIsTheOwnersOnlyWhateverTheUmask) {
  kstest::TempDir top;
  mode_t old_mask = ::umask(0);
  {
    SetupOn run(top.path());
    EXPECT_TRUE(run.work.placeFile("s-default.cfg", "db_host:\nlocalhost\ndb_pass:\nsecret\n"));
    EXPECT_TRUE(run.work.placeFile("c-default.cfg", "file_extension:\nhtml\n"));
    EXPECT_TRUE(run.report.warnings.empty());
  }
  ::umask(old_mask);
  EXPECT_EQ(modeOf(top.path() / "s-default.cfg"), 0600u);
  EXPECT_EQ(modeOf(top.path() / "c-default.cfg"), 0644u);
}

TEST(WorkTree, AnExistingPasswordFileOthersCanReadIsWarnedAbout) {
  kstest::TempDir top;
  top.write("s-default.cfg", "db_pass:\nmine\n");
  top.write("c-default.cfg", "file_extension:\nhtml\n");
  fs::permissions(top.path() / "s-default.cfg", fs::perms(0644));
  fs::permissions(top.path() / "c-default.cfg", fs::perms(0644));
  {
    SetupOn run(top.path());
    run.work.placeFile("s-default.cfg", "db_pass:\n\n");
    run.work.placeFile("c-default.cfg", "file_extension:\nhtm\n");
    ASSERT_EQ(run.report.warnings.size(), 1u);
    EXPECT_NE(run.report.warnings[0].find("chmod 600"), std::string::npos) << run.report.warnings[0];
    EXPECT_NE(run.report.warnings[0].find("every user"), std::string::npos) << run.report.warnings[0];
  }
  fs::permissions(top.path() / "s-default.cfg", fs::perms(0640));
  {
    SetupOn run(top.path());
    run.work.placeFile("s-default.cfg", "db_pass:\n\n");
    ASSERT_EQ(run.report.warnings.size(), 1u);
    EXPECT_NE(run.report.warnings[0].find("its group"), std::string::npos) << run.report.warnings[0];
  }
  fs::permissions(top.path() / "s-default.cfg", fs::perms(0600));
  SetupOn run(top.path());
  run.work.placeFile("s-default.cfg", "db_pass:\n\n");
  EXPECT_TRUE(run.report.warnings.empty());
  EXPECT_EQ(top.read("s-default.cfg"), "db_pass:\nmine\n");
}

TEST(WorkTree, AsRootWhatItCreatesBelongsToTheDirectorysOwner) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  kstest::TempDir top;
  const uid_t owner = 65534;  // nobody
  ASSERT_EQ(::chown(top.path().c_str(), owner, owner), 0);
  {
    SetupOn run(top.path());
    EXPECT_TRUE(run.work.placeFile("html/images/maps/default.gif", "gif"));
    EXPECT_TRUE(run.work.placeFile("s-default.cfg", "db_pass:\nx\n"));
    EXPECT_TRUE(run.work.linkProgram("kestrostats-s", "/usr/bin/true"));
  }
  for (const char* made : {"html", "html/images/maps", "html/images/maps/default.gif", "s-default.cfg",
                           "kestrostats-s"}) {
    struct stat info;
    ASSERT_EQ(::lstat((top.path() / made).c_str(), &info), 0) << made;
    EXPECT_EQ(info.st_uid, owner) << made;
  }
}

TEST(WorkTree, PasswordFilesAreKnownByTheirKeyLine) {
  EXPECT_TRUE(holdsPassword("db_host:\nx\ndb_pass:\n\n"));
  EXPECT_TRUE(holdsPassword("db_pass:\r\nsecret\r\n"));
  EXPECT_FALSE(holdsPassword("# db_pass: is not here\nfile_extension:\nhtml\n"));
  EXPECT_FALSE(holdsPassword("db_password:\nx\n"));
}

}  // namespace
}  // namespace setup
