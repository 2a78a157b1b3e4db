// Naming, opening and assembling the two pages of a game.
#include <filesystem>

#include "console_fixture.h"
#include "awards.h"
#include "full_disk.h"
#include "scoring.h"

using Pages = ReportTest;

namespace {

// A finished two-player free-for-all game, ready to be written.
void twoPlayerGame() {
  ConsoleTest::runLog(
      "Current map: q3dm17\n"
      "Raven^7 entered the game\nMoss^7 entered the game\n"
      "Moss^7 was railed by Raven^7\n");
  addUpTables(ConsoleTest::game());
  ConsoleTest::run().game_count = 1001;
}

}  // namespace

TEST_F(Pages, TheFirstWriteNamesBothPagesAndAppendsTheRotationLines) {
  twoPlayerGame();
  console().rotation = std::tmpfile();
  makeHtml();
  const std::string stem = "kestrostats_2026_12_07_20_44_01_1001_FFA_PUB_";
  EXPECT_EQ(out_filename_stats, stem + "main.html");
  EXPECT_EQ(out_filename_wepns, stem + "wpn.html");
  EXPECT_TRUE(dir_.exists("html/" + stem + "main.html"));
  EXPECT_TRUE(dir_.exists("html/" + stem + "wpn.html"));
  std::rewind(console().rotation);
  char line[600];
  ASSERT_NE(std::fgets(line, sizeof line, console().rotation), nullptr);
  EXPECT_STREQ(line, "SELECT @oldestHtml:=MIN(html) from gamestats;\n");
  ASSERT_NE(std::fgets(line, sizeof line, console().rotation), nullptr);
  EXPECT_EQ(std::string(line), "UPDATE gamestats SET html='" + stem + "main.html' WHERE html=@oldestHtml LIMIT 1;\n");
  fpclose(console().rotation);
}

TEST_F(Pages, RealtimeModeAndTheExtensionSetting) {
  twoPlayerGame();
  run().realtime_stats = 1;
  config().file_extension.assign("htm");
  makeHtml();
  EXPECT_EQ(out_filename_stats, "kestrostats_realtime_main.htm");
  EXPECT_TRUE(dir_.exists("html/kestrostats_realtime_main.htm"));
  EXPECT_TRUE(dir_.exists("html/kestrostats_realtime_wpn.htm"));
}

TEST_F(Pages, TheMainPageHasEveryPartInOrderAndLinksToTheWeaponPage) {
  twoPlayerGame();
  dir_.write("c-header.html", "<div class=top>HEADER 100%</div>\n");
  dir_.write("c-footer.html", "<div>FOOTER</div>\n");
  makeHtml();
  std::string main = dir_.read("html/" + out_filename_stats);
  std::string wpn = dir_.read("html/" + out_filename_wepns);
  const char* parts[] = {"<html>\n<head><title>kestro stats</title>\n",
                         "<LINK REL=stylesheet HREF=\"c-kestro.css\" TYPE=\"text/css\">\n",
                         "{ document.MAP.src=\"images/maps/default.gif\"; }\n",
                         "<body>\n<center>\n<div class=top>HEADER 100%</div>\n",
                         "<b>map : q3dm17</b><br><IMG name=MAP src=images/maps/q3dm17.jpg WIDTH=160 HEIGHT=128 "
                         "onError=\"loadDefaultMap();\">",
                         "[<A HREF=" ,
                         ">view weapon stats</A>]",
                         "kestro stats</A>",
                         "</table>\n</center>\n<div>FOOTER</div>\n</body>\n</html>\n"};
  std::size_t at = 0;
  for (const char* part : parts) {
    std::size_t found = main.find(part, at);
    ASSERT_NE(found, std::string::npos) << part;
    at = found;
  }
  EXPECT_NE(main.find("[<A HREF=" + out_filename_wepns + ">view weapon stats</A>]"), std::string::npos);
  EXPECT_NE(wpn.find("<title>kestro stats - (weapon stats)</title>\n"), std::string::npos);
  EXPECT_EQ(countOf(wpn, "[<A HREF=" + out_filename_stats + ">back to main stats</A>]"), 2);
  EXPECT_EQ(wpn.find("loadDefaultMap"), std::string::npos);
  EXPECT_EQ(countOf(wpn, "HEADER"), 1);
}

TEST_F(Pages, WithoutWeaponStatsThereIsNoWeaponPage) {
  twoPlayerGame();
  config().make_weapon_stats = false;
  makeHtml();
  EXPECT_FALSE(dir_.exists("html/" + out_filename_wepns));
  EXPECT_EQ(dir_.read("html/" + out_filename_stats).find("view weapon stats"), std::string::npos);
}

