// The pages' bindings: every control shows its setting and gives it back,
// the check boxes that enable others, and the weapon rows.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui_fixture.h"
#include "mode_presets.h"

namespace cvarsmith::testing {
namespace {

using Pages = MainDialogTest;

// Settings unlike the defaults wherever the pages can show it.
ServerSettings unusualSettings() {
  ServerSettings s;
  setPresetValues(s, ModePreset::ClanArena);
  s.gameplay.gameType = 2;  // Single Player: hidden, but kept
  s.gameplay.warmupSeconds = -3;
  s.gameplay.suddenDeathTimed = true;
  s.server.hostname = "Caf\xE9 \"quoted\"";  // a Latin-1 byte survives the box
  s.server.floodProtect = true;
  s.server.enhancedAuthentication = true;
  s.server.rconPassword = "secret";
  s.files.logFileEnabled = false;
  s.files.adminLogName = "admin.log";
  s.files.viewcamDirectory = "cams";
  s.weapons.row(Weapon::MachineGun).teamDamage = 4;
  s.weapons.row(Weapon::Gauntlet).damage = 75;
  s.weapons.instagibReload = 5000;
  s.weapons.inHand = static_cast<int>(InHand::Gauntlet);
  s.items.quadFactor = 3.14159265358979;  // all its digits come back
  s.items.replacements[3] = 9;
  s.items.hookPullSpeed = 1;
  s.voting.voteAllow[33] = false;
  s.voting.availableModes[5] = false;
  s.voting.modeStart = 99;
  s.voting.voteLimit = -1;
  s.other.rateMax = 25000;
  s.other.botAutoload = "sarge\tbot\x01\x7f";  // control characters survive the box too
  s.other.pingMax = 300;
  s.commandLine.netIp = {192, 168, 0, 7};
  s.commandLine.netPortEnabled = true;
  s.commandLine.netPort = 27961;
  s.commandLine.dedicated = 2;
  s.commandLine.gameDirectory = "osp2";
  return s;
}

TEST(PageBindings, EveryPageGivesBackWhatItShows) {
  FakePlatform fake;
  FakeRunner runner;
  FakeSmallDialogs dialogs;
  const ServerSettings shown = unusualSettings();
  MainDialog window(shown, fake.platform, runner, dialogs);

  ServerSettings taken;  // the defaults
  for (int i = 0; i < 8; ++i) {
    ASSERT_TRUE(window.page(static_cast<Page>(i))->commit(taken, fake.messages)) << i;
  }
  EXPECT_EQ(taken.gameplay, shown.gameplay);
  EXPECT_EQ(taken.server, shown.server);
  EXPECT_EQ(taken.files, shown.files);
  EXPECT_EQ(taken.weapons, shown.weapons);
  EXPECT_EQ(taken.items, shown.items);
  EXPECT_EQ(taken.voting, shown.voting);
  EXPECT_EQ(taken.other, shown.other);
  // The directory and name are derived from the path, not shown.
  taken.commandLine.installationDirectory = shown.commandLine.installationDirectory;
  taken.commandLine.executableName = shown.commandLine.executableName;
  EXPECT_EQ(taken.commandLine, shown.commandLine);
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Pages, UncheckingEnableVotingGreysEverythingElseOnThePage) {
  SettingsPage* voting = page(Page::Voting);
  QCheckBox* enable = captioned<QCheckBox>(voting, "Enable Voting");
  auto controls = [&] {
    std::vector<QWidget*> found;
    for (QWidget* w : voting->findChildren<QWidget*>()) {
      if (w != enable && (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w))) found.push_back(w);
    }
    return found;
  };
  ASSERT_GT(controls().size(), 40u);
  enable->click();
  EXPECT_TRUE(enable->isEnabled());
  for (QWidget* control : controls()) EXPECT_FALSE(control->isEnabled()) << control->accessibleName().toStdString();
  enable->click();
  for (QWidget* control : controls()) EXPECT_TRUE(control->isEnabled());
}

TEST_F(Pages, CheckBoxesEnableTheirDependentsOnClick) {
  struct Rule {
    Page page;
    const char* box;
    std::function<QWidget*(QWidget*)> dependent;
    bool checkedAtStart;
  };
  auto byKey = [](const char* key) { return [key](QWidget* p) -> QWidget* { return withKey<QLineEdit>(p, key); }; };
  auto byCaption = [](const char* text) { return [text](QWidget* p) -> QWidget* { return captioned(p, text); }; };
  const Rule rules[] = {
      {Page::Gameplay, "Warmup:", byKey("g_warmup"), true},
      {Page::Gameplay, "Overtime", byCaption("Sudden Death-Timed"), true},
      {Page::Gameplay, "Overtime", byKey("match_overtimelength"), true},
      {Page::Server, "OSP Authentication", byCaption("Enhanced Authentication"), false},
      {Page::Server, "Record Demos", byCaption("Server Time"), false},
      {Page::Files, "Log File:", byKey("g_log"), true},
      {Page::Files, "Admin Log:", [](QWidget* p) -> QWidget* { return withKey<QPushButton>(p, "admin_log"); }, false},
      {Page::Files, "Extra Stat Logging", byCaption("Log to Console"), false},
      {Page::Items, "Enable Hook", byCaption("Hook to Sky"), false},
      {Page::Items, "Enable Hook", byKey("hook_pullspeed"), false},
      {Page::Other, "Enable Queue", byCaption("Map Halt"), true},
      {Page::Other, "Starting Map:", byKey("map"), true},
      {Page::Other, "Enable Bots", byKey("bot_autoload"), false},
      {Page::CommandLine, "Net IP:", [](QWidget* p) { return named(p, "IP Address"); }, false},
      {Page::CommandLine, "Net Port:", byKey("net_port"), false},
  };
  for (const Rule& rule : rules) {
    SettingsPage* shown = page(rule.page);
    QCheckBox* box = captioned<QCheckBox>(shown, rule.box);
    QWidget* dependent = rule.dependent(shown);
    ASSERT_TRUE(box && dependent) << rule.box;
    EXPECT_EQ(dependent->isEnabled(), rule.checkedAtStart) << rule.box;
    box->click();
    EXPECT_EQ(dependent->isEnabled(), !rule.checkedAtStart) << rule.box;
    box->click();
    EXPECT_EQ(dependent->isEnabled(), rule.checkedAtStart) << rule.box;
  }
}

TEST_F(Pages, DisabledWeaponGreysInventoryAndDamageButNotAmmo) {
  SettingsPage* weapons = page(Page::WeaponsAndArmor);
  named<QCheckBox>(weapons, "Disable Machine Gun")->click();
  EXPECT_FALSE(captioned(weapons, "Machine Gun")->isEnabled());
  EXPECT_FALSE(named(weapons, "Machine Gun Damage")->isEnabled());
  EXPECT_FALSE(named(weapons, "Machine Gun Team Damage")->isEnabled());
  EXPECT_TRUE(named(weapons, "Machine Gun Ammo")->isEnabled());
  EXPECT_TRUE(captioned(weapons, "Rail Gun")->isEnabled());
  named<QCheckBox>(weapons, "Disable Machine Gun")->click();
  EXPECT_TRUE(named(weapons, "Machine Gun Damage")->isEnabled());

  // A loaded or preset value greys the row as well.
  settings().weapons.row(Weapon::Shotgun).disable = true;
  weapons->refresh(settings());
  EXPECT_FALSE(named(weapons, "Shotgun Damage")->isEnabled());
  EXPECT_TRUE(named(weapons, "Shotgun Ammo")->isEnabled());
}

TEST_F(Pages, ChoosingInHandTicksItsStartingInventory) {
  SettingsPage* weapons = page(Page::WeaponsAndArmor);
  QAbstractButton* railInventory = captioned(weapons, "Rail Gun");
  EXPECT_FALSE(railInventory->isChecked());
  named<QRadioButton>(weapons, "In Hand Rail Gun")->click();
  EXPECT_TRUE(railInventory->isChecked());
  ASSERT_TRUE(weapons->commit(settings(), fake.messages));
  EXPECT_TRUE(settings().weapons.row(Weapon::RailGun).startingInventory);

  // Showing settings never ticks a box by itself.
  settings().weapons.inHand = static_cast<int>(InHand::Bfg);
  weapons->refresh(settings());
  EXPECT_TRUE(named<QRadioButton>(weapons, "In Hand BFG")->isChecked());
  EXPECT_FALSE(captioned(weapons, "BFG")->isChecked());
  ASSERT_TRUE(weapons->commit(settings(), fake.messages));
  EXPECT_EQ(settings().weapons.inHand, static_cast<int>(InHand::Bfg));
  EXPECT_FALSE(settings().weapons.row(Weapon::Bfg).startingInventory);
}

TEST_F(Pages, HiddenControlsStayHidden) {
  window->show();
  EXPECT_FALSE(captioned(page(Page::Gameplay), "Single Player")->isVisible());
  EXPECT_FALSE(captioned(page(Page::Gameplay), "Single Player")->isEnabled());
  ASSERT_TRUE(window->selectPage(Page::Server));
  EXPECT_FALSE(captioned(page(Page::Server), "Flood Protect")->isVisible());
}

}  // namespace
}  // namespace cvarsmith::testing
