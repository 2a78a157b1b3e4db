// kestrostats-c as a user runs it: command line, exit statuses and output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "program_runner.h"

namespace {

using kstest::runIn;
using kstest::TempDir;

const std::string kGame =
    "Loaded OSP Client Version: 1.03a\n"
    "Current map: q3dm17\n"
    "^1Raven^7 entered the game\n"
    "Moss^7 entered the game\n"
    "Moss^7 was railed by ^1Raven^7\n"
    "^1Raven^7 hit the fraglimit.\n";

struct Workspace : TempDir {
  Workspace() {
    installProgram("kestrostats-c");
    write("c-default.cfg", "");
    write("game.log", kGame);
    std::filesystem::create_directory(path() / "html");
  }
};

}  // namespace

TEST(KestrostatsCommandLine, WrongArgumentCountsPrintTheUsage) {
  Workspace dir;
  for (const char* args : {"", "a.log b.cfg realtime extra"}) {
    auto result = runIn(dir, std::string("./kestrostats-c ") + args);
    EXPECT_EQ(result.status, 1) << args;
    EXPECT_EQ(result.output, "usage: kestrostats(xx)-c logfile.log <config-file.cfg>\n") << args;
  }
}

TEST(KestrostatsCommandLine, VersionExitsAtOnce) {
  Workspace dir;
  auto result = runIn(dir, "./kestrostats-c -v");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output.rfind("\nKestro Stats (c) version 4.32", 0), 0u) << result.output;
}

TEST(KestrostatsCommandLine, TheConfigurationMustBeACfgFile) {
  Workspace dir;
  auto bad = runIn(dir, "./kestrostats-c game.log report.txt");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.output, "ERROR: config file must have a .cfg extension\n");
  auto missing = runIn(dir, "./kestrostats-c game.log REPORT.CFG");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.output.find("ERROR: could not open config file \"REPORT.CFG\"\n"), std::string::npos);
}

TEST(KestrostatsCommandLine, AnUnreadableLogIsAnError) {
  Workspace dir;
  auto result = runIn(dir, "./kestrostats-c absent.log");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("ERROR: could not open logfile \"absent.log\"\n"), std::string::npos);
}

TEST(KestrostatsRun, WritesEveryQualifyingGameAndSummarisesTheRun) {
  Workspace dir;
  auto result = runIn(dir, "./kestrostats-c game.log");
  ASSERT_EQ(result.status, 0) << result.output;
  const std::string& out = result.output;
  EXPECT_NE(out.find("                       config file: c-default.cfg\n"), std::string::npos);
  EXPECT_NE(out.find("                   Generating Stats, Please wait...\n"), std::string::npos);
  EXPECT_NE(out.find("MAP: q3dm17\n"), std::string::npos);
  EXPECT_NE(out.find("\nGenerating Stats ----------------<GAME ID 1001>-----\n"
                     "TOTAL PLAYERS -> 2\n - Raven\n - Moss\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("                   \" feel da jungle vibe bebe! \"\n"), std::string::npos);
  EXPECT_NE(out.find("  games processed: 1\n"), std::string::npos);
  EXPECT_NE(out.find("     elapsed time: 0h 0m "), std::string::npos);
  EXPECT_EQ(out.find("No games were detected"), std::string::npos);
  EXPECT_TRUE(dir.exists("db_sql_gamestats.txt"));  // opened for the run, even when empty
}

TEST(KestrostatsRun, WritesCaptureTheFlagAndTeamDeathmatchGames) {
  Workspace dir;
  std::filesystem::copy_file(kstest::sourceDir() / "samples" / "ctf-osp.log", dir.path() / "ctf.log");
  dir.write("tdm.log",
            "Current map: q3dm7\n"
            "Ash^7 entered the game (^1RED^7)\nBirch^7 entered the game (^1RED^7)\n"
            "Cedar^7 entered the game (^4BLUE^7)\nDew^7 entered the game (^4BLUE^7)\n"
            "Cedar^7 was railed by Ash^7\nAsh^7 almost dodged Dew^7's rocket\n"
            "Birch^7 was machinegunned by Cedar^7\nDew^7 was railed by Birch^7\n"
            "Timelimit hit.\n");
  auto ctf = runIn(dir, "./kestrostats-c ctf.log");
  auto tdm = runIn(dir, "./kestrostats-c tdm.log");
  EXPECT_EQ(ctf.status, 0);
  EXPECT_EQ(tdm.status, 0);
  EXPECT_NE(dir.read("db_sql_gamestats.txt").find("_1001_TDM_RED_vs_BLUE_main.html'"), std::string::npos);
  EXPECT_NE(ctf.output.find("<GAME ID 1001>-----\nTOTAL PLAYERS -> 6\n"), std::string::npos) << ctf.output;
  EXPECT_NE(tdm.output.find("<GAME ID 1001>-----\nTOTAL PLAYERS -> 4\n"), std::string::npos) << tdm.output;
}

