#include "map_pictures.h"

#include <gtest/gtest.h>

#include "pk3_builder.h"
#include "program_runner.h"

namespace setup {
namespace {

namespace fs = std::filesystem;

TEST(MapPictures, OnlyLevelshotsWithPlainNamesArePictures) {
  EXPECT_EQ(mapOfEntry("levelshots/q3dm17.jpg"), "q3dm17");
  EXPECT_EQ(mapOfEntry("LevelShots/Q3CTF1.JPG"), "q3ctf1");
  EXPECT_EQ(mapOfEntry("levelshots/osp-map_2.v2.jpg"), "osp-map_2.v2");
  for (const char* other : {"levelshots/.jpg", "levelshots/../../etc.jpg", "levelshots/a/b.jpg", "levelshots/.hidden.jpg",
                            "levelshots/q3dm17.tga", "maps/q3dm17.jpg", "levelshots/a b.jpg", "xlevelshots/q.jpg",
                            "levelshots/a\\b.jpg"}) {
    EXPECT_EQ(mapOfEntry(other), "") << other;
  }
}

TEST(MapPictures, TheGameFoldersAreReadInTheGamesOrder) {
  kstest::TempDir game;
  for (const char* f : {"baseq3/pak1.pk3", "baseq3/pak0.pk3", "baseq3/zz.PK3", "baseq3/notes.txt", "osp/a.pk3",
                        "osp/zpak.pk3"}) {
    game.write(f, "");
  }
  fs::create_directory(game.path() / "baseq3" / "folder.pk3");
  std::vector<std::string> names;
  for (const fs::path& p : gameArchives(game.path())) names.push_back(p.lexically_relative(game.path()).string());
  EXPECT_EQ(names, (std::vector<std::string>{"baseq3/pak0.pk3", "baseq3/pak1.pk3", "baseq3/zz.PK3", "osp/a.pk3",
                                             "osp/zpak.pk3"}));
  EXPECT_TRUE(gameArchives(game.path() / "missing").empty());
}

TEST(MapPictures, LaterArchivesOverrideEarlierOnesAndBrokenArchivesAreNamed) {
  kstest::TempDir dir;
  ASSERT_TRUE(writePk3(dir.path() / "pak0.pk3", {{"levelshots/q3dm17.jpg", "old"},
                                                 {"levelshots/Q3DM1.jpg", "dm1"},
                                                 {"maps/q3dm17.bsp", "not a picture"}}));
  ASSERT_TRUE(writePk3(dir.path() / "pak1.pk3", {{"LEVELSHOTS/q3dm17.JPG", "new"}}));
  dir.write("broken.pk3", "this is no zip archive");
  MapPictures found = readMapPictures({dir.path() / "pak0.pk3", dir.path() / "broken.pk3", dir.path() / "pak1.pk3"});
  EXPECT_EQ(found.pictures.size(), 2u);
  EXPECT_EQ(found.pictures["q3dm17"], "new");
  EXPECT_EQ(found.pictures["q3dm1"], "dm1");
  EXPECT_EQ(found.sources["q3dm17"], (dir.path() / "pak1.pk3").string());
  ASSERT_EQ(found.errors.size(), 1u);
  EXPECT_NE(found.errors[0].find("broken.pk3"), std::string::npos);
}

}  // namespace
}  // namespace setup
