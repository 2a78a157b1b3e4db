// The main window: tabs and the duplicated file names, failed commits,
// hover help, the preset, write, load and browse buttons.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "config_text.h"
#include "gui_fixture.h"
#include "help_catalogue.h"
#include "qt_platform.h"

namespace cvarsmith::testing {
namespace {

using MainWindow = MainDialogTest;

TEST_F(MainWindow, StartsOnGameplayWithEveryTab) {
  EXPECT_EQ(window->windowTitle(), "Q3 OSP(v1.01) Cvarsmith");
  const QStringList labels{"Gameplay", "Server", "Files ", "Weapons and Armor",
                           "Items ", "Voting", "Other ", "Command Line"};
  ASSERT_EQ(window->tabs()->count(), labels.size());
  for (int i = 0; i < labels.size(); ++i) EXPECT_EQ(window->tabs()->tabText(i), labels[i]);
  EXPECT_EQ(window->currentPage(), Page::Gameplay);
  EXPECT_EQ(window->variableText(), "");
  EXPECT_EQ(window->informationText(), "More Info");
  EXPECT_FALSE(named(page(Page::CommandLine), "IP Address")->isEnabled());
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Gameplay), "fraglimit")->text(), "20");
  // The Voting and Other pages start with the Files page's names.
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Voting), "mode_customfile")->text(), "none");
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Other), "map_file")->text(), "cfg-maps\\ffamaps.txt");
}

TEST_F(MainWindow, SwitchingTabsKeepsDuplicatedFileNamesInStep) {
  ASSERT_TRUE(window->selectPage(Page::Files));
  withKey<QLineEdit>(page(Page::Files), "map_file")->setText("maps-a.txt");
  withKey<QLineEdit>(page(Page::Files), "mode_customfile")->setText("modes-a.txt");
  withKey<QLineEdit>(page(Page::Files), "server_motdfile")->setText("motd-a.txt");
  window->tabs()->setCurrentIndex(static_cast<int>(Page::Other));  // as a click on the tab
  EXPECT_EQ(window->currentPage(), Page::Other);
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Other), "map_file")->text(), "maps-a.txt");
  EXPECT_EQ(settings().motd.motdFile, "motd-a.txt");

  // And back from the Other and Voting pages.
  withKey<QLineEdit>(page(Page::Other), "map_file")->setText("maps-b.txt");
  ASSERT_TRUE(window->selectPage(Page::Voting));
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Voting), "mode_customfile")->text(), "modes-a.txt");
  withKey<QLineEdit>(page(Page::Voting), "mode_customfile")->setText("modes-b.txt");
  ASSERT_TRUE(window->selectPage(Page::Files));
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Files), "map_file")->text(), "maps-b.txt");
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Files), "mode_customfile")->text(), "modes-b.txt");
}

TEST_F(MainWindow, FailedCommitKeepsThePageTheFocusAndStopsTheOperation) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ASSERT_TRUE(window->selectPage(Page::Voting));
  QLineEdit* percent = withKey<QLineEdit>(page(Page::Voting), "vote_percent");
  percent->setText("101");
  fake.files.answer = ChosenFile{"never.cfg", "never.cfg"};

  captioned<QPushButton>(window.get(), "Generate .cfg")->click();
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Please enter an integer between 1 and 100.");
  EXPECT_TRUE(fake.files.requests.empty());
  EXPECT_TRUE(percent->hasFocus());
  EXPECT_EQ(settings().voting.votePercent, 50);

  // A tab click is refused as well; a box that is not a number has its own message.
  percent->setText("lots");
  window->tabs()->setCurrentIndex(static_cast<int>(Page::Gameplay));
  EXPECT_EQ(window->currentPage(), Page::Voting);
  EXPECT_EQ(window->tabs()->currentIndex(), static_cast<int>(Page::Voting));
  EXPECT_EQ(fake.messages.shown.back().text, "Please enter an integer.");
  EXPECT_TRUE(percent->hasFocus());

  // Nothing of a failed commit is stored, not even the boxes before the bad one.
  withKey<QLineEdit>(page(Page::Voting), "vote_limit")->setText("9");
  EXPECT_FALSE(window->selectPage(Page::Other));
  EXPECT_EQ(settings().voting.voteLimit, 5);
  percent->setText("100");
  EXPECT_TRUE(window->selectPage(Page::Other));
  EXPECT_EQ(settings().voting.voteLimit, 9);
}

