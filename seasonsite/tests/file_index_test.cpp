#include "file_index.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <tuple>
#include <vector>

#include "atomic_file.h"
#include "program_runner.h"

namespace site {
namespace {

namespace fs = std::filesystem;

// One run of the site over `dir`: stages `pages` (name, content, source)
// with the index of the run before, commits, and keeps this run's index.
struct RunCounts {
  std::size_t written = 0;
  std::size_t unchanged = 0;
};

class IndexedRuns : public ::testing::Test {
 protected:
  RunCounts run(const std::vector<std::tuple<std::string, std::string, std::uint64_t>>& pages) {
    StagedFiles files;
    files.keepIndex(&index_);
    std::string error;
    for (const auto& [name, content, source] : pages) {
      if (files.keptFromSource(dir_.path() / name, source)) continue;
      EXPECT_TRUE(files.stage(dir_.path() / name, content, error, source)) << error;
    }
    RunCounts r{files.size(), files.unchanged()};
    EXPECT_TRUE(files.commit(error)) << error;
    EXPECT_TRUE(writeFileAtomically(dir_.path() / ".index", files.index().text(), error)) << error;
    index_ = FileIndex::load(dir_.path() / ".index");
    return r;
  }

  // Rewrites a file in place (same inode) as an editor that keeps it would.
  void overwriteInPlace(const std::string& name, const std::string& content) {
    int fd = ::open((dir_.path() / name).c_str(), O_WRONLY | O_TRUNC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    ::close(fd);
  }

  kstest::TempDir dir_;
  FileIndex index_;
};

TEST_F(IndexedRuns, AFileChangedBehindTheSitesBackIsNeverTakenAsUnchanged) {
  RunCounts first = run({{"a.html", "alpha", 0}, {"b.html", "bravo", 7}});
  EXPECT_EQ(first.written, 2u);
  EXPECT_EQ(index_.size(), 2u);
  RunCounts same = run({{"a.html", "alpha", 0}, {"b.html", "bravo", 7}});
  EXPECT_EQ(same.written, 0u);
  EXPECT_EQ(same.unchanged, 2u);

  // Same size, same inode, another time: the index no longer vouches for it.
  usleep(20000);
  overwriteInPlace("a.html", "ALPHA");
  overwriteInPlace("b.html", "BRAVO");
  RunCounts after_edit = run({{"a.html", "alpha", 0}, {"b.html", "bravo", 7}});
  EXPECT_EQ(after_edit.written, 2u);
  EXPECT_EQ(dir_.read("a.html"), "alpha");
  EXPECT_EQ(dir_.read("b.html"), "bravo");

  // Removed, or replaced by another file: made again.
  fs::remove(dir_.path() / "b.html");
  dir_.write("a.html", "other");
  RunCounts after_removal = run({{"a.html", "alpha", 0}, {"b.html", "bravo", 7}});
  EXPECT_EQ(after_removal.written, 2u);
  EXPECT_EQ(dir_.read("b.html"), "bravo");
}

TEST_F(IndexedRuns, AFileOfTheSameSourceIsKeptWithoutMakingItAndAnotherSourceRemakesIt) {
  run({{"game.html", "first version", 41}});
  // The same source keeps the file even though this run's content differs:
  // the source says it would be the same.
  RunCounts kept = run({{"game.html", "never looked at", 41}});
  EXPECT_EQ(kept.unchanged, 1u);
  EXPECT_EQ(dir_.read("game.html"), "first version");
  RunCounts remade = run({{"game.html", "second version", 42}});
  EXPECT_EQ(remade.written, 1u);
  EXPECT_EQ(dir_.read("game.html"), "second version");
  // Source 0 (not known) never keeps a file by its source.
  RunCounts unknown = run({{"game.html", "third version", 0}});
  EXPECT_EQ(unknown.written, 1u);
}

TEST(FileIndex, ADamagedOrForeignIndexIsIgnored) {
  kstest::TempDir dir;
  FileIndex index;
  IndexedFile f;
  f.size = 5;
  f.inode = 9;
  f.modified_ns = 123456789;
  f.hash = 77;
  f.source = 3;
  f.pieces = {{2, 11, 0}, {5, 12, 13}};
  index.put("html/season/games.json", f);
  index.put("bad\nname", f);
  std::string error;
  ASSERT_TRUE(writeFileAtomically(dir.path() / "index", index.text(), error)) << error;
  FileIndex back = FileIndex::load(dir.path() / "index");
  ASSERT_EQ(back.size(), 1u) << "a name no line can hold is left out";
  const IndexedFile* g = back.find("html/season/games.json");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->modified_ns, 123456789);
  EXPECT_EQ(g->source, 3u);
  ASSERT_EQ(g->pieces.size(), 2u);
  EXPECT_EQ(g->pieces[1].source, 13u);

