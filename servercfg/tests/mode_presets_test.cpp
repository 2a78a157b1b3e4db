#include "mode_presets.h"

#include <gtest/gtest.h>

#include <set>

#include "config_text.h"
#include "config_writer.h"
#include "fakes.h"
#include "server_settings.h"

namespace cvarsmith {
namespace {

using testing::FakeMessages;
using testing::FakeStore;

std::set<std::string> linesOf(const ServerSettings& s) {
  auto lines = testing::splitLines(renderConfig(s, testing::FixedClock().localNow(), false).text);
  return {lines.begin(), lines.end()};
}

// The lines a preset adds to the default file; each replaces the line of the
// same variable (or, for g_dowarmup, also drops g_warmup).
std::set<std::string> addedByPreset(ModePreset preset) {
  ServerSettings s;
  setPresetValues(s, preset);
  EXPECT_EQ(s.files.mapFile, s.other.mapFile);
  std::set<std::string> defaults = linesOf(ServerSettings{});
  std::set<std::string> added;
  for (const std::string& line : linesOf(s)) {
    if (!defaults.count(line)) added.insert(line);
  }
  return added;
}

std::string setLine(const char* name, const char* value) {
  char line[256];
  std::snprintf(line, sizeof line, "set %-27s\"%s\"", name, value);
  return line;
}

TEST(ModePresetValues, Ffa) {
  EXPECT_EQ(addedByPreset(ModePreset::Ffa),
            (std::set<std::string>{setLine("fraglimit", "30"), setLine("timelimit", "20"),
                                   setLine("match_latejoin", "1"),
                                   setLine("sv_hostname", "OSP Free For All"),
                                   setLine("powerup_disable", "64")}));
}

TEST(ModePresetValues, OneVsOne) {
  EXPECT_EQ(addedByPreset(ModePreset::OneVsOne),
            (std::set<std::string>{
                setLine("fraglimit", "0"), setLine("g_gametype", "1"),
                setLine("g_forceRespawn", "10"), setLine("timelimit", "15"),
                setLine("match_readypercent", "100"), setLine("g_dowarmup", "0"),
                setLine("sv_hostname", "OSP Tourney 1v1"), setLine("powerup_disable", "255"),
                setLine("map_file", "cfg-maps\\1v1maps.txt"), setLine("item_disable", "4"),
                setLine("match_mutespecs", "1")}));
}

TEST(ModePresetValues, Tdm) {
  EXPECT_EQ(addedByPreset(ModePreset::Tdm),
            (std::set<std::string>{
                setLine("fraglimit", "0"), setLine("g_gametype", "3"),
                setLine("match_readypercent", "100"), setLine("team_maxplayers", "4"),
                setLine("match_overtime", "1"), setLine("timelimit", "20"),
                setLine("match_timeoutlength", "210"), setLine("match_timeoutcount", "7"),
                setLine("g_warmup", "0"), setLine("map_file", "cfg-maps\\teammaps.txt"),
                setLine("sv_hostname", "OSP Team DM"), setLine("start_bullets", "50")}));
}

TEST(ModePresetValues, Ctf) {
  EXPECT_EQ(addedByPreset(ModePreset::Ctf),
            (std::set<std::string>{
                setLine("capturelimit", "0"), setLine("fraglimit", "0"),
                setLine("g_gametype", "4"), setLine("match_readypercent", "100"),
                setLine("timelimit", "20"), setLine("match_timeoutlength", "210"),
                setLine("match_timeoutcount", "7"), setLine("g_warmup", "0"),
                setLine("sv_hostname", "OSP Capture The Flag"), setLine("powerup_disable", "16"),
                setLine("match_poweruprespawn", "120"),
                setLine("map_file", "cfg-maps\\ctfmaps.txt"), setLine("g_friendlyFire", "0"),
                "map \"q3ctf1\""}));
}

TEST(ModePresetValues, ClanArena) {
  EXPECT_EQ(addedByPreset(ModePreset::ClanArena),
            (std::set<std::string>{
                setLine("fraglimit", "5"), setLine("dmflags", "8"), setLine("g_gametype", "5"),
                setLine("g_warmup", "60"), setLine("match_readypercent", "100"),
                setLine("match_timeoutcount", "1"), setLine("sv_hostname", "OSP Clan Arena"),
                setLine("map_file", "cfg-maps\\camaps.txt"), setLine("g_friendlyFire", "0"),
                setLine("start_cells", "100"), setLine("start_bullets", "25"),
                setLine("start_grenades", "15"), setLine("start_shells", "20"),
                setLine("start_rockets", "80"), setLine("start_lightning", "150"),
                setLine("start_slugs", "15"), setLine("start_armor", "200"),
                setLine("weapon_deaddrop", "0"), setLine("weapon_have", "383"),
                setLine("weapon_start", "15"), setLine("item_disable", "1023"),
                setLine("powerup_disable", "255"), "map \"q3dm6\""}));
}

TEST(ApplyModePreset, CancelChangesNothing) {
  FakeMessages messages;
  FakeStore store;
  messages.answerOk = false;
  ServerSettings s;
  s.gameplay.fragLimit = 99;
  ServerSettings before = s;
  EXPECT_FALSE(applyModePreset(s, ModePreset::Ctf, PresetCaller::Dialog, messages, store));
  EXPECT_EQ(s, before);
}

TEST(ApplyModePreset, OkRestoresEveryDefaultFirst) {
  FakeMessages messages;
  FakeStore store;
  store.exists = true;
  store.values = {{"Q3EXEPATH", "D:\\q3\\quake3.exe"}};
  ServerSettings s;
  s.gameplay.fragLimit = 99;      // named by the preset
  s.server.gravity = 100;         // not named: still lost
  s.other.mapFile = "mine.txt";
  EXPECT_TRUE(applyModePreset(s, ModePreset::Tdm, PresetCaller::Dialog, messages, store));
  ServerSettings expected;
  expected.commandLine.executablePath = "D:\\q3\\quake3.exe";
  setPresetValues(expected, ModePreset::Tdm);
  EXPECT_EQ(s, expected);
  EXPECT_EQ(s.server.gravity, 800);
}

TEST(ApplyModePreset, QuestionsNameTheCaller) {
  FakeMessages messages;
  FakeStore store;
  ServerSettings s;
  applyModePreset(s, ModePreset::ClanArena, PresetCaller::Dialog, messages, store);
  applyModePreset(s, ModePreset::OneVsOne, PresetCaller::Loader, messages, store);
  ASSERT_EQ(messages.asked.size(), 2u);
  EXPECT_EQ(messages.asked[0].caption, "Variable Reset");
  EXPECT_EQ(messages.asked[0].text,
            "This will reset all settings to Clan Arena defaults.  Are you sure?");
  EXPECT_EQ(messages.asked[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(messages.asked[1].caption, "mode_start Detected");
  EXPECT_EQ(messages.asked[1].text,
            "mode_start variable detected.\n\nLoad 1v1 Defaults before processing remainder of "
            ".cfg file?");
}

}  // namespace
}  // namespace cvarsmith