TEST_F(MainWindow, OverlongHostnameIsRefused) {
  ASSERT_TRUE(window->selectPage(Page::Server));
  withKey<QLineEdit>(page(Page::Server), "sv_hostname")->setText(QString(256, 'h'));
  EXPECT_FALSE(window->selectPage(Page::Files));
  EXPECT_EQ(fake.messages.shown.back().text, "Please enter no more than 255 characters.");
}

TEST_F(MainWindow, HoverShowsTheEntryOfTheControlOnTheCurrentTab) {
  QLineEdit* frag = withKey<QLineEdit>(page(Page::Gameplay), "fraglimit");
  hover(frag);
  EXPECT_EQ(window->variableText(), "set fraglimit <value>");
  EXPECT_TRUE(window->informationText().endsWith("(20)"));
  leave(frag);  // onto the page's background
  EXPECT_EQ(window->variableText(), "");
  EXPECT_EQ(window->informationText(), toQt(kGeneralHelp.help));

  hover(captioned<QLabel>(page(Page::Gameplay), "Frag Limit:"));
  EXPECT_EQ(window->variableText(), "set fraglimit <value>");
  hover(page(Page::Gameplay));
  EXPECT_EQ(window->informationText(), toQt(kGeneralHelp.help));

  ASSERT_TRUE(window->selectPage(Page::Server));
  hover(withKey<QLineEdit>(page(Page::Server), "g_speed"));
  EXPECT_EQ(window->variableText(), "set g_speed <value>");
  // Shared keys: all five recording boxes explain server_record.
  hover(captioned(page(Page::Server), "Server Time"));
  EXPECT_EQ(window->variableText(), "set server_record <bitmask>");

  hover(captioned<QPushButton>(window.get(), "Exit"));
  EXPECT_EQ(window->informationText(), "Click to exit the OSP Cvarsmith.");
}

TEST_F(MainWindow, EveryKeyedControlHasAnEntryOnItsPage) {
  for (SettingsPage* shown : {page(Page::Gameplay), page(Page::Server), page(Page::Files),
                              page(Page::WeaponsAndArmor), page(Page::Items), page(Page::Voting),
                              page(Page::Other), page(Page::CommandLine)}) {
    for (QWidget* widget : shown->findChildren<QWidget*>()) {
      const std::string key = helpKeyAt(widget, widget->parentWidget());
      if (key.empty()) continue;
      EXPECT_NE(lookupHelp(settings(), shown->page(), key), kGeneralHelp)
          << key << " on tab " << static_cast<int>(shown->page());
    }
  }
}

TEST_F(MainWindow, ExecutablePathEntryFollowsBrowse) {
  ASSERT_TRUE(window->selectPage(Page::CommandLine));
  fake.files.answer = ChosenFile{"/games/q3/q3ded", "q3ded"};
  withKey<QPushButton>(page(Page::CommandLine), kControlExecutablePath)->click();
  EXPECT_EQ(withKey<QLineEdit>(page(Page::CommandLine), kControlExecutablePath)->text(), "/games/q3/q3ded");
  hover(withKey<QLineEdit>(page(Page::CommandLine), kControlExecutablePath));
  EXPECT_EQ(window->variableText(), "/games/q3/q3ded");
  EXPECT_EQ(fake.files.requests.back().filters.front().description, "Executable File (*.exe)");
}

TEST_F(MainWindow, BrowseStoresTheShortenedNameAndKeepsOtherEdits) {
  fake.store.values["Q3PATH"] = "/games/q3";
  ASSERT_TRUE(window->selectPage(Page::Files));
  withKey<QLineEdit>(page(Page::Files), "filter_file")->setText("my-filters.txt");
  fake.files.answer = ChosenFile{"/games/q3/osp/logs/server.log", "server.log"};
  withKey<QPushButton>(page(Page::Files), "g_log")->click();
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Files), "g_log")->text(), "logs/server.log");
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Files), "filter_file")->text(), "my-filters.txt");
  EXPECT_EQ(fake.files.requests.back().filters.front().description, "Log File (*.log)");
}