  const std::string text = dir.read("index");
  dir.write("cut", text.substr(0, text.size() - 3));
  EXPECT_EQ(FileIndex::load(dir.path() / "cut").size(), 0u);
  dir.write("foreign", "kestrostats-site file index 1 999\n" + text.substr(text.find('\n') + 1));
  EXPECT_EQ(FileIndex::load(dir.path() / "foreign").size(), 0u);
  EXPECT_EQ(FileIndex::load(dir.path() / "missing").size(), 0u);
}

// games.json in pieces by source: whatever the run reuses or writes anew,
// in whatever order the old pieces come back, the file holds exactly the
// new content.
TEST(StreamedStageSources, PiecesReusedFromTheFileInPlaceGiveExactlyTheNewContent) {
  kstest::TempDir dir;
  FileIndex index;
  using Piece = std::pair<std::string, std::uint64_t>;  // content, source
  auto stream = [&](const std::vector<Piece>& pieces, std::size_t& reused_count, std::size_t& unchanged) {
    StagedFiles files;
    files.keepIndex(&index);
    std::string error;
    std::string expected;
    reused_count = 0;
    {
      StreamedStage file(files, dir.path() / "games.json");
      for (const auto& [content, source] : pieces) {
        expected += content;
        bool reused = false;
        EXPECT_TRUE(file.reuse(source, reused, error)) << error;
        if (reused) {
          ++reused_count;
          continue;
        }
        EXPECT_TRUE(file.write(content, error, source)) << error;
      }
      EXPECT_TRUE(file.finish(error)) << error;
    }
    unchanged = files.unchanged();
    EXPECT_TRUE(files.commit(error)) << error;
    index = files.index();
    EXPECT_EQ(dir.read("games.json"), expected);
  };
  const Piece head{"[", 0}, a{std::string(70000, 'a'), 1}, b{",bbb", 2}, c{std::string(90000, 'c'), 3},
      end{"]", 0};
  std::size_t reused = 0;
  std::size_t unchanged = 0;
  stream({head, a, b, c, end}, reused, unchanged);
  EXPECT_EQ(reused, 0u);
  stream({head, a, b, c, end}, reused, unchanged);
  EXPECT_EQ(reused, 3u);
  EXPECT_EQ(unchanged, 1u);
  // A new piece in front, the others shifted: copied from the old file.
  const Piece n{"new,", 4};
  stream({head, n, a, b, c, end}, reused, unchanged);
  EXPECT_EQ(reused, 3u);
  EXPECT_EQ(unchanged, 0u);
  // One changed in the middle, another gone, the order turned round.
  const Piece b2{",BBBB", 5};
  stream({head, c, b2, n, end}, reused, unchanged);
  EXPECT_EQ(reused, 2u);
  stream({head, c, b2, n, end}, reused, unchanged);
  EXPECT_EQ(unchanged, 1u);
  // The file changed behind the site's back: nothing is taken from it.
  dir.write("games.json", "something else");
  stream({head, c, b2, n, end}, reused, unchanged);
  EXPECT_EQ(reused, 0u);
}

}  // namespace
}  // namespace site
