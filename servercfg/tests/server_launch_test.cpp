#include "server_launch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config_text.h"
#include "config_writer.h"
#include "fakes.h"
#include "installation_check.h"
#include "program_runner.h"
#include "server_script.h"

namespace cvarsmith {
namespace {

using testing::FakePlatform;
using testing::splitLines;

CommandLinePage windowsPage() {
  CommandLinePage page;
  page.executablePath = "C:\\Program Files\\Quake III Arena\\quake3.exe";
  page.installationDirectory = "C:\\Program Files\\Quake III Arena";
  page.executableName = "quake3.exe";
  return page;
}

std::string batch(const CommandLinePage& page) {
  RenderedScript script = renderServerBatch(page, ScriptDialect::WindowsBatch);
  EXPECT_FALSE(script.refusedCaption);
  return script.text;
}

TEST(BatchFile, DefaultsWithTheDriveLineAndTrailingBlank) {
  EXPECT_EQ(batch(windowsPage()),
            "C:\n"
            "cd \"C:\\Program Files\\Quake III Arena\"\n"
            "\"quake3.exe\" +set com_hunkmegs 56 +set fs_game osp +exec server.cfg \n");
  CommandLinePage network = windowsPage();
  network.executablePath = "\\\\server\\q3\\quake3.exe";
  network.installationDirectory = "\\\\server\\q3";
  EXPECT_EQ(splitLines(batch(network))[0], "cd \"\\\\server\\q3\"");
}

TEST(BatchFile, DedicatedKindsAndOptionalPieces) {
  CommandLinePage page = windowsPage();
  page.dedicated = static_cast<int>(Dedicated::Private);
  page.configFileName = "";
  page.resetCvars = true;
  page.netIpEnabled = true;
  page.netIp = {192, 168, 0, 7};
  page.netPortEnabled = true;
  page.netPort = 27961;
  EXPECT_EQ(splitLines(batch(page))[2],
            "\"quake3.exe\" +cvar_restart +set com_hunkmegs 56 +set fs_game osp "
            "+set dedicated 1 +set net_IP 192.168.0.7 +set net_Port 27961 ");
  page.dedicated = static_cast<int>(Dedicated::Public);
  EXPECT_NE(batch(page).find("+set dedicated 2 "), std::string::npos);
  page.dedicated = static_cast<int>(Dedicated::Listen);
  EXPECT_EQ(batch(page).find("dedicated"), std::string::npos);
}

TEST(BatchFile, ValuesTheInterpreterWouldMisread) {
  CommandLinePage page = windowsPage();
  page.configFileName = "my configs\\a&b.cfg";
  page.gameDirectory = "100%osp";
  std::string text = batch(page);
  EXPECT_NE(text.find("+exec \"my configs\\a&b.cfg\" "), std::string::npos);
  EXPECT_NE(text.find("+set fs_game 100%%osp "), std::string::npos);
  page.gameDirectory = "osp\" & del *";
  RenderedScript refused = renderServerBatch(page, ScriptDialect::WindowsBatch);
  EXPECT_EQ(refused.refusedCaption, "Active Game Directory:");
  EXPECT_EQ(refused.text, "");
}

TEST(ShellScript, EntersTheDirectoryAndQuotesWhatNeedsIt) {
  CommandLinePage page;
  page.executablePath = "/opt/quake 3/ioq3ded";
  page.installationDirectory = "/opt/quake 3";
  page.executableName = "ioq3ded";
  page.dedicated = static_cast<int>(Dedicated::Public);
  RenderedScript script = renderServerBatch(page, ScriptDialect::PosixShell);
  EXPECT_EQ(script.text,
            "#!/bin/sh\n"
            "cd '/opt/quake 3' || exit 1\n"
            "'./ioq3ded' +set com_hunkmegs 56 +set fs_game osp +set dedicated 2 "
            "+exec server.cfg \n");
  page.configFileName = "$(rm -rf ~)'s.cfg";
  page.gameDirectory = "osp`id`";
  std::string text = renderServerBatch(page, ScriptDialect::PosixShell).text;
  EXPECT_NE(text.find("+set fs_game 'osp`id`' "), std::string::npos);
  EXPECT_NE(text.find("+exec '$(rm -rf ~)'\\''s.cfg' "), std::string::npos);
}

TEST(ListenScript, AlwaysCvarRestartAndQuotedNames) {
  CommandLinePage page = windowsPage();
  page.dedicated = static_cast<int>(Dedicated::Public);
  page.netPortEnabled = true;
  page.resetCvars = false;
  RenderedScript script = renderListenScript(page, kLaunchConfigFileName, ScriptDialect::WindowsBatch);
  EXPECT_EQ(script.text,
            "C:\n"
            "cd \"C:\\Program Files\\Quake III Arena\"\n"
            "\"quake3.exe\" +cvar_restart +set com_hunkmegs 56 +set fs_game \"osp\" "
            "+exec \"temp-cfg-file-000111.cfg\"");
}

class ServerLaunchTest : public ::testing::Test {
 protected:
  kstest::TempDir dir;
  FakePlatform fake;
  ServerSettings settings;
  ConfigWriterMemory memory;

