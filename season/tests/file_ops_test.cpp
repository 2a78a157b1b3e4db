// Files of the season that replace others: whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "file_ops.h"
#include "full_disk.h"
#include "program_runner.h"

namespace {

namespace fs = std::filesystem;

std::size_t filesIn(const fs::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(ReplaceFile, ADiskThatFillsUpLeavesTheOldFileWhole) {
  kstest::TempDir dir;
  dir.write("db_sql.txt", "old script");
  dir.write("pending", "carried over");
  const std::string path = (dir.path() / "db_sql.txt").string();
  const std::string script(5000, 's');
  for (std::size_t room : {0, 1, 4999}) {
    kstest::FullDisk disk(room);
    EXPECT_FALSE(season::replaceFile(path, script, disk)) << room;
    EXPECT_FALSE(season::copyFileReplacing((dir.path() / "pending").string(), path, disk)) << room;
    EXPECT_EQ(dir.read("db_sql.txt"), "old script") << room;
    EXPECT_EQ(filesIn(dir.path()), 2u) << "a temporary file left with room for " << room;
  }
  kstest::FullDisk disk(script.size());
  EXPECT_TRUE(season::replaceFile(path, script, disk));
  EXPECT_EQ(dir.read("db_sql.txt"), script);
  EXPECT_EQ(filesIn(dir.path()), 2u);
  // A file that cannot be moved into place (a folder has its name) leaves
  // no temporary file either.
  dir.write("taken/inside", "");
  EXPECT_FALSE(season::replaceFile((dir.path() / "taken").string(), "text"));
  EXPECT_EQ(filesIn(dir.path()), 3u);
}

}  // namespace