TEST_F(Pages, AGameWithoutMapStillWritesThePictureTag) {
  twoPlayerGame();
  game().mapname.clear();
  makeHtml();
  std::string main = dir_.read("html/" + out_filename_stats);
  EXPECT_EQ(main.find("<b>map : "), std::string::npos);
  EXPECT_NE(main.find("src=images/maps/.jpg"), std::string::npos);
}

TEST_F(Pages, LongClanTagsStillGiveAUsableFileName) {
  addPlayers({std::string(300, 'R') + "a", std::string(300, 'R') + "b", std::string(300, 'B') + "c",
              std::string(300, 'B') + "d"});
  game().q3players[0].team = game().q3players[1].team = kRed;
  game().q3players[2].team = game().q3players[3].team = kBlue;
  game().gametype = kCaptureTheFlag;
  addUpTables(game());
  makeHtml();
  EXPECT_LE(out_filename_stats.size(), 255u);
  EXPECT_TRUE(dir_.exists("html/" + out_filename_stats));
}

TEST_F(Pages, APageThatCannotBeWrittenLeavesNothingBehindAndKeepsEarlierPages) {
  twoPlayerGame();
  console().rotation = std::tmpfile();
  EXPECT_EQ(makeHtml(), PageResult::kWritten);
  std::string first_page = dir_.read("html/" + out_filename_stats);
  // The next game's main page name is taken by a folder.
  const std::string taken = "kestrostats_2026_12_07_20_44_01_1002_FFA_PUB_main.html";
  std::filesystem::create_directory(dir_.path() / "html" / taken);
  run().game_count = 1002;
  ::testing::internal::CaptureStderr();
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(makeHtml(), PageResult::kNotWritten);
  ::testing::internal::GetCapturedStdout();
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("ERROR: could not write the pages of game 1002"),
            std::string::npos);
  EXPECT_EQ(dir_.read("html/kestrostats_2026_12_07_20_44_01_1001_FFA_PUB_main.html"), first_page);
  EXPECT_FALSE(first_page.empty());
  // Neither page of the failed game, finished or not, is left, and only the
  // first game entered the rotation.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path() / "html")) {
    files += entry.is_regular_file() ? 1 : 0;
  }
  EXPECT_EQ(files, 2);
  std::rewind(console().rotation);
  char line[600];
  int lines = 0;
  while (std::fgets(line, sizeof line, console().rotation) != nullptr) ++lines;
  EXPECT_EQ(lines, 2);
  fpclose(console().rotation);
}

TEST_F(Pages, AFullDiskLeavesNoPartOfThePages) {
  // /dev/full takes opening but fails every write, as a full disk does.
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  twoPlayerGame();
  console().rotation = std::fopen("/dev/full", "a");
  ::testing::internal::CaptureStderr();
  // The pages were complete, but their rotation statements could not be
  // written: the run must say so.
  EXPECT_EQ(makeHtml(), PageResult::kNotWritten);
  std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(errors.find("could not add game 1001 to db_sql_gamestats.txt"), std::string::npos) << errors;
  fpclose(console().rotation);
}

TEST_F(Pages, ADiskThatFillsUpAnywhereInTheGamesFilesLeavesNothingOfTheGame) {
  twoPlayerGame();
  config().make_json_stats = true;
  // The game's three files, written once to learn where the disk may fill.
  ASSERT_EQ(makeHtml(), PageResult::kWritten);
  const std::string stem = "html/kestrostats_2026_12_07_20_44_01_1001_FFA_PUB_";
  std::size_t sizes[3] = {};
  std::size_t n = 0;
  for (const char* file : {"main.html", "wpn.html", "game.json"}) {
    ASSERT_TRUE(dir_.exists(stem + file)) << file;
    sizes[n++] = dir_.read(stem + file).size();
    std::filesystem::remove(dir_.path() / (stem + file));
  }
  const std::size_t all = sizes[0] + sizes[1] + sizes[2];
  console().rotation = std::tmpfile();
  for (std::size_t room : {std::size_t{0}, sizes[0] - 1, sizes[0], sizes[0] + 1, sizes[0] + sizes[1] - 1,
                           sizes[0] + sizes[1] + 1, all - 1}) {
    kstest::FullDisk disk(room);
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(makeHtml(disk), PageResult::kNotWritten) << room;
    ::testing::internal::GetCapturedStdout();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("could not write the pages of game 1001"),
              std::string::npos);
    EXPECT_EQ(disk.refused(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path() / "html")) << "room for " << room << " bytes";
  }
  EXPECT_EQ(std::ftell(console().rotation), 0) << "a rotation statement of a game without pages";
  kstest::FullDisk just_enough(all);
  EXPECT_EQ(makeHtml(just_enough), PageResult::kWritten);
  EXPECT_EQ(dir_.read(stem + "main.html").size(), sizes[0]);
  EXPECT_GT(std::ftell(console().rotation), 0);
  fpclose(console().rotation);
}