  void SetUp() override {
    std::filesystem::create_directories(dir.path() / "q3" / "osp");
    dir.write("q3/ioq3ded", "not really a game");
    setExecutablePath(settings.commandLine, (dir.path() / "q3" / "ioq3ded").string());
  }
  std::string installation() const { return (dir.path() / "q3").string(); }
};

TEST_F(ServerLaunchTest, BatchFileSavesPathsAndShortensTheConfigName) {
  fake.store.exists = true;
  settings.commandLine.configFileName = installation() + "/osp/configs/duel.cfg";
  fake.files.answer = ChosenFile{(dir.path() / "start.sh").string(), "start.sh"};
  ASSERT_EQ(writeServerBatch(settings, fake.platform, ScriptDialect::PosixShell),
            BatchOutcome::Written);
  EXPECT_EQ(settings.commandLine.configFileName, "configs/duel.cfg");
  EXPECT_EQ(fake.store.values["Q3PATH"], installation());
  EXPECT_EQ(fake.store.values["Q3EXE"], "ioq3ded");
  ASSERT_EQ(fake.files.requests.size(), 1u);
  EXPECT_EQ(fake.files.requests[0].initialName, "q3-server.sh");
  EXPECT_TRUE(fake.files.requests[0].confirmOverwrite);
  std::string text = dir.read("start.sh");
  EXPECT_NE(text.find("+exec configs/duel.cfg \n"), std::string::npos);
  const auto perms = std::filesystem::status(dir.path() / "start.sh").permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
}

TEST_F(ServerLaunchTest, BatchFileCancelledOrUnwritable) {
  EXPECT_EQ(writeServerBatch(settings, fake.platform, ScriptDialect::WindowsBatch),
            BatchOutcome::Cancelled);
  EXPECT_TRUE(fake.messages.shown.empty());
  fake.files.answer = ChosenFile{(dir.path() / "no-dir" / "a.bat").string(), "a.bat"};
  EXPECT_EQ(writeServerBatch(settings, fake.platform, ScriptDialect::WindowsBatch),
            BatchOutcome::OpenFailed);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Unable to open output file.");
}

// Records each run and what the started script would have found.
class RecordingRunner final : public ProcessRunner {
 public:
  std::optional<int> status = 0;
  std::vector<std::string> programs, workingDirectories, scriptTexts, configTexts;
  std::string scriptPath, configPath;

  std::optional<int> runAndWait(const std::string& program, const std::vector<std::string>& args,
                                const std::string& workingDirectory) override {
    programs.push_back(program);
    workingDirectories.push_back(workingDirectory);
    scriptTexts.push_back(testing::readFile(args.back()));
    configTexts.push_back(testing::readFile(configPath));
    return status;
  }
};

TEST_F(ServerLaunchTest, ListenServerRunsInTheInstallationAndCleansUp) {
  const auto before = std::filesystem::current_path();
  RecordingRunner runner;
  runner.configPath = installation() + "/osp/temp-cfg-file-000111.cfg";
  settings.other.startingMapEnabled = false;
  ASSERT_EQ(spawnListenServer(settings, memory, std::nullopt, fake.platform, runner,
                              ScriptDialect::PosixShell),
            LaunchOutcome::Finished);
  ASSERT_EQ(runner.programs.size(), 1u);
  EXPECT_EQ(runner.programs[0], "/bin/sh");
  EXPECT_EQ(runner.workingDirectories[0], installation());
  EXPECT_NE(runner.scriptTexts[0].find("'./ioq3ded' +cvar_restart +set com_hunkmegs 56 "
                                       "+set fs_game 'osp' +exec 'temp-cfg-file-000111.cfg'\n"),
            std::string::npos);
  EXPECT_TRUE(testing::hasLine(runner.configTexts[0], "map \"q3dm1\""));
  EXPECT_FALSE(dir.exists("q3/pellombatchfile-000.sh"));
  EXPECT_FALSE(dir.exists("q3/osp/temp-cfg-file-000111.cfg"));
  EXPECT_EQ(std::filesystem::current_path(), before);
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ServerLaunchTest, ListenServerStartsNothingWhenSomethingIsMissing) {
  RecordingRunner runner;
  settings.commandLine.gameDirectory = "missing";
  EXPECT_EQ(spawnListenServer(settings, memory, std::nullopt, fake.platform, runner,
                              ScriptDialect::PosixShell),
            LaunchOutcome::ConfigNotWritten);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].caption, kLaunchFailedCaption);

