#include "config_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

#include "config_text.h"
#include "derived_values.h"
#include "fakes.h"
#include "program_runner.h"

namespace cvarsmith {
namespace {

using testing::FakePlatform;
using testing::hasLine;
using testing::setLinesOf;
using testing::splitLines;

std::string setLine(const char* name, const std::string& value) {
  char line[512];
  std::snprintf(line, sizeof line, "set %-27s\"%s\"", name, value.c_str());
  return line;
}

std::string render(const ServerSettings& settings, bool forceMapLine = false) {
  RenderedConfig rendered = renderConfig(settings, testing::FixedClock().localNow(), forceMapLine);
  EXPECT_FALSE(rendered.refused);
  return rendered.text;
}

TEST(DefaultConfigFile, MatchesTheHandWrittenFile) {
  std::vector<std::string> expected =
      splitLines(testing::readFile(CVARSMITH_TEST_DATA "/default_server.cfg"));
  std::vector<std::string> actual = splitLines(render(ServerSettings{}));
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] == "<date line>") {
      EXPECT_TRUE(std::regex_match(actual[i], std::regex(R"(//         on [ 1]\d/[ 123]\d/\d{4} [ 12]\d:\d\d:\d\d          //)")))
          << actual[i];
    } else {
      EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
    }
  }
}

TEST(DefaultConfigFile, DateLineAndLayout) {
  std::string text = render(ServerSettings{});
  EXPECT_EQ(splitLines(text)[4], "//         on 12/ 7/2024  9:05:03          //");
  int setLines = 0;
  for (const std::string& line : splitLines(text)) {
    if (line.rfind("set ", 0) != 0) continue;
    ++setLines;
    EXPECT_EQ(line.find('"'), 31u) << line;  // the value's quote is the 32nd character
  }
  EXPECT_EQ(setLines, 168);
  EXPECT_EQ(setLinesOf(text, "g_needpass"), std::vector<std::string>{setLine("g_needpass", "0")});
  EXPECT_TRUE(setLinesOf(text, "g_password").empty());
  EXPECT_TRUE(setLinesOf(text, "admin_log").empty());
  EXPECT_TRUE(text.find("set replace_") == std::string::npos);
}

TEST(GameplaySection, OvertimeModes) {
  ServerSettings s;
  s.gameplay.overtime = false;
  std::string text = render(s);
  EXPECT_TRUE(hasLine(text, setLine("match_overtime", "2")));
  EXPECT_TRUE(setLinesOf(text, "match_overtimecount").empty());
  EXPECT_TRUE(setLinesOf(text, "match_overtimelength").empty());

  s.gameplay.overtime = true;
  s.gameplay.suddenDeathTimed = true;
  EXPECT_TRUE(hasLine(render(s), setLine("match_overtime", "1")));
  s.gameplay.suddenDeath = false;
  text = render(s);
  EXPECT_TRUE(hasLine(text, setLine("match_overtime", "3")));
  EXPECT_TRUE(hasLine(text, setLine("match_overtimelength", "5")));
}

TEST(GameplaySection, DmflagsAndWarmup) {
  ServerSettings s;
  s.gameplay.fallingDamage = false;
  s.gameplay.fixedFov = true;
  s.gameplay.noFootsteps = true;
  s.gameplay.warmup = false;
  std::string text = render(s);
  EXPECT_TRUE(hasLine(text, setLine("dmflags", "56")));
  EXPECT_TRUE(hasLine(text, setLine("g_dowarmup", "0")));
  EXPECT_TRUE(setLinesOf(text, "g_warmup").empty());
}

TEST(ServerSection, PasswordRule) {
  ServerSettings s;
  for (const char* noPassword : {"", "none"}) {
    s.server.serverPassword = noPassword;
    std::string text = render(s);
    EXPECT_EQ(setLinesOf(text, "g_needpass"), std::vector<std::string>{setLine("g_needpass", "0")});
    EXPECT_TRUE(setLinesOf(text, "g_password").empty());
  }
  s.server.serverPassword = "None";  // compared exactly: a real password
  std::vector<std::string> lines = splitLines(render(s));
  auto needpass = std::find(lines.begin(), lines.end(), setLine("g_needpass", "1"));
  ASSERT_NE(needpass, lines.end());
  EXPECT_EQ(*(needpass + 1), setLine("g_password", "None"));
}

