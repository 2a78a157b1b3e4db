#include "atomic_file.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "full_disk.h"
#include "program_runner.h"

namespace site {
namespace {

namespace fs = std::filesystem;

std::size_t filesIn(const fs::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(StagedFiles, NoFileInPlaceChangesBeforeTheCommitAndEverythingAfterIt) {
  kstest::TempDir dir;
  dir.write("index.html", "old");
  std::string error;
  {
    StagedFiles files;
    ASSERT_TRUE(files.stage(dir.path() / "index.html", "new", error)) << error;
    ASSERT_TRUE(files.stage(dir.path() / "other.html", std::string(100000, 'x'), error)) << error;
    EXPECT_EQ(dir.read("index.html"), "old");
    EXPECT_EQ(files.size(), 2u);
    ASSERT_TRUE(files.commit(error)) << error;
  }
  EXPECT_EQ(dir.read("index.html"), "new");
  EXPECT_EQ(dir.read("other.html").size(), 100000u);
  EXPECT_EQ(filesIn(dir.path()), 2u);
}

TEST(StagedFiles, AFailedOrAbandonedRunLeavesTheOldFilesAndNoTemporaries) {
  kstest::TempDir dir;
  dir.write("index.html", "old");
  dir.write("blocker", "a file where a folder is wanted");
  std::string error;
  {
    StagedFiles files;
    ASSERT_TRUE(files.stage(dir.path() / "index.html", "new", error));
    ASSERT_TRUE(files.stage(dir.path() / "new.html", "a page of this run", error));
    EXPECT_TRUE(dir.exists("new.html"));
    EXPECT_FALSE(files.stage(dir.path() / "blocker" / "page.html", "x", error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
  }  // dropped without commit
  EXPECT_EQ(dir.read("index.html"), "old");
  EXPECT_EQ(filesIn(dir.path()), 2u);
  EXPECT_FALSE(writeFileAtomically(dir.path() / "missing" / "a.html", "x", error));
  EXPECT_EQ(filesIn(dir.path()), 2u);
}

TEST(StagedFiles, AWriteThatFailsIsReported) {
  // /dev/full accepts the open and fails every write, as a full disk does.
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  kstest::TempDir dir;
  dir.write("page.html", "old");
  fs::path link = dir.path() / ("page.html.part-" + std::to_string(getpid()));
  fs::create_symlink("/dev/full", link);
  std::string error;
  StagedFiles files;
  EXPECT_FALSE(files.stage(dir.path() / "page.html", "content", error));
  EXPECT_NE(error.find("could not write"), std::string::npos) << error;
  EXPECT_EQ(dir.read("page.html"), "old");
}

TEST(StagedFiles, ANewFileThatCannotBeWrittenWholeIsNotLeftBehind) {
  // A file size limit makes the write fail part-way, as a full disk would.
  kstest::TempDir dir;
  struct rlimit old_limit;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
  struct rlimit small = old_limit;
  small.rlim_cur = 4096;
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  bool staged;
  {
    StagedFiles files;
    staged = files.stage(dir.path() / "big.html", std::string(100000, 'x'), error);
  }
  setrlimit(RLIMIT_FSIZE, &old_limit);
  signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(staged);
  EXPECT_NE(error.find("could not write"), std::string::npos) << error;
  EXPECT_EQ(filesIn(dir.path()), 0u);
}

TEST(StagedFiles, ADiskThatFillsUpLeavesTheOldSiteAsItWas) {
  kstest::TempDir dir;
  dir.write("index.html", "old index");
  dir.write("players.html", "old players");
  const std::string page(1000, 'p');
  auto stageAll = [&](StagedFiles& files, std::string& error) {
    // A new file (written in place), then two that replace others (staged).
    return files.stage(dir.path() / "new.html", page, error) && files.stage(dir.path() / "index.html", page, error) &&
           files.stage(dir.path() / "players.html", page, error);
  };
  for (std::size_t room : {0, 999, 1000, 1999, 2000, 2999}) {
    kstest::FullDisk disk(room);
    std::string error;
    {
      StagedFiles files(disk);
      EXPECT_FALSE(stageAll(files, error)) << room;
      EXPECT_NE(error.find("could not write"), std::string::npos) << error;
    }
    EXPECT_EQ(disk.refused(), 1);
    EXPECT_EQ(dir.read("index.html"), "old index") << room;
    EXPECT_EQ(dir.read("players.html"), "old players") << room;
    EXPECT_EQ(filesIn(dir.path()), 2u) << "a new or staged file left behind with room for " << room;
  }
  kstest::FullDisk disk(3000);
  StagedFiles files(disk);
  std::string error;
  ASSERT_TRUE(stageAll(files, error)) << error;
  ASSERT_TRUE(files.commit(error)) << error;
  EXPECT_EQ(dir.read("index.html"), page);
  EXPECT_EQ(filesIn(dir.path()), 3u);
}

TEST(StagedFiles, AFileThatAlreadyHoldsTheContentIsLeftAsItIs) {
  kstest::TempDir dir;
  dir.write("same.html", "content");
  dir.write("longer.html", "content and more");
  // A second link shows whether the file is still the same one.
  fs::create_hard_link(dir.path() / "same.html", dir.path() / "same-link");
  std::string error;
  StagedFiles files;
  ASSERT_TRUE(files.stage(dir.path() / "same.html", "content", error));
  ASSERT_TRUE(files.stage(dir.path() / "longer.html", "content", error));
  EXPECT_EQ(files.unchanged(), 1u);
  EXPECT_EQ(files.size(), 1u);
  ASSERT_TRUE(files.commit(error));
  EXPECT_EQ(fs::hard_link_count(dir.path() / "same.html"), 2u) << "replaced, not left alone";
  EXPECT_EQ(dir.read("longer.html"), "content");
}

TEST(StagedFiles, TemporaryNamesAreRecognised) {
  EXPECT_TRUE(isStagingName("index.html.part-1234"));
  EXPECT_FALSE(isStagingName("index.html.part-"));
  EXPECT_FALSE(isStagingName("index.html.part-12a"));
  EXPECT_FALSE(isStagingName("index.html"));
}

// A file streamed in pieces: the same bytes leave the file alone; a change
// anywhere (start, middle, end, length) gives exactly the new bytes.
TEST(StreamedStage, WritesOnlyWhatDiffersAndExactlyTheNewContent) {
  kstest::TempDir dir;
  const std::string old_text = std::string(200000, 'a') + std::string(100000, 'b');
  auto stream = [&](const std::vector<std::string>& pieces, std::size_t& unchanged) {
    dir.write("games.json", old_text);
    StagedFiles files;
    std::string error;
    {
      StreamedStage file(files, dir.path() / "games.json");
      for (const std::string& p : pieces) EXPECT_TRUE(file.write(p, error)) << error;
      EXPECT_TRUE(file.finish(error)) << error;
    }
    unchanged = files.unchanged();
    EXPECT_EQ(dir.read("games.json"), old_text) << "nothing in place before the commit";
    EXPECT_TRUE(files.commit(error)) << error;
    return dir.read("games.json");
  };
  std::size_t unchanged = 0;
  const std::string a(200000, 'a');
  const std::string b(100000, 'b');
  EXPECT_EQ(stream({a, b}, unchanged), old_text);
  EXPECT_EQ(unchanged, 1u);
  EXPECT_EQ(filesIn(dir.path()), 1u);
  EXPECT_EQ(stream({a, b.substr(0, 50000), "X", b.substr(50001)}, unchanged),
            a + b.substr(0, 50000) + "X" + b.substr(50001));
  EXPECT_EQ(unchanged, 0u);
  EXPECT_EQ(stream({"Z", a.substr(1), b}, unchanged), "Z" + a.substr(1) + b);
  EXPECT_EQ(stream({a, b, "more"}, unchanged), old_text + "more");
  EXPECT_EQ(stream({a, b.substr(0, 10)}, unchanged), a + b.substr(0, 10));
  EXPECT_EQ(unchanged, 0u);
  EXPECT_EQ(filesIn(dir.path()), 1u) << "no staged file left behind";
  // A new file, and one abandoned before finishing.
  StagedFiles files;
  std::string error;
  {
    StreamedStage file(files, dir.path() / "new.json");
    EXPECT_TRUE(file.write("{}", error));
  }
  EXPECT_EQ(filesIn(dir.path()), 1u);
  {
    StreamedStage file(files, dir.path() / "new.json");
    EXPECT_TRUE(file.write("{}", error) && file.finish(error)) << error;
  }
  EXPECT_TRUE(files.commit(error)) << error;
  EXPECT_EQ(dir.read("new.json"), "{}");
}

}  // namespace
}  // namespace site