  settings.commandLine.gameDirectory = "osp";
  settings.server.hostname = "a \"quoted\" name";  // refused by the writer, which says so
  EXPECT_EQ(spawnListenServer(settings, memory, std::nullopt, fake.platform, runner,
                              ScriptDialect::PosixShell),
            LaunchOutcome::ConfigNotWritten);
  EXPECT_EQ(fake.messages.shown.size(), 2u);

  setExecutablePath(settings.commandLine, installation() + "/quake3.exe");
  EXPECT_EQ(spawnListenServer(settings, memory, std::nullopt, fake.platform, runner,
                              ScriptDialect::PosixShell),
            LaunchOutcome::ExecutableMissing);
  EXPECT_EQ(fake.messages.shown.back().text, kExecutableMissingText);
  EXPECT_EQ(fake.messages.shown.back().caption, "Error: Unable to locate quake3.exe");
  EXPECT_TRUE(runner.programs.empty());
  EXPECT_FALSE(dir.exists("q3/osp/temp-cfg-file-000111.cfg"));
}

TEST_F(ServerLaunchTest, ListenServerThatCannotStartIsReported) {
  RecordingRunner runner;
  runner.status = std::nullopt;
  EXPECT_EQ(spawnListenServer(settings, memory, std::nullopt, fake.platform, runner,
                              ScriptDialect::WindowsBatch),
            LaunchOutcome::StartFailed);
  EXPECT_EQ(runner.programs, std::vector<std::string>{"cmd.exe"});
  EXPECT_FALSE(dir.exists("q3/pellombatchfile-000.bat"));
  EXPECT_FALSE(dir.exists("q3/osp/temp-cfg-file-000111.cfg"));
  EXPECT_EQ(fake.messages.shown.size(), 1u);
}

class FixedFirstUse final : public FirstUseDialog {
 public:
  std::optional<std::string> answer;
  std::string suggested;
  std::optional<std::string> confirmExecutablePath(const std::string& path) override {
    suggested = path;
    return answer;
  }
};

TEST(InstallationCheck, FirstUseStoresTheConfirmedPath) {
  testing::FakeStore store;
  FixedFirstUse dialog;
  CommandLinePage page;
  EXPECT_EQ(checkInstallation(page, store, std::string("D:\\Games\\Q3\\quake3.exe"), dialog),
            InstallationCheck::ExitProgram);
  EXPECT_EQ(dialog.suggested, "D:\\Games\\Q3\\quake3.exe");
  EXPECT_FALSE(store.exists);

  dialog.answer = "/srv/q3/ioq3ded";
  EXPECT_EQ(checkInstallation(page, store, std::nullopt, dialog), InstallationCheck::Recorded);
  EXPECT_EQ(page.installationDirectory, "/srv/q3");
  EXPECT_EQ(store.values["Q3EXEPATH"], "/srv/q3/ioq3ded");
  EXPECT_EQ(store.values["Q3EXE"], "ioq3ded");
  EXPECT_EQ(store.values["Q3PATH"], "/srv/q3");

  CommandLinePage later;
  dialog.suggested.clear();
  EXPECT_EQ(checkInstallation(later, store, std::nullopt, dialog), InstallationCheck::Stored);
  EXPECT_EQ(later.executablePath, "/srv/q3/ioq3ded");
  EXPECT_EQ(dialog.suggested, "");
}

}  // namespace
}  // namespace cvarsmith
