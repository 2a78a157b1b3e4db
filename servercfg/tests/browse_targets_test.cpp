#include "browse_targets.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace cvarsmith {
namespace {

using testing::FakePlatform;

std::vector<std::string> filterTexts(BrowseTarget target) {
  std::vector<std::string> texts;
  for (const FileFilter& filter : browseRequest(target).filters) {
    texts.push_back(filter.description + " " + filter.pattern);
  }
  return texts;
}

TEST(BrowseTargets, EachPromptOffersItsOwnFilesThenAllFiles) {
  using Texts = std::vector<std::string>;
  const Texts logs{"Log File (*.log) *.log", "All Files (*.*) *.*"};
  const Texts text{"Text File (*.txt) *.txt", "All Files (*.*) *.*"};
  const Texts all{"All Files (*.*) *.*"};
  EXPECT_EQ(filterTexts(BrowseTarget::LogFile), logs);
  EXPECT_EQ(filterTexts(BrowseTarget::AdminLog), logs);
  EXPECT_EQ(filterTexts(BrowseTarget::FilterFile), text);
  EXPECT_EQ(filterTexts(BrowseTarget::FilesMapFile), text);
  EXPECT_EQ(filterTexts(BrowseTarget::OtherMapFile), text);
  for (BrowseTarget target : {BrowseTarget::GfxFile, BrowseTarget::PlayerFile, BrowseTarget::FilesMotdFile,
                              BrowseTarget::FilesModeFile, BrowseTarget::VotingModeFile,
                              BrowseTarget::MotdDialogFile}) {
    EXPECT_EQ(filterTexts(target), all);
  }
  EXPECT_EQ(filterTexts(BrowseTarget::Executable),
            (Texts{"Executable File (*.exe) *.exe", "All Files (*.*) *.*"}));
  EXPECT_EQ(filterTexts(BrowseTarget::ServerConfigFile),
            (Texts{"Config File (*.cfg) *.cfg", "All Files (*.*) *.*"}));
}

TEST(BrowseTargets, GameFilesAreShortenedAgainstTheStoredInstallation) {
  FakePlatform fake;
  fake.store.exists = true;
  fake.store.values["Q3PATH"] = "D:\\Games\\Q3";
  ServerSettings settings;
  settings.commandLine.installationDirectory = "C:\\elsewhere";
  fake.files.answer = ChosenFile{"D:\\Games\\Q3\\osp\\cfg-maps\\ctf.txt", "ctf.txt"};
  ASSERT_TRUE(browseForFile(settings, BrowseTarget::OtherMapFile, fake.files, fake.store));
  EXPECT_EQ(settings.other.mapFile, "cfg-maps\\ctf.txt");
  EXPECT_EQ(settings.files.mapFile, ServerSettings{}.files.mapFile);  // the other copy waits for the tab switch

  // Without a stored value the page's installation directory is used; a
  // file outside the game directory keeps its full path.
  fake.store.values.clear();
  fake.files.answer = ChosenFile{"C:\\elsewhere\\osp\\motd.txt", "motd.txt"};
  browseForFile(settings, BrowseTarget::MotdDialogFile, fake.files, fake.store);
  EXPECT_EQ(settings.motd.motdFile, "motd.txt");
  fake.files.answer = ChosenFile{"/srv/logs/games.log", "games.log"};
  browseForFile(settings, BrowseTarget::LogFile, fake.files, fake.store);
  EXPECT_EQ(settings.files.logFileName, "/srv/logs/games.log");
}

TEST(BrowseTargets, CommandLineTargets) {
  FakePlatform fake;
  ServerSettings settings;
  fake.files.answer = ChosenFile{"/opt/q3/ioq3ded.x86_64", "ioq3ded.x86_64"};
  browseForFile(settings, BrowseTarget::Executable, fake.files, fake.store);
  EXPECT_EQ(settings.commandLine.executablePath, "/opt/q3/ioq3ded.x86_64");
  EXPECT_EQ(settings.commandLine.installationDirectory, "/opt/q3");
  EXPECT_EQ(settings.commandLine.executableName, "ioq3ded.x86_64");

  fake.files.answer = ChosenFile{"/opt/q3/osp/ctf.cfg", "ctf.cfg"};
  browseForFile(settings, BrowseTarget::ServerConfigFile, fake.files, fake.store);
  EXPECT_EQ(settings.commandLine.configFileName, "ctf.cfg");
}

TEST(BrowseTargets, CancelledPromptChangesNothing) {
  FakePlatform fake;
  ServerSettings settings;
  fake.files.answer = std::nullopt;
  for (int target = 0; target <= static_cast<int>(BrowseTarget::ServerConfigFile); ++target) {
    EXPECT_FALSE(browseForFile(settings, static_cast<BrowseTarget>(target), fake.files, fake.store));
  }
  EXPECT_EQ(settings, ServerSettings{});
}

TEST(LeavingPages, CarriesOverCopiesAndSavesPaths) {
  FakePlatform fake;
  fake.store.exists = true;
  ServerSettings settings;
  settings.other.mapFile = "other.txt";
  carryOverLeftPage(settings, Page::Other, fake.store);
  EXPECT_EQ(settings.files.mapFile, "other.txt");

  settings.commandLine.executablePath = "/games/q3/q3ded";
  carryOverLeftPage(settings, Page::CommandLine, fake.store);
  EXPECT_EQ(fake.store.values["Q3PATH"], "/games/q3");
  EXPECT_EQ(fake.store.values["Q3EXE"], "q3ded");
  EXPECT_EQ(settings.files.mapFile, "other.txt");
}

}  // namespace
}  // namespace cvarsmith
