#include "install_paths.h"

#include <gtest/gtest.h>

#include "fakes.h"
#include "server_settings.h"

namespace cvarsmith {
namespace {

TEST(RelativisePath, NameInsideTheGameDirectory) {
  const std::string install = "C:\\Program Files\\Quake III Arena";
  EXPECT_EQ(relativisePath("C:\\Program Files\\Quake III Arena\\osp\\cfg-maps\\ffamaps.txt",
                           install, "osp"),
            "cfg-maps\\ffamaps.txt");
  // Either separator at every position of the name.
  EXPECT_EQ(relativisePath("C:/Program Files\\Quake III Arena/osp/maps.txt", install, "osp"),
            "maps.txt");
  EXPECT_EQ(relativisePath("/opt/q3/osp/logs/games.log", "/opt/q3", "osp"), "logs/games.log");
}

TEST(RelativisePath, PrefixInsideTheNameKeepsTheTextAfterIt) {
  EXPECT_EQ(relativisePath("\\\\server\\share/opt/q3/osp/a/b.txt", "/opt/q3", "osp"), "a/b.txt");
}

TEST(RelativisePath, OtherNamesAreUnchanged) {
  EXPECT_EQ(relativisePath("/opt/q3/baseq3/maps.txt", "/opt/q3", "osp"), "/opt/q3/baseq3/maps.txt");
  EXPECT_EQ(relativisePath("maps.txt", "/opt/q3", "osp"), "maps.txt");
  EXPECT_EQ(relativisePath("", "/opt/q3", "osp"), "");
  EXPECT_EQ(relativisePath("/opt/q3/osp", "/opt/q3", "osp"), "/opt/q3/osp");  // no final separator
  EXPECT_EQ(relativisePath("/opt/Q3/osp/x", "/opt/q3", "osp"), "/opt/Q3/osp/x");  // case counts
}

TEST(SplitExecutablePath, AtTheLastOfEitherSeparator) {
  SplitPath windows = splitExecutablePath("C:\\Games\\Quake3\\quake3.exe");
  EXPECT_EQ(windows.directory, "C:\\Games\\Quake3");
  EXPECT_EQ(windows.fileName, "quake3.exe");
  SplitPath mixed = splitExecutablePath("C:\\Games/q3\\bin/ioq3ded");
  EXPECT_EQ(mixed.directory, "C:\\Games/q3\\bin");
  EXPECT_EQ(mixed.fileName, "ioq3ded");
  SplitPath bare = splitExecutablePath("ioq3ded");
  EXPECT_EQ(bare.directory, "");
  EXPECT_EQ(bare.fileName, "ioq3ded");
}

TEST(InstallPaths, ResetReadsTheStoredValuesThatExist) {
  testing::FakeStore store;
  store.exists = true;
  store.values = {{"Q3EXEPATH", "/srv/q3/ioq3ded"}, {"Q3PATH", "/srv/q3"}};
  ServerSettings s;
  s.commandLine.executableName = "changed";
  resetToDefaults(s, store);
  EXPECT_EQ(s.commandLine.executablePath, "/srv/q3/ioq3ded");
  EXPECT_EQ(s.commandLine.installationDirectory, "/srv/q3");
  EXPECT_EQ(s.commandLine.executableName, kDefaultExecutableName);
}

TEST(InstallPaths, SaveWritesOnlyIntoAnExistingKey) {
  testing::FakeStore store;
  CommandLinePage page;
  page.executablePath = "D:\\q3\\quake3.exe";
  saveInstallPaths(page, store);
  EXPECT_TRUE(store.values.empty());
  EXPECT_EQ(page.installationDirectory, "D:\\q3");

  store.exists = true;
  saveInstallPaths(page, store);
  EXPECT_EQ(store.values["Q3EXEPATH"], "D:\\q3\\quake3.exe");
  EXPECT_EQ(store.values["Q3EXE"], "quake3.exe");
  EXPECT_EQ(store.values["Q3PATH"], "D:\\q3");
}

TEST(StartUp, DuplicatedFileNamesTakeTheFilesPageValues) {
  testing::FakeStore store;
  ServerSettings s = startUpSettings(store);
  EXPECT_EQ(s.voting.modeFile, "none");
  EXPECT_EQ(s.other.mapFile, s.files.mapFile);
  ServerSettings reset = s;
  resetToDefaults(reset, store);
  EXPECT_EQ(reset.voting.modeFile, "");  // the reset itself restores the table's ""
}

}  // namespace
}  // namespace cvarsmith