TEST_F(Pages, MissingHeaderAndFooterFilesAreSkipped) {
  twoPlayerGame();
  makeHtml();
  std::string main = dir_.read("html/" + out_filename_stats);
  EXPECT_NE(main.find("<body>\n<center>\n\n<table BORDER=0"), std::string::npos);
  EXPECT_TRUE(main.ends_with("</center>\n</body>\n</html>\n"));
}

TEST_F(Pages, AMissingHtmlFolderIsAPageThatCannotBeCreated) {
  twoPlayerGame();
  std::filesystem::remove_all(dir_.path() / "html");
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(makeHtml(), PageResult::kCannotOpen);  // kestrostats-c then ends with status 1
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR: couldnt open file to write\n");
}

TEST_F(Pages, TheGameAsJsonBesideItsPagesWhenConfigured) {
  twoPlayerGame();
  EXPECT_EQ(makeHtml(), PageResult::kWritten);
  EXPECT_FALSE(dir_.exists("html/kestrostats_2026_12_07_20_44_01_1001_FFA_PUB_game.json"));  // off by default

  config().make_json_stats = true;
  run().game_count = 1002;
  assignAwards(game());
  EXPECT_EQ(makeHtml(), PageResult::kWritten);
  std::string json = dir_.read("html/kestrostats_2026_12_07_20_44_01_1002_FFA_PUB_game.json");
  EXPECT_EQ(json.rfind("{\"format\":1,\"game\":1002,\"time\":\"2026-12-07,20-44-01\",\"type\":\"ffa\",\"map\":\"q3dm17\","
                       "\"main_page\":\"kestrostats_2026_12_07_20_44_01_1002_FFA_PUB_main.html\","
                       "\"weapon_page\":\"kestrostats_2026_12_07_20_44_01_1002_FFA_PUB_wpn.html\","
                       "\"played\":null,\"duration\":null,\"ended\":\"\",\"teams\":[],"
                       "\"players\":[{\"name\":\"Raven\",\"raw_name\":\"Raven\",\"team\":\"none\",",
                       0),
            0u)
      << json;
  EXPECT_NE(json.find("\"RG\":{\"kills\":1,\"deaths\":0,\"hits\":0,\"attempts\":0}"), std::string::npos);
  EXPECT_NE(json.find("\"awards\":[\"best killer with rail gun\""), std::string::npos);
  EXPECT_TRUE(json.ends_with("]}]}\n"));

  // What the log stated of the game, and the date on the main page.
  game().facts.played.assign("2017-06-23 12:43:00");
  game().facts.duration = 900;
  game().facts.ended.assign("timelimit");
  run().game_count = 1003;
  EXPECT_EQ(makeHtml(), PageResult::kWritten);
  json = dir_.read("html/kestrostats_2026_12_07_20_44_01_1003_FFA_PUB_game.json");
  EXPECT_NE(json.find("\"played\":\"2017-06-23 12:43:00\",\"duration\":900,\"ended\":\"timelimit\",\"teams\":[]"),
            std::string::npos)
      << json;
  EXPECT_NE(dir_.read("html/kestrostats_2026_12_07_20_44_01_1003_FFA_PUB_main.html")
                .find("<b>map : q3dm17</b><br><small>played 2017-06-23 12:43:00</small>"),
            std::string::npos);
}

TEST_F(Pages, RatingsOfAnEndlessDuelStayFiniteOnThePages) {
  // Every kill adds a share of the victim's rating: traded kills make both
  // ratings grow geometrically, past any float after some thousands.
  std::string log = "Raven^7 entered the game\nMoss^7 entered the game\n";
  for (int i = 0; i < 8000; ++i) log += "Moss^7 was railed by Raven^7\nRaven^7 was railed by Moss^7\n";
  runLog(log);
  addUpTables(game());
  for (int i = 0; i < 2; ++i) {
    EXPECT_LE(game().q3players[i].skill, kRatingLimit);
    EXPECT_LE(game().q3players[i].combat, kRatingLimit);
    EXPECT_GE(game().q3players[i].combat, -kRatingLimit);
  }
  EXPECT_GT(game().q3players[0].skill, kRatingLimit - 100.0f);  // it did reach the bound
  run().game_count = 1001;
  makeHtml();
  std::string page = dir_.read("html/" + out_filename_stats) + dir_.read("html/" + out_filename_wepns);
  EXPECT_EQ(page.find("inf"), std::string::npos);
  EXPECT_EQ(page.find("nan"), std::string::npos);
}
