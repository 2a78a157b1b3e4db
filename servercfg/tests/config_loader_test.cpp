#include "config_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "config_line.h"
#include "config_text.h"
#include "config_writer.h"
#include "fakes.h"
#include "loader_table.h"
#include "mode_presets.h"
#include "program_runner.h"

namespace cvarsmith {
namespace {

using testing::FakePlatform;
using namespace std::string_literals;

TEST(SplitConfigLine, WordsAndQuotes) {
  ConfigLineWords w = splitConfigLine("  set\tsv_hostname \"My  Server\" trailing words\n");
  EXPECT_TRUE(w.complete);
  EXPECT_EQ(w.keyword, "set");
  EXPECT_EQ(w.name, "sv_hostname");
  EXPECT_EQ(w.value, "My  Server");

  w = splitConfigLine("set sv_hostname My Server");
  EXPECT_EQ(w.value, "My");  // an unquoted value ends at the first blank

  w = splitConfigLine("set timelimit 20// twenty minutes");
  EXPECT_TRUE(w.complete);
  EXPECT_EQ(w.value, "20");

  w = splitConfigLine("map \"q3dm17\"");
  EXPECT_TRUE(w.complete);
  EXPECT_EQ(w.name, "q3dm17");
  EXPECT_EQ(w.value, "");
}

TEST(SplitConfigLine, IncompleteLinesStillFillTheirWords) {
  EXPECT_FALSE(splitConfigLine("").complete);
  EXPECT_FALSE(splitConfigLine(" \t\r\n").complete);
  ConfigLineWords oneWord = splitConfigLine("exec\r\n");
  EXPECT_FALSE(oneWord.complete);
  EXPECT_EQ(oneWord.keyword, "exec");
  EXPECT_FALSE(splitConfigLine("set \"mode_start 2").complete);
  ConfigLineWords open = splitConfigLine("set mode_start \"2");
  EXPECT_FALSE(open.complete);
  EXPECT_EQ(open.value, "2");
}

TEST(ConfigNumbers, LeadingNumberOrZero) {
  EXPECT_EQ(configInteger("20"), 20);
  EXPECT_EQ(configInteger(" -3x"), -3);
  EXPECT_EQ(configInteger("+7"), 7);
  EXPECT_EQ(configInteger(""), 0);
  EXPECT_EQ(configInteger("abc"), 0);
  EXPECT_EQ(configInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(configInteger("-99999999999999999999"), -2147483647 - 1);
  EXPECT_DOUBLE_EQ(configReal("3.5000"), 3.5);
  EXPECT_DOUBLE_EQ(configReal("-2e1z"), -20.0);
  EXPECT_DOUBLE_EQ(configReal(".5"), 0.5);
  EXPECT_DOUBLE_EQ(configReal("nan"), 0.0);
  EXPECT_DOUBLE_EQ(configReal("1e999"), 0.0);
}

TEST(LoaderTable, EveryVariableOnceAndHostnameTwice) {
  std::set<std::string> names;
  std::set<int> codes;
  int unreachable = 0;
  for (const LoaderEntry& entry : kLoaderEntries) {
    names.insert(entry.name);
    EXPECT_TRUE(codes.insert(entry.code).second) << entry.name;
    if (findLoaderEntry(entry.name) != &entry) ++unreachable;
  }
  EXPECT_EQ(names.size(), 194u);
  EXPECT_EQ(unreachable, 1);  // the second sv_hostname
  EXPECT_EQ(findLoaderEntry("sv_fps"), nullptr);
  EXPECT_EQ(loaderEntryPage(*findLoaderEntry("VOTE_ALLOW_KICK")), Page::Voting);
  EXPECT_EQ(loaderEntryPage(*findLoaderEntry("server_motd8")), Page::Server);
  EXPECT_EQ(loaderEntryPage(*findLoaderEntry("sv_minping")), Page::Other);
}

class LoadConfigTest : public ::testing::Test {
 protected:
  kstest::TempDir dir;
  FakePlatform fake;
  ServerSettings settings = startUpSettings(fake.store);

  LoadReport load(const std::string& text) {
    dir.write("in.cfg", text);
    return loadConfigFile(settings, (dir.path() / "in.cfg").string(), fake.messages, fake.store);
  }
};

TEST_F(LoadConfigTest, KeywordsAreExactNamesIgnoreCase) {
  LoadReport report = load(
      "seta fraglimit \"7\"\n"
      "sets timelimit 12\n"
      "SET capturelimit \"3\"\n"
      "set G_GAMETYPE \"4\"\n");
  EXPECT_EQ(report.outcome, LoadOutcome::Loaded);
  EXPECT_EQ(settings.gameplay.fragLimit, 7);
  EXPECT_EQ(settings.gameplay.timeLimit, 12);
  EXPECT_EQ(settings.gameplay.captureLimit, 8);
  EXPECT_EQ(settings.gameplay.gameType, 4);
  EXPECT_EQ(report.problems, "  3: SET capturelimit \"3\"\r\n");
}

TEST_F(LoadConfigTest, ValuesMapLineAndProblemListing) {
  LoadReport report = load(
      "// a comment line\n"
      "\n"
      "set sv_hostname \"My  Quoted Server\"\n"
      "set timelimit 20// twenty\n"
      "exec other.cfg\n"
      "lonelyword\n"
      "//set fraglimit 1\n"
      "set sv_fps \"20\"\n"
      "set g_motd \"unterminated\n"
      "map q3dm17\n"
      "set g_quadfactor \"4.5\"\n"
      "set team_noteamready \"1\"\n");
  EXPECT_EQ(settings.server.hostname, "My  Quoted Server");
  EXPECT_EQ(settings.gameplay.timeLimit, 20);
  EXPECT_EQ(settings.gameplay.fragLimit, 20);
  EXPECT_EQ(settings.motd.gameMotd, "");
  EXPECT_TRUE(settings.other.startingMapEnabled);
  EXPECT_EQ(settings.other.startingMap, "q3dm17");
  EXPECT_DOUBLE_EQ(settings.items.quadFactor, 4.5);
  EXPECT_FALSE(settings.gameplay.teamReady);
  EXPECT_EQ(report.problems, "  5: exec other.cfg\r\n  8: set sv_fps \"20\"\r\n");
  EXPECT_TRUE(fake.messages.asked.empty());
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(LoadConfigTest, LastLineWithoutLineFeedAndLongLines) {
  load("set fraglimit \"5\"\nset timelimit \"9\"");
  EXPECT_EQ(settings.gameplay.fragLimit, 5);
  EXPECT_EQ(settings.gameplay.timeLimit, 9);

  // At most 1023 characters are read as one line; the rest of a longer line
  // is the next line (here a single word, skipped), and both are counted.
  std::string longLine = "set sv_hostname \"" + std::string(1100, 'h') + "\"\n";
  LoadReport report = load(longLine + "set bogus 1\n");
  EXPECT_EQ(settings.server.hostname, "OSP Tourney DM");  // the first piece lacks its quote
  EXPECT_EQ(report.problems, "  3: set bogus 1\r\n");
}

TEST_F(LoadConfigTest, TextLimitsAndBadReplacements) {
  LoadReport report = load("set sv_hostname \"" + std::string(400, 'x') + "\"\n" +
                           "set server_motd3 \"" + std::string(300, 'm') + "\"\n" +
                           "set player_always \"" + std::string(300, 'p') + "\"\n" +
                           "set replace_quad \"512\"\n"
                           "set replace_bfg \"12\"\n"
                           "set replace_haste \"16384\"\n");
  EXPECT_EQ(settings.server.hostname, std::string(255, 'x'));
  EXPECT_EQ(settings.motd.lines[2], std::string(255, 'm'));
  EXPECT_EQ(settings.server.playerAlways.size(), 300u);  // not a limited box
  const auto choice = [&](Replaceable r) { return settings.items.replacements[static_cast<int>(r)]; };
  EXPECT_EQ(choice(Replaceable::Quad), static_cast<int>(Replaceable::Quad));
  EXPECT_EQ(choice(Replaceable::Bfg), static_cast<int>(Replaceable::Bfg));
  EXPECT_EQ(choice(Replaceable::Haste), static_cast<int>(Replaceable::Haste));
  // The cut lines are applied but listed, so that the cut is not silent.
  EXPECT_EQ(report.problems.substr(0, 23), "  1: set sv_hostname \"x");
  EXPECT_NE(report.problems.find("\r\n  2: set server_motd3 \"m"), std::string::npos);
  EXPECT_EQ(report.problems.find("  3: "), std::string::npos);
  EXPECT_NE(report.problems.find("\r\n  5: set replace_bfg \"12\"\r\n  6: set replace_haste \"16384\"\r\n"),
            std::string::npos);
}

TEST_F(LoadConfigTest, TextsTheWriterCouldNotWriteBackAreListed) {
  LoadReport report = load(
      "set sv_hostname My\"Server\n"
      "set g_motd \"one\rtwo\"\n"
      "map q3\"dm\n"
      "set player_always \"fine\"\n");
  EXPECT_EQ(settings.server.hostname, "OSP Tourney DM");
  EXPECT_EQ(settings.motd.gameMotd, "");
  EXPECT_EQ(settings.other.startingMap, "q3dm1");
  EXPECT_EQ(settings.server.playerAlways, "fine");
  EXPECT_EQ(report.problems,
            "  1: set sv_hostname My\"Server\r\n  2: set g_motd \"one\rtwo\"\r\n"
            "  3: map q3\"dm\r\n");
}

TEST_F(LoadConfigTest, DecodedVariables) {
  LoadReport report = load(
      "set dmflags \"40\"\n"
      "set match_overtime \"3\"\n"
      "set server_ospauth \"7\"\n"
      "set log_stat \"1\"\n"
      "set weapon_start \"264\"\n"
      "set weapon_have \"256\"\n"
      "set log_default \"0\"\n"
      "set g_allowvote \"0\"\n");
  EXPECT_FALSE(settings.gameplay.fallingDamage);
  EXPECT_FALSE(settings.gameplay.fixedFov);
  EXPECT_TRUE(settings.gameplay.noFootsteps);
  EXPECT_TRUE(settings.gameplay.overtime);
  EXPECT_FALSE(settings.gameplay.suddenDeath);
  EXPECT_TRUE(settings.server.ospAuthentication);
  EXPECT_FALSE(settings.server.enhancedAuthentication);
  EXPECT_TRUE(settings.files.extraStatLogging);
  EXPECT_FALSE(settings.files.logToConsole);
  EXPECT_TRUE(settings.files.ospLogFormat);
  // Bit 8 (Rocket Launcher) is above the Gauntlet's 256 in priority.
  EXPECT_EQ(settings.weapons.inHand, static_cast<int>(InHand::RocketLauncher));
  EXPECT_FALSE(settings.weapons.row(Weapon::MachineGun).startingInventory);
  EXPECT_FALSE(settings.voting.enableVoting);
  EXPECT_TRUE(report.problems.empty());
  EXPECT_EQ(report.enablingChanged,
            (std::vector<Page>{Page::Gameplay, Page::Server, Page::Files, Page::Voting}));

  load("set match_overtime \"9\"\nset weapon_start \"512\"\n");  // changes nothing
  EXPECT_FALSE(settings.gameplay.suddenDeath);
  EXPECT_EQ(settings.weapons.inHand, static_cast<int>(InHand::RocketLauncher));
  load("set weapon_start \"0\"\n");  // the writer's value for the Gauntlet
  EXPECT_EQ(settings.weapons.inHand, static_cast<int>(InHand::Gauntlet));
}

TEST_F(LoadConfigTest, LogFileNamesSetTheirBoxes) {
  LoadReport report = load("set admin_log \"admin.log\"\nset g_log \"\"\n");
  EXPECT_TRUE(settings.files.adminLogEnabled);
  EXPECT_EQ(settings.files.adminLogName, "admin.log");
  EXPECT_FALSE(settings.files.logFileEnabled);
  EXPECT_EQ(settings.files.logFileName, "");
  EXPECT_EQ(report.enablingChanged, std::vector<Page>{Page::Files});

  load("set g_log \"none\"\nset admin_log \"none\"\n");
  EXPECT_TRUE(settings.files.logFileEnabled);  // "none" is no admin log, but a game log name
  EXPECT_EQ(settings.files.logFileName, "none");
  EXPECT_FALSE(settings.files.adminLogEnabled);
  EXPECT_EQ(settings.files.adminLogName, "none");

  load("set admin_log \"x.log\"\nset admin_log \"\"\n");  // the last line wins
  EXPECT_FALSE(settings.files.adminLogEnabled);
}

TEST_F(LoadConfigTest, ModeStartOffersItsPresetFirst) {
  fake.messages.answerOk = true;
  load("set fraglimit \"3\"\nset mode_start \"2\"\n");
  ASSERT_EQ(fake.messages.asked.size(), 1u);
  EXPECT_EQ(fake.messages.asked[0].text, presetQuestion(ModePreset::Tdm, PresetCaller::Loader));
  EXPECT_EQ(fake.messages.asked[0].caption, "mode_start Detected");
  EXPECT_EQ(settings.gameplay.gameType, 3);   // from the preset
  EXPECT_EQ(settings.gameplay.fragLimit, 3);  // the file's line comes after it
  EXPECT_EQ(settings.voting.modeStart, 2);
  EXPECT_EQ(settings.files.mapFile, "cfg-maps\\teammaps.txt");
  EXPECT_EQ(settings.other.mapFile, "cfg-maps\\teammaps.txt");
}

TEST_F(LoadConfigTest, CancelledModeStartStillLoadsTheRest) {
  fake.messages.answerOk = false;
  load("set fraglimit \"3\"\nset mode_start \"2\"\n");
  EXPECT_EQ(fake.messages.asked.size(), 1u);
  EXPECT_EQ(settings.gameplay.gameType, 0);
  EXPECT_EQ(settings.gameplay.fragLimit, 3);
  EXPECT_EQ(settings.voting.modeStart, 2);
}

TEST_F(LoadConfigTest, ModeStartQuestionNeedsTheExactName) {
  load("set MODE_START \"2\"\n");
  EXPECT_TRUE(fake.messages.asked.empty());
  EXPECT_EQ(settings.voting.modeStart, 2);

  load("set mode_start\n");  // an empty value counts as 0
  ASSERT_EQ(fake.messages.asked.size(), 1u);
  EXPECT_EQ(fake.messages.asked[0].text, presetQuestion(ModePreset::Ffa, PresetCaller::Loader));
  EXPECT_EQ(settings.voting.modeStart, 0);

  load("set mode_start \"-1\"\nset mode_start \"6\"\n");
  EXPECT_EQ(fake.messages.asked.size(), 1u);
}

TEST_F(LoadConfigTest, FilesPageNamesReachTheirCopies) {
  load("set map_file \"maps.txt\"\nset server_motdfile \"motd.txt\"\nset mode_customfile \"m.txt\"\n");
  EXPECT_EQ(settings.other.mapFile, "maps.txt");
  EXPECT_EQ(settings.motd.motdFile, "motd.txt");
  EXPECT_EQ(settings.voting.modeFile, "m.txt");
}

TEST_F(LoadConfigTest, PromptAndUnreadableFile) {
  const ServerSettings before = settings;
  EXPECT_EQ(loadConfig(settings, fake.platform).outcome, LoadOutcome::Cancelled);
  ASSERT_EQ(fake.files.requests.size(), 1u);
  EXPECT_EQ(fake.files.requests[0].defaultExtension, "cfg");

  fake.files.answer = ChosenFile{(dir.path() / "missing.cfg").string(), "missing.cfg"};
  EXPECT_EQ(loadConfig(settings, fake.platform).outcome, LoadOutcome::OpenFailed);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Error Opening File.");
  EXPECT_EQ(fake.messages.shown[0].caption, "File Read Error");
  EXPECT_EQ(fake.messages.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(settings, before);
}

TEST_F(LoadConfigTest, OnlyRegularFilesAreRead) {
  const ServerSettings before = settings;
  dir.write("folder.cfg/inside.txt", "set fraglimit 3\n");
  std::vector<std::string> notFiles = {(dir.path() / "folder.cfg").string()};
  for (const char* device : {"/dev/null", "/dev/zero"}) {
    if (std::filesystem::exists(device)) notFiles.push_back(device);
  }
  for (const std::string& path : notFiles) {
    fake.messages.shown.clear();
    EXPECT_EQ(loadConfigFile(settings, path, fake.messages, fake.store).outcome,
              LoadOutcome::OpenFailed)
        << path;
    ASSERT_EQ(fake.messages.shown.size(), 1u) << path;
    EXPECT_EQ(fake.messages.shown[0].text, "Error Opening File.");
  }
  EXPECT_EQ(settings, before);

  // A link to a regular file is that file.
  load("set fraglimit 6\n");
  std::filesystem::create_symlink(dir.path() / "in.cfg", dir.path() / "link.cfg");
  settings.gameplay.fragLimit = 1;
  loadConfigFile(settings, (dir.path() / "link.cfg").string(), fake.messages, fake.store);
  EXPECT_EQ(settings.gameplay.fragLimit, 6);
}

TEST_F(LoadConfigTest, BinaryGarbageIsListedNotFatal) {
  std::string garbage = "set \0\xff\xfe \"\x01\"\n"s;
  garbage += "\0\0\0set fraglimit 4\n"s;
  garbage += "set\x7f" + std::string(3000, '"') + "\n";
  LoadReport report = load(garbage);
  EXPECT_EQ(report.outcome, LoadOutcome::Loaded);
  EXPECT_FALSE(report.problems.empty());
}

// Written, loaded and written again: the same file.
class RoundTrip : public ::testing::Test {
 protected:
  kstest::TempDir dir;
  FakePlatform fake;

  std::string text(const ServerSettings& s) {
    RenderedConfig rendered = renderConfig(s, fake.clock.localNow(), false);
    EXPECT_FALSE(rendered.refused);
    return rendered.text;
  }

  // Loads the file of `written` into fresh start-up settings.
  ServerSettings reloaded(const ServerSettings& written) {
    dir.write("round.cfg", text(written));
    ServerSettings loaded = startUpSettings(fake.store);
    LoadReport report =
        loadConfigFile(loaded, (dir.path() / "round.cfg").string(), fake.messages, fake.store);
    EXPECT_EQ(report.problems, "");
    return loaded;
  }

  void expectSameFile(const ServerSettings& s) { EXPECT_EQ(text(reloaded(s)), text(s)); }
};

TEST_F(RoundTrip, DefaultsAndPresets) {
  expectSameFile(ServerSettings{});
  for (ModePreset preset : {ModePreset::Ffa, ModePreset::OneVsOne, ModePreset::Tdm,
                            ModePreset::Ctf, ModePreset::ClanArena}) {
    ServerSettings s;
    setPresetValues(s, preset);
    expectSameFile(s);
  }
  EXPECT_TRUE(fake.messages.asked.empty());  // mode_start -1 asks nothing
}

ServerSettings everythingChanged() {
  ServerSettings s;
  GameplayPage& g = s.gameplay;
  g.gameType = 2;
  g.fallingDamage = false;
  g.fixedFov = true;
  g.noFootsteps = true;
  g.suddenDeath = false;  // match_overtime 3
  g.teamReady = false;
  g.overtimeRounds = 4;
  g.warmupSeconds = 33;
  ServerPage& sv = s.server;
  sv.ospAuthentication = true;  // server_ospauth 2
  sv.recordDemos = true;
  sv.serverTime = true;
  sv.alternateRecordingStyle = true;
  sv.sampling125Hz = false;
  sv.noTimer = true;
  sv.serverPassword = "secret";
  sv.privatePassword = "private";
  sv.hostname = "Host with  blanks // and a comment mark";
  s.motd.lines[5] = "line six";
  FilesPage& f = s.files;
  f.adminLogEnabled = true;
  f.adminLogName = "admin.log";
  f.ospLogFormat = false;
  f.extraStatLogging = true;
  f.logToConsole = true;  // log_stat 2
  WeaponsPage& w = s.weapons;
  w.inHand = static_cast<int>(InHand::Bfg);
  w.row(Weapon::MachineGun).startingInventory = false;
  w.row(Weapon::PlasmaGun).startingInventory = true;
  w.row(Weapon::Gauntlet).disable = true;
  w.row(Weapon::LightningGun).disable = true;
  w.row(Weapon::RailGun).damage = 80;
  ItemsPage& i = s.items;
  i.disabled(Item::AllHealth) = true;
  i.disabled(Item::Medkit) = true;
  i.disabled(Item::Flight) = true;
  i.enableHook = true;
  i.hookToSky = true;
  i.quadFactor = 2.75;
  i.replacements[static_cast<int>(Replaceable::MachineGun)] = static_cast<int>(Replaceable::Flight);
  i.replacements[static_cast<int>(Replaceable::Flight)] = static_cast<int>(Replaceable::MachineGun);
  i.replacements[static_cast<int>(Replaceable::Quad)] = static_cast<int>(Replaceable::Bfg);
  VotingPage& v = s.voting;
  v.availableModes[2] = false;
  v.voteAllow[7] = false;
  v.voteLimit = -1;
  s.votableItems.itemsMask = 513;
  s.votableItems.powerupsMask = 6;
  v.modeFile = s.files.modeFile;  // as at start-up, where it follows the Files page
  OtherPage& o = s.other;
  o.enableBots = true;
  o.botAutoload = "bots.txt";
  o.mapHalt = true;
  o.startingMap = "q3tourney2";
  return s;
}

TEST_F(RoundTrip, EveryDerivedVariableChanged) {
  const ServerSettings s = everythingChanged();
  expectSameFile(s);
  ServerSettings loaded = reloaded(s);
  EXPECT_EQ(loaded.gameplay, s.gameplay);
  EXPECT_EQ(loaded.files, s.files);
  EXPECT_EQ(loaded.server, s.server);
  EXPECT_EQ(loaded.weapons, s.weapons);
  EXPECT_EQ(loaded.items, s.items);
  EXPECT_EQ(loaded.voting, s.voting);
  EXPECT_EQ(loaded.votableItems, s.votableItems);
  EXPECT_EQ(loaded.other, s.other);
  // Every variable the writer can write, each read by exactly one row.
  int setLines = 0;
  for (const std::string& line : testing::splitLines(text(s))) setLines += line.rfind("set ", 0) == 0;
  EXPECT_EQ(setLines, 194 - 11);  // less 11 replace_ lines that keep their item
}

TEST_F(RoundTrip, LinesLeftOutUnderAConditionStayWhenTheFileSetThem) {
  dir.write("hand.cfg",
            "set g_dowarmup 0\nset g_warmup 45\n"
            "set match_overtime 2\nset match_overtimelength 7\n"
            "set g_password none\nset g_privatePassword \"\"\n"
            "set hook_enable 0\nset hook_speed 900\n"
            "set replace_quad 512\n"
            "set g_allowvote 0\nset vote_limit 3\nset vote_allow_kick 0\n"
            "set bot_enable 0\nset bot_minplayers 4\n"
            "set map_queue 0\nset map_once 0\n");
  ServerSettings loaded = startUpSettings(fake.store);
  loadConfigFile(loaded, (dir.path() / "hand.cfg").string(), fake.messages, fake.store);
  const std::string saved = text(loaded);
  for (const char* line :
       {"set g_dowarmup                 \"0\"", "set g_warmup                   \"45\"",
        "set match_overtime             \"2\"", "set match_overtimelength       \"7\"",
        "set g_needpass                 \"0\"", "set g_password                 \"none\"",
        "set g_privatePassword          \"\"", "set hook_enable                \"0\"",
        "set hook_speed                 \"900\"", "set replace_quad               \"512\"",
        "set vote_limit                 \"3\"", "set vote_allow_kick            \"0\"",
        "set bot_minplayers             \"4\"", "set map_once                   \"0\""}) {
    EXPECT_TRUE(testing::hasLine(saved, line)) << line;
  }
  // Only the lines the file held: the rest of each group stays out.
  for (const char* name : {"match_overtimecount", "hook_delaytime", "vote_percent",
                           "vote_allow_map", "bot_autoload", "map_halt", "replace_bfg"}) {
    EXPECT_TRUE(testing::setLinesOf(saved, name).empty()) << name;
  }
  // Switched on in the dialog, the group is written whole.
  loaded.items.enableHook = true;
  EXPECT_EQ(testing::setLinesOf(text(loaded), "hook_delaytime").size(), 1u);
}

TEST_F(RoundTrip, InHandGauntletComesBack) {
  ServerSettings s;
  s.weapons.inHand = static_cast<int>(InHand::Gauntlet);
  EXPECT_EQ(reloaded(s).weapons.inHand, static_cast<int>(InHand::Gauntlet));
}

TEST_F(RoundTrip, ValuesTheBoxesCannotHoldAreWrittenBack) {
  dir.write("hand.cfg",
            "set dmflags \"-1\"\nset server_customclient \"47\"\nset item_disable \"1027\"\n"
            "set weapon_have \"1\"\nset server_availmodes \"65\"\n"
            "set match_overtime \"7\"\nset server_ospauth \"5\"\nset log_stat \"9\"\n"
            "set weapon_start \"8\"\n");
  ServerSettings loaded = startUpSettings(fake.store);
  loadConfigFile(loaded, (dir.path() / "hand.cfg").string(), fake.messages, fake.store);
  const auto savedValue = [&](const char* name) {
    const std::vector<std::string> lines = testing::setLinesOf(text(loaded), name);
    return lines.size() == 1 ? lines[0].substr(31) : "(" + std::to_string(lines.size()) + " lines)";
  };
  const std::pair<const char*, const char*> unchanged[] = {
      {"dmflags", "\"-1\""},         {"server_customclient", "\"47\""},
      {"item_disable", "\"1027\""},  {"weapon_have", "\"1\""},
      {"server_availmodes", "\"65\""}, {"match_overtime", "\"7\""},
      {"server_ospauth", "\"5\""},   {"log_stat", "\"9\""},
      {"weapon_start", "\"8\""}};
  for (const auto& [name, value] : unchanged) EXPECT_EQ(savedValue(name), value) << name;

  // Boxes changed in the dialog: masks keep their other bits, codes follow the boxes.
  loaded.gameplay.fallingDamage = true;
  loaded.weapons.row(Weapon::Shotgun).startingInventory = true;
  loaded.gameplay.overtime = false;
  loaded.server.enhancedAuthentication = true;
  loaded.weapons.inHand = static_cast<int>(InHand::Bfg);
  EXPECT_EQ(savedValue("dmflags"), "\"-9\"");
  EXPECT_EQ(savedValue("weapon_have"), "\"3\"");
  EXPECT_EQ(savedValue("match_overtime"), "\"2\"");
  EXPECT_EQ(savedValue("server_ospauth"), "\"1\"");
  EXPECT_EQ(savedValue("weapon_start"), "\"255\"");
  // Changed back, the file's own code returns.
  loaded.weapons.inHand = static_cast<int>(InHand::RocketLauncher);
  EXPECT_EQ(savedValue("weapon_start"), "\"8\"");
}

}  // namespace
}  // namespace cvarsmith
