// The small dialogs: the MOTD, the votable masks, the import listing and
// first use, and the file filters as Qt reads them.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "browse_targets.h"
#include "gui_fixture.h"
#include "qt_platform.h"

namespace cvarsmith::testing {
namespace {

TEST(VotableItemsDialog, SplitsAndPacksBothMasks) {
  VotableItemsDialog dialog(VotableItemsRecord{0b1000000101, 0b10000010});
  EXPECT_TRUE(captioned(&dialog, "All Armor")->isChecked());
  EXPECT_FALSE(captioned(&dialog, "All Health")->isChecked());
  EXPECT_TRUE(captioned(&dialog, "BFG")->isChecked());
  EXPECT_TRUE(captioned(&dialog, "Rail Gun")->isChecked());
  EXPECT_TRUE(captioned(&dialog, "Battle Suit")->isChecked());
  EXPECT_TRUE(captioned(&dialog, "Medkit")->isChecked());
  EXPECT_FALSE(captioned(&dialog, "Quad Damage")->isChecked());
  EXPECT_EQ(dialog.record(), (VotableItemsRecord{0b1000000101, 0b10000010}));
  captioned(&dialog, "All Health")->click();
  captioned(&dialog, "Medkit")->click();
  EXPECT_EQ(dialog.record(), (VotableItemsRecord{0b1000000111, 0b00000010}));

  // Bits of a loaded file that no box stands for stay.
  VotableItemsDialog loaded(VotableItemsRecord{-1, 256 + 1});
  captioned(&loaded, "Quad Damage")->click();
  EXPECT_EQ(loaded.record(), (VotableItemsRecord{-1, 256}));
}

TEST(MotdDialog, CopiesBackAndRefusesOverlongLines) {
  FakeMessages messages;
  MotdRecord motd;
  motd.lines[7] = "last";
  MotdDialog dialog(motd, messages, [] { return std::optional<std::string>("motd\\day.txt"); });
  auto boxes = dialog.findChildren<QLineEdit*>();
  ASSERT_EQ(boxes.size(), 10);  // Game MOTD, MOTD File, eight lines
  EXPECT_EQ(boxes[9]->text(), "last");
  EXPECT_EQ(boxes[1]->text(), "none");
  captioned<QPushButton>(&dialog, "Browse")->click();
  EXPECT_EQ(boxes[1]->text(), "motd\\day.txt");

  boxes[0]->setText("Welcome");
  boxes[5]->setText(QString(256, 'x'));
  EXPECT_FALSE(dialog.takeBoxes());
  EXPECT_EQ(messages.shown.back().text, "Please enter no more than 255 characters.");
  EXPECT_EQ(dialog.motd(), motd);
  boxes[5]->setText(QString(255, 'x'));
  ASSERT_TRUE(dialog.takeBoxes());
  EXPECT_EQ(dialog.motd().gameMotd, "Welcome");
  EXPECT_EQ(dialog.motd().motdFile, "motd\\day.txt");
  EXPECT_EQ(dialog.motd().lines[3], std::string(255, 'x'));
  EXPECT_EQ(dialog.motd().lines[0], motd.lines[0]);
}

TEST(ImportDialog, ShowsTheListingOrNoErrors) {
  EXPECT_EQ(ImportDialog("").listing(), "No Errors Found");
  EXPECT_EQ(ImportDialog("  1: exec a.cfg\r\n 12: set sv_fps 20\r\n").listing(),
            "  1: exec a.cfg\n 12: set sv_fps 20");
}

TEST(FirstUseWindow, AnswersThePathOrExit) {
  FakeFilePrompts prompts;
  FirstUseWindow window(prompts);
  prompts.answer = ChosenFile{"/opt/q3/q3ded", "q3ded"};
  QTimer::singleShot(0, &window, [&] {
    EXPECT_EQ(window.path(), "/suggested/quake3");
    captioned<QPushButton>(&window, "Browse")->click();
    captioned<QPushButton>(&window, "OK")->click();
  });
  EXPECT_EQ(window.confirmExecutablePath("/suggested/quake3"), "/opt/q3/q3ded");
  EXPECT_EQ(prompts.requests.back().filters.front().description, "Executable File (*.exe)");

  QTimer::singleShot(0, &window, [&] { captioned<QPushButton>(&window, "Exit Program")->click(); });
  EXPECT_EQ(window.confirmExecutablePath("/suggested/quake3"), std::nullopt);
}

TEST(QtFilters, DosAllFilesMatchesNamesWithoutDots) {
  EXPECT_EQ(qtNameFilters(browseRequest(BrowseTarget::LogFile).filters),
            (QStringList{"Log File (*.log)", "All Files (*)"}));
}

}  // namespace
}  // namespace cvarsmith::testing