TEST(ServerSection, MasksAndOptionalPrivatePassword) {
  ServerSettings s;
  s.server.noTimer = true;
  s.server.recordDemos = true;
  s.server.alternateRecordingStyle = true;
  s.server.ospAuthentication = true;
  s.server.privatePassword = "p";
  std::string text = render(s);
  EXPECT_TRUE(hasLine(text, setLine("server_customclient", "31")));
  EXPECT_TRUE(hasLine(text, setLine("server_record", "17")));
  EXPECT_TRUE(hasLine(text, setLine("server_ospauth", "2")));
  EXPECT_TRUE(hasLine(text, setLine("g_privatePassword", "p")));
  s.server.enhancedAuthentication = true;
  EXPECT_TRUE(hasLine(render(s), setLine("server_ospauth", "1")));
}

TEST(FilesSection, LogSwitches) {
  ServerSettings s;
  s.files.logFileEnabled = false;
  s.files.adminLogEnabled = true;
  s.files.adminLogName = "admin.log";
  s.files.extraStatLogging = true;
  s.files.logToConsole = true;
  s.files.ospLogFormat = false;
  std::string text = render(s);
  EXPECT_TRUE(hasLine(text, "set g_log                      \"\""));
  EXPECT_TRUE(hasLine(text, setLine("admin_log", "admin.log")));
  EXPECT_TRUE(hasLine(text, setLine("log_stat", "2")));
  EXPECT_TRUE(hasLine(text, setLine("log_default", "1")));
}

TEST(WeaponSection, InHandAndInventory) {
  ServerSettings s;
  s.weapons.inHand = static_cast<int>(InHand::Gauntlet);
  EXPECT_TRUE(hasLine(render(s), setLine("weapon_start", "0")));
  s.weapons.inHand = static_cast<int>(InHand::Bfg);
  EXPECT_TRUE(hasLine(render(s), setLine("weapon_start", "255")));
  s.weapons.inHand = static_cast<int>(InHand::RocketLauncher);
  s.weapons.row(Weapon::Gauntlet).startingInventory = false;  // adds nothing either way
  s.weapons.row(Weapon::Bfg).startingInventory = true;
  s.weapons.row(Weapon::RailGun).disable = true;
  s.items.disabled(Item::AllHealth) = true;
  std::string text = render(s);
  EXPECT_TRUE(hasLine(text, setLine("weapon_start", "15")));
  EXPECT_TRUE(hasLine(text, setLine("weapon_have", "385")));
  EXPECT_TRUE(hasLine(text, setLine("item_disable", "514")));
}

TEST(ItemSection, ReplacementsHookAndQuadFactor) {
  ServerSettings s;
  s.items.replacements[static_cast<int>(Replaceable::MachineGun)] =
      static_cast<int>(Replaceable::Quad);
  s.items.enableHook = true;
  s.items.quadFactor = 4.25;
  std::string text = render(s);
  EXPECT_EQ(setLinesOf(text, "replace_machinegun"),
            std::vector<std::string>{setLine("replace_machinegun", "512")});
  EXPECT_EQ(text.find("set replace_", text.find("set replace_") + 1), std::string::npos);
  EXPECT_STREQ(kReplacementChoices[static_cast<int>(Replaceable::Quad)], "Quad ");
  EXPECT_TRUE(hasLine(text, setLine("g_quadfactor", "4.2500")));
  // More decimals only where four would change the value.
  for (const auto& [factor, written] : {std::pair{3.14159, "3.14159"}, std::pair{1e-7, "1e-07"},
                                        std::pair{-2.5, "-2.5000"}}) {
    ServerSettings q;
    q.items.quadFactor = factor;
    EXPECT_TRUE(hasLine(render(q), setLine("g_quadfactor", written))) << written;
  }
  std::vector<std::string> lines = splitLines(text);
  auto hook = std::find(lines.begin(), lines.end(), setLine("hook_enable", "1"));
  ASSERT_NE(hook, lines.end());
  EXPECT_EQ(*(hook + 1), setLine("hook_delaytime", "750"));
  EXPECT_EQ(*(hook + 3), setLine("hook_sky", "0"));
  EXPECT_EQ(*(hook + 5), setLine("hook_pullspeed", "950"));
}