TEST(KestrostatsRun, AnOspConsoleLogFillsThePlayerCards) {
  Workspace dir;
  std::filesystem::copy_file(kstest::sourceDir() / "samples" / "ctf-osp.log", dir.path() / "ctf.log");
  auto result = runIn(dir, "./kestrostats-c ctf.log");
  ASSERT_EQ(result.status, 0) << result.output;
  std::string page;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "html")) {
    if (entry.path().string().ends_with("main.html")) page = dir.read("html/" + entry.path().filename().string());
  }
  ASSERT_FALSE(page.empty());
  // Falcon's card: damage and accuracy from the statistics block
  // (34 hits in 98 attempts), flag figures from the log.
  std::size_t card = page.find("<A name=\"stat-|X|Falcon\">");
  ASSERT_NE(card, std::string::npos);
  std::string falcon = page.substr(card, page.find("</table>", card) - card);
  EXPECT_NE(falcon.find("Damage Given</td>\n<td WIDTH=25% CLASS=\"red\"><div align=center>3100</div>"),
            std::string::npos);
  EXPECT_NE(falcon.find("Damage Recvd</td>\n<td WIDTH=25% CLASS=\"red\"><div align=center>1900</div>"),
            std::string::npos);
  EXPECT_NE(falcon.find("Accuracy %</td>\n<td WIDTH=25% CLASS=\"red\"><div align=center>34.69</div>"),
            std::string::npos);
  EXPECT_NE(falcon.find("Flag Captures</td>\n<td WIDTH=25% CLASS=\"red\"><div align=center>1</div>"),
            std::string::npos);
  // One of Falcon's two chat lines is his quote.
  EXPECT_TRUE(falcon.find("\" go go go, heron stay home \"") != std::string::npos ||
              falcon.find("\" gg, well played NX \"") != std::string::npos);
  // The label of the page names both clans.
  EXPECT_NE(result.output.find("<GAME ID 1001>"), std::string::npos);
  EXPECT_NE(dir.read("db_sql_gamestats.txt").find("_1001_CTF__X__vs__NX__main.html'"), std::string::npos);
}

TEST(KestrostatsRun, ALogWithoutGamesSaysSo) {
  Workspace dir;
  dir.write("empty.log", "Raven^7 entered the game\nRaven^7 cratered.\nTimelimit hit.\n");
  auto result = runIn(dir, "./kestrostats-c empty.log");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("No games were detected in the log file.\n"), std::string::npos);
  EXPECT_NE(result.output.find("  games processed: 0\n"), std::string::npos);
}

TEST(KestrostatsRun, RealtimeModeAlwaysReadsTheDefaultConfiguration) {
  Workspace dir;
  auto result = runIn(dir, "./kestrostats-c game.log other.cfg realtime");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("config file: c-default.cfg\n"), std::string::npos);
}

TEST(KestrostatsRun, AServerLogNameCannotInjectAShellCommand) {
  Workspace dir;
  // Single quotes keep the test's own shell from reading the name.
  const std::string name = "x\";touch injected;\"$(touch injected2)`touch injected3`\\.log";
  dir.write(name, "  0:00 InitGame: \\sv_hostname\\x\n");
  dir.installProgram("ks-preparse");
  auto result = runIn(dir, "./kestrostats-c '" + name + "'");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_NE(result.output.find("\nServer log detected ----------< pre-parsing >-----\n"), std::string::npos);
  EXPECT_FALSE(dir.exists("injected"));
  EXPECT_FALSE(dir.exists("injected2"));
  EXPECT_FALSE(dir.exists("injected3"));
  // Without a converted log the run ends cleanly; its temporary files are gone.
  EXPECT_FALSE(dir.exists("tmp-c"));
  EXPECT_FALSE(dir.exists("kestro-c.log"));
}

TEST(KestrostatsCommandLine, PagesThatCannotBeCreatedStopTheRunWhichStillCleansUp) {
  Workspace dir;
  std::filesystem::remove(dir.path() / "html");
  // Two games: the first one's pages fail, and the reading stops there.
  dir.write("game.log", kGame + kGame);
  auto result = runIn(dir, "./kestrostats-c game.log");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("ERROR: couldnt open file to write\n"), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("GAME ID 1002"), std::string::npos) << result.output;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "tmp-c"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "kestro-c.log"));
  EXPECT_EQ(dir.read("db_sql_gamestats.txt"), "");
}

TEST(KestrostatsCommandLine, AConfigurationThatIsAFolderIsAnErrorNotAnEmptyFile) {
  Workspace dir;
  std::filesystem::create_directory(dir.path() / "folder.cfg");
  auto result = runIn(dir, "./kestrostats-c game.log folder.cfg");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.output.find("ERROR: could not open config file \"folder.cfg\"\n"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "db_sql_gamestats.txt"));
}

// The season's rotation of N slots gives each new page the slot of the
// smallest name: of one run's pages in rising order only the last N stay.
TEST(KestrostatsCommandLine, WithTheRotationsSlotCountOnlyThePagesItMayKeepAreWritten) {
  Workspace dir;
  std::string five;
  for (int i = 0; i < 5; ++i) five += kGame;
  dir.write("game.log", five);
  auto result = runIn(dir, "KS_KEPT_PAGES=2 ./kestrostats-c game.log");
  EXPECT_EQ(result.status, 0) << result.output;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "html")) {
    files.push_back(entry.path().filename().string());
  }
  std::sort(files.begin(), files.end());
  ASSERT_EQ(files.size(), 4u);  // games 1004 and 1005, main and weapon page each
  EXPECT_NE(files[0].find("_1004_"), std::string::npos) << files[0];
  EXPECT_NE(files[3].find("_1005_"), std::string::npos) << files[3];
  // Every game still has its rotation statements, in the games' order.
  const std::string statements = dir.read("db_sql_gamestats.txt");
  std::size_t at = 0;
  for (int game = 1001; game <= 1005; ++game) {
    at = statements.find("_" + std::to_string(game) + "_", at);
    EXPECT_NE(at, std::string::npos) << game << "\n" << statements;
  }
  // Without the count, every page is written.
  std::filesystem::remove_all(dir.path() / "html");
  std::filesystem::create_directory(dir.path() / "html");
  EXPECT_EQ(runIn(dir, "KS_KEPT_PAGES=x ./kestrostats-c game.log").status, 0);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "html"), {}), 10);
}
