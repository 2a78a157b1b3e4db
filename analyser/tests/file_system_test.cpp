// The real file system's writer.
#include "file_system.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "program_runner.h"

namespace {

TEST(RealFileSystem, AnExclusiveWriteLeavesAFileInPlaceAloneAndSaysSo) {
  kstest::TempDir dir;
  FileSystem& files = realFileSystem();
  const std::string path = (dir.path() / "page.html").string();
  ASSERT_TRUE(files.writeNewFile(path, "a longer first text", NewFile{Durability::kSynced}));
  ASSERT_TRUE(files.writeNewFile(path, "second", NewFile{Durability::kUnsynced}));
  EXPECT_EQ(dir.read("page.html"), "second");
  // The site tells a file that appeared meanwhile by this answer.
  FileResult taken = files.writeNewFile(path, "third", NewFile{.exclusive = true});
  EXPECT_EQ(taken.failed, FileStep::kCreate);
  EXPECT_EQ(taken.error_number, EEXIST);
  EXPECT_EQ(dir.read("page.html"), "second");
}

}  // namespace