TEST_F(MainWindow, CancelledPresetChangesNothing) {
  QLineEdit* frag = withKey<QLineEdit>(page(Page::Gameplay), "fraglimit");
  frag->setText("77");
  const ServerSettings before = settings();
  fake.messages.answerOk = false;
  captioned<QPushButton>(window.get(), "1v1")->click();
  ASSERT_EQ(fake.messages.asked.size(), 1u);
  EXPECT_EQ(fake.messages.asked[0].caption, "Variable Reset");
  EXPECT_EQ(fake.messages.asked[0].text, "This will reset all settings to 1v1 defaults.  Are you sure?");
  EXPECT_EQ(settings(), before);
  EXPECT_EQ(frag->text(), "77");

  fake.messages.answerOk = true;
  captioned<QPushButton>(window.get(), "1v1")->click();
  EXPECT_EQ(frag->text(), "0");
  EXPECT_TRUE(captioned<QRadioButton>(page(Page::Gameplay), "1v1 DM")->isChecked());
  QWidget* weapons = page(Page::WeaponsAndArmor);
  EXPECT_TRUE(named<QCheckBox>(weapons, "Disable BFG")->isChecked());
  EXPECT_FALSE(captioned(weapons, "BFG")->isEnabled());
  EXPECT_FALSE(named(weapons, "BFG Damage")->isEnabled());
  EXPECT_TRUE(named(weapons, "BFG Ammo")->isEnabled());
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Other), "map_file")->text(), "cfg-maps\\1v1maps.txt");
}

TEST_F(MainWindow, GenerateWritesThroughTheSavePrompt) {
  ScratchDir dir;
  const std::string path = (dir.path() / "duel.cfg").string();
  fake.files.answer = ChosenFile{path, "duel.cfg"};
  withKey<QLineEdit>(page(Page::Gameplay), "fraglimit")->setText("33");
  captioned<QPushButton>(window.get(), "Generate .cfg")->click();

  ASSERT_EQ(fake.files.requests.size(), 1u);
  EXPECT_EQ(fake.files.requests[0].initialName, "server.cfg");
  EXPECT_EQ(fake.files.requests[0].defaultExtension, "cfg");
  EXPECT_TRUE(hasLine(dir.read("duel.cfg"), "set fraglimit                  \"33\""));
  EXPECT_EQ(fake.messages.shown.back().text, "Config File Generated Successfully");
  // The Command Line page shows the file just written, the next prompt its name.
  EXPECT_EQ(withKey<QLineEdit>(page(Page::CommandLine), "exec")->text(), QString::fromStdString(path));
  captioned<QPushButton>(window.get(), "Generate .cfg")->click();
  EXPECT_EQ(fake.files.requests[1].initialName, "duel.cfg");
}

TEST_F(MainWindow, LoadShowsTheImportListingAndRefreshesEveryPage) {
  ScratchDir dir;
  dir.write("mixed.cfg", "exec other.cfg\nset fraglimit 33\nset sv_fps 20\nset map_file \"loaded.txt\"\n");
  fake.files.answer = ChosenFile{(dir.path() / "mixed.cfg").string(), "mixed.cfg"};
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  ASSERT_EQ(dialogs.importListings.size(), 1u);
  EXPECT_EQ(dialogs.importListings[0], "  1: exec other.cfg\r\n  3: set sv_fps 20\r\n");
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Gameplay), "fraglimit")->text(), "33");
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Other), "map_file")->text(), "loaded.txt");

  dir.write("clean.cfg", "set fraglimit 44\n");
  fake.files.answer = ChosenFile{(dir.path() / "clean.cfg").string(), "clean.cfg"};
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  EXPECT_EQ(dialogs.importListings.size(), 1u);
  EXPECT_EQ(withKey<QLineEdit>(page(Page::Gameplay), "fraglimit")->text(), "44");
}