TEST(VotingSection, DisabledVotingWritesThreeLines) {
  ServerSettings s;
  s.voting.enableVoting = false;
  s.voting.availableModes[1] = false;
  std::string text = render(s);
  EXPECT_TRUE(hasLine(text, setLine("server_availmodes", "61")));
  EXPECT_TRUE(setLinesOf(text, "vote_limit").empty());
  EXPECT_EQ(text.find("vote_allow_"), std::string::npos);
}

TEST(OtherSection, StartingMapLineRule) {
  ServerSettings s;
  s.other.startingMapEnabled = false;
  EXPECT_FALSE(hasLine(render(s), "map \"q3dm1\""));
  EXPECT_TRUE(hasLine(render(s, true), "map \"q3dm1\""));
  s.other.enableQueue = false;
  s.other.enableBots = true;
  std::string text = render(s);
  EXPECT_TRUE(setLinesOf(text, "map_once").empty());
  EXPECT_TRUE(hasLine(text, setLine("bot_autoload", "")));
}

TEST(RefusedText, DoubleQuoteOrLineBreakWritesNothing) {
  ServerSettings s;
  s.server.hostname = "My \"best\" server";
  RenderedConfig rendered = renderConfig(s, testing::FixedClock().localNow(), false);
  ASSERT_TRUE(rendered.refused);
  EXPECT_EQ(rendered.refused->variable, "sv_hostname");
  EXPECT_EQ(rendered.text, "");

  ServerSettings motd;
  motd.motd.lines[2] = "two\nlines";
  ASSERT_TRUE(renderConfig(motd, testing::FixedClock().localNow(), false).refused);

  // A text that is not written does not matter.
  ServerSettings unused;
  unused.files.adminLogName = "a\"b";
  EXPECT_FALSE(renderConfig(unused, testing::FixedClock().localNow(), false).refused);
}

TEST(MaskTables, UnpackInvertsPack) {
  ServerSettings s;
  unpackFlagBits(s, kItemDisableBits, 0x2A5);
  EXPECT_EQ(packFlagBits(s, kItemDisableBits), 0x2A5);
  unpackFlagBits(s, kPowerupDisableBits, 0x96);
  EXPECT_EQ(packFlagBits(s, kPowerupDisableBits), 0x96);
  EXPECT_EQ(packFlagBits(ServerSettings{}, kAvailableModeBits), 63);
}

// writeConfig with the platform around it.
class WriteConfigTest : public ::testing::Test {
 protected:
  kstest::TempDir dir;
  FakePlatform fake;
  ServerSettings settings;
  ConfigWriterMemory memory;

  std::string pathOf(const std::string& name) { return (dir.path() / name).string(); }
  void answerSaveWith(const std::string& name) { fake.files.answer = ChosenFile{pathOf(name), name}; }
  WriteOutcome write(std::optional<Page> edited = std::nullopt) {
    return writeConfig(settings, memory, WriteMode::Prompted, edited, fake.platform);
  }
};

TEST_F(WriteConfigTest, WritesChosenFileAndRemembersIt) {
  answerSaveWith("ctf.cfg");
  ASSERT_EQ(write(), WriteOutcome::Written);
  EXPECT_EQ(dir.read("ctf.cfg"), render(settings));
  ASSERT_EQ(fake.files.requests.size(), 1u);
  EXPECT_EQ(fake.files.requests[0].initialName, "server.cfg");
  EXPECT_EQ(memory.lastFileName, "ctf.cfg");
  EXPECT_EQ(settings.commandLine.configFileName, pathOf("ctf.cfg"));
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Config File Generated Successfully");
  EXPECT_EQ(fake.messages.shown[0].caption, "Done");
}

