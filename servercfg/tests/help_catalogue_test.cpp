#include "help_catalogue.h"

#include <gtest/gtest.h>

#include "config_text.h"
#include "config_writer.h"
#include "fakes.h"

namespace cvarsmith {
namespace {

const ServerSettings kDefaults{};

TEST(HelpLookup, EntriesBelongToTheirTab) {
  HelpEntry frag = lookupHelp(kDefaults, Page::Gameplay, "fraglimit");
  EXPECT_EQ(frag.syntax, "set fraglimit <value>");
  EXPECT_TRUE(frag.help.ends_with("(20)"));
  EXPECT_EQ(lookupHelp(kDefaults, Page::Server, "fraglimit"), kGeneralHelp);
  EXPECT_EQ(lookupHelp(kDefaults, Page::Server, "G_SPEED").syntax, "set g_speed <value>");
  // Shared by two tabs.
  EXPECT_EQ(lookupHelp(kDefaults, Page::WeaponsAndArmor, "item_disable"),
            lookupHelp(kDefaults, Page::Items, "item_disable"));
  EXPECT_EQ(lookupHelp(kDefaults, Page::WeaponsAndArmor, "start_shells").syntax,
            "set start_shells <value>");
}

TEST(HelpLookup, GeneralTextForAnythingElse) {
  EXPECT_EQ(kGeneralHelp.syntax, "");
  EXPECT_EQ(kGeneralHelp.help,
            "Move the mouse over a variable for more information about the variable (and it's "
            "default setting).\n\nClick \"Generate .cfg\" to generate and save the server "
            "configuration file.");
  EXPECT_EQ(lookupHelp(kDefaults, Page::Gameplay, ""), kGeneralHelp);
  EXPECT_EQ(lookupHelp(kDefaults, Page::Server, "sv_floodprotect"), kGeneralHelp);
}

TEST(HelpLookup, ThreeDmflagsTexts) {
  const char* tail = "  Part of the dmflags bitmask.  Please refer to the OSP Documentation "
                     "[Docs/osp-q3-Variables.txt] for bitmask values. ";
  HelpEntry falling = lookupHelp(kDefaults, Page::Gameplay, kControlFallingDamage);
  HelpEntry fov = lookupHelp(kDefaults, Page::Gameplay, kControlFixedFov);
  HelpEntry steps = lookupHelp(kDefaults, Page::Gameplay, kControlNoFootsteps);
  for (const HelpEntry* e : {&falling, &fov, &steps}) EXPECT_EQ(e->syntax, "set dmflags <bitmask>");
  EXPECT_EQ(falling.help, std::string("Enable/Disable Falling Damage.") + tail + "(0 - Normal Falling Damage)");
  EXPECT_EQ(fov.help, std::string("Force a specific FOV to clients.") + tail + "(0 - Variable FOV allowed)");
  EXPECT_EQ(steps.help, std::string("Enable/Disable Footsteps.") + tail + "(0 - Normal footfalls)");
  EXPECT_EQ(explainName(kDefaults, "dmflags").size(), 3u);
}

TEST(HelpLookup, MainDialogAndCommandLineControls) {
  EXPECT_EQ(lookupHelp(kDefaults, Page::Voting, kControlExit).help, "Click to exit the OSP Cvarsmith.");
  ServerSettings s;
  s.commandLine.executablePath = "/srv/q3/ioq3ded";
  HelpEntry path = lookupHelp(s, Page::CommandLine, kControlExecutablePath);
  EXPECT_EQ(path.syntax, "/srv/q3/ioq3ded");
  EXPECT_EQ(path.help, "Quake III Arena Executable Path. (C:\\Program Files\\Quake III Arena\\quake3.exe)");
}

TEST(ExplainName, FindsVariablesCaptionsAndDocumentedSpellings) {
  auto password = explainName(kDefaults, "g_password");
  ASSERT_EQ(password.size(), 1u);
  EXPECT_EQ(password[0].syntax, "set password <string>");
  EXPECT_EQ(explainName(kDefaults, "password"), password);
  EXPECT_EQ(explainName(kDefaults, "map_file").size(), 1u);  // same entry on two tabs
  auto button = explainName(kDefaults, "generate .CFG");
  ASSERT_EQ(button.size(), 1u);
  EXPECT_EQ(button[0].help, "Click to generate a config file with the current settings.");
  EXPECT_EQ(explainName(kDefaults, "vote_allow_kick")[0].syntax, "set vote_allow_* <0|1>");
  EXPECT_TRUE(explainName(kDefaults, "sv_fps").empty());
  EXPECT_TRUE(explainName(kDefaults, "").empty());
}

// Every variable the writer can produce has help, except those edited only in
// the MOTD dialog or derived without a control of their own.
TEST(ExplainName, CoversEveryWrittenVariable) {
  ServerSettings s;
  s.items.enableHook = true;
  s.other.enableBots = true;
  s.files.adminLogEnabled = true;
  std::string text = renderConfig(s, testing::FixedClock().localNow(), false).text;
  for (const std::string& line : testing::splitLines(text)) {
    if (line.rfind("set ", 0) != 0) continue;
    std::string name = line.substr(4, line.find(' ', 4) - 4);
    const bool motdLine = name.rfind("server_motd", 0) == 0 && name != "server_motdfile";
    if (name == "g_needpass" || name == "g_motd" || motdLine || name == "sv_floodprotect") {
      continue;
    }
    EXPECT_FALSE(explainName(s, name).empty()) << name;
  }
}

}  // namespace
}  // namespace cvarsmith