TEST_F(MainWindow, LoadedLogNamesTickTheirBoxes) {
  ScratchDir dir;
  dir.write("logs.cfg", "set admin_log \"admin.log\"\nset g_log \"\"\n");
  fake.files.answer = ChosenFile{(dir.path() / "logs.cfg").string(), "logs.cfg"};
  ASSERT_TRUE(window->selectPage(Page::Files));
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  QWidget* files = page(Page::Files);
  EXPECT_TRUE(captioned(files, "Admin Log:")->isChecked());
  EXPECT_TRUE(withKey<QLineEdit>(files, "admin_log")->isEnabled());
  EXPECT_EQ(withKey<QLineEdit>(files, "admin_log")->text(), "admin.log");
  EXPECT_FALSE(captioned(files, "Log File:")->isChecked());
  EXPECT_FALSE(withKey<QLineEdit>(files, "g_log")->isEnabled());

  // Saved from the page as loaded: the admin log stays, the game log stays off.
  const std::string path = (dir.path() / "saved.cfg").string();
  fake.files.answer = ChosenFile{path, "saved.cfg"};
  captioned<QPushButton>(window.get(), "Generate .cfg")->click();
  const std::string saved = dir.read("saved.cfg");
  EXPECT_TRUE(hasLine(saved, "set admin_log                  \"admin.log\""));
  EXPECT_TRUE(hasLine(saved, "set g_log                      \"\""));
}

TEST_F(MainWindow, HandWrittenFileSurvivesEveryPage) {
  fake.files.answer = ChosenFile{CVARSMITH_TEST_DATA "/hand_written.cfg", "hand_written.cfg"};
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  EXPECT_TRUE(dialogs.importListings.empty());
  // Every page committed once, as leaving each tab does.
  for (int i = 1; i < 8; ++i) ASSERT_TRUE(window->selectPage(static_cast<Page>(i))) << i;
  ASSERT_TRUE(window->selectPage(Page::Gameplay));

  ScratchDir dir;
  fake.files.answer = ChosenFile{(dir.path() / "saved.cfg").string(), "saved.cfg"};
  captioned<QPushButton>(window.get(), "Generate .cfg")->click();
  std::vector<std::string> original = splitLines(readFile(CVARSMITH_TEST_DATA "/hand_written.cfg"));
  std::vector<std::string> saved = splitLines(dir.read("saved.cfg"));
  ASSERT_EQ(saved.size(), original.size());
  for (std::size_t i = 0; i < original.size(); ++i) {
    if (i != 4) {  // all but the date
      EXPECT_EQ(saved[i], original[i]) << "line " << i + 1;
    }
  }
}

TEST_F(MainWindow, LoadCancelledOrUnreadableKeepsTheBoxes) {
  QLineEdit* frag = withKey<QLineEdit>(page(Page::Gameplay), "fraglimit");
  frag->setText("55");
  fake.files.answer = std::nullopt;
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  fake.files.answer = ChosenFile{"/no/such/file.cfg", "file.cfg"};
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  EXPECT_EQ(fake.messages.shown.back().caption, "File Read Error");
  EXPECT_EQ(frag->text(), "55");

  ScratchDir dir;
  fake.files.answer = ChosenFile{dir.path().string(), dir.path().filename().string()};
  fake.messages.shown.clear();
  captioned<QPushButton>(window.get(), "Load .cfg")->click();
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, "Error Opening File.");
  EXPECT_EQ(frag->text(), "55");
}

TEST_F(MainWindow, PageButtonsOpenTheirDialogs) {
  captioned<QPushButton>(page(Page::Server), "MOTD")->click();
  captioned<QPushButton>(page(Page::Voting), "Items/Power-ups")->click();
  window->showAbout();
  EXPECT_EQ(dialogs.motdEdits, 1);
  EXPECT_EQ(dialogs.votableEdits, 1);
  EXPECT_EQ(dialogs.aboutShown, 1);
}

TEST_F(MainWindow, EscapeDoesNotCloseExitDoes) {
  window->show();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &escape);
  EXPECT_TRUE(window->isVisible());
  captioned<QPushButton>(window.get(), "Exit")->click();
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace cvarsmith::testing