TEST_F(WriteConfigTest, CancelledPromptWritesAndShowsNothing) {
  EXPECT_EQ(write(), WriteOutcome::Cancelled);
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_EQ(memory.lastFileName, "server.cfg");
}

TEST_F(WriteConfigTest, UnopenableFileIsReported) {
  answerSaveWith("missing-dir/server.cfg");
  EXPECT_EQ(write(), WriteOutcome::OpenFailed);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Unable to open output file.");
  EXPECT_EQ(fake.messages.shown[0].caption, "Error writing file.");
  EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
}

TEST_F(WriteConfigTest, FailedWriteIsNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fake.files.answer = ChosenFile{"/dev/full", "full"};
  EXPECT_EQ(write(), WriteOutcome::WriteFailed);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Error);
}

TEST_F(WriteConfigTest, RefusedValueLeavesExistingFileAlone) {
  dir.write("server.cfg", "old");
  answerSaveWith("server.cfg");
  settings.server.rconPassword = "a\"b";
  EXPECT_EQ(write(), WriteOutcome::Refused);
  EXPECT_EQ(dir.read("server.cfg"), "old");
  EXPECT_TRUE(fake.files.requests.empty());
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_NE(fake.messages.shown[0].text.find("rconPassword"), std::string::npos);
}

TEST_F(WriteConfigTest, FileNamesInsideTheGameDirectoryAreShortened) {
  settings.commandLine.installationDirectory = "C:\\Games\\Quake3";
  settings.files.mapFile = "C:\\Games\\Quake3\\osp\\cfg-maps\\ffamaps.txt";
  settings.files.logFileName = "C:/Games/Quake3/osp/logs/games.log";
  settings.files.decalDirectory = "C:\\Games\\Quake3\\osp\\decals";  // not one of the eight
  answerSaveWith("server.cfg");
  ASSERT_EQ(write(), WriteOutcome::Written);
  std::string text = dir.read("server.cfg");
  EXPECT_TRUE(hasLine(text, setLine("map_file", "cfg-maps\\ffamaps.txt")));
  EXPECT_TRUE(hasLine(text, setLine("g_log", "logs/games.log")));
  EXPECT_TRUE(hasLine(text, setLine("decal_directory", "C:\\Games\\Quake3\\osp\\decals")));
  EXPECT_EQ(settings.files.mapFile, "cfg-maps\\ffamaps.txt");
}

TEST_F(WriteConfigTest, EditedPageCarriesItsFileNamesOver) {
  settings.other.mapFile = "other.txt";
  settings.voting.modeFile = "modes.txt";
  answerSaveWith("a.cfg");
  ASSERT_EQ(write(Page::Other), WriteOutcome::Written);
  EXPECT_TRUE(hasLine(dir.read("a.cfg"), setLine("map_file", "other.txt")));
  EXPECT_TRUE(hasLine(dir.read("a.cfg"), setLine("mode_customfile", "none")));
  answerSaveWith("b.cfg");
  ASSERT_EQ(write(Page::Voting), WriteOutcome::Written);
  EXPECT_TRUE(hasLine(dir.read("b.cfg"), setLine("mode_customfile", "modes.txt")));
}

TEST_F(WriteConfigTest, LaunchModeWritesIntoTheGameDirectoryWithTheMap) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::create_directories(dir.path() / "osp");
  settings.commandLine.installationDirectory = dir.path().string();
  settings.other.startingMapEnabled = false;
  WriteOutcome outcome = writeConfig(settings, memory, WriteMode::Launch, std::nullopt, fake.platform);
  EXPECT_EQ(std::filesystem::current_path(), before);
  ASSERT_EQ(outcome, WriteOutcome::Written);
  EXPECT_TRUE(hasLine(dir.read("osp/temp-cfg-file-000111.cfg"), "map \"q3dm1\""));
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_TRUE(fake.files.requests.empty());

  settings.commandLine.gameDirectory = "missing";
  EXPECT_EQ(writeConfig(settings, memory, WriteMode::Launch, std::nullopt, fake.platform),
            WriteOutcome::OpenFailed);
  EXPECT_FALSE(dir.exists("missing"));
}

}  // namespace
}  // namespace cvarsmith
