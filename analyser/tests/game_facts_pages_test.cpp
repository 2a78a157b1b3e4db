// kestrostats-c: what a log states of a game (its date, length, end and the
// server's final team score) reaches the game's main page and its JSON, and
// nothing a player writes or is named ever does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "server_games.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRealLogs = kstest::sourceDir() / ".." / "shared" / "reallogs";

// One written game: its JSON, its main page.
struct WrittenGame {
  std::string json;
  std::string page;
  std::string field(const std::string& name) const {
    std::smatch m;
    const std::regex pattern("\"" + name + "\":(null|-?\\d+|\"[^\"]*\")");
    return std::regex_search(json, m, pattern) ? std::string(m[1]) : "(absent)";
  }
  // "red:blue" as the JSON and as the page's score block show it.
  std::string jsonScore() const {
    std::smatch red;
    std::smatch blue;
    if (!std::regex_search(json, red, std::regex("\"team\":\"red\",\"score\":(-?\\d+)")) ||
        !std::regex_search(json, blue, std::regex("\"team\":\"blue\",\"score\":(-?\\d+)"))) {
      return "(none)";
    }
    return std::string(red[1]) + ":" + std::string(blue[1]);
  }
  std::string pageScore() const {
    std::smatch red;
    std::smatch blue;
    if (!std::regex_search(page, red, std::regex("color: red\">(-?\\d+)</p>")) ||
        !std::regex_search(page, blue, std::regex("color: blue\">(-?\\d+)</p>"))) {
      return "(none)";
    }
    return std::string(red[1]) + ":" + std::string(blue[1]);
  }
};

// The games kestrostats-c writes from `log`, by game number.
std::vector<WrittenGame> runOn(const fs::path& log) {
  kstest::TempDir dir;
  kstest::prepareServerLogRun(dir);
  EXPECT_EQ(kstest::runIn(dir, "./kestrostats-c '" + log.string() + "'").status, 0) << log;
  std::map<int, WrittenGame> games;
  const std::regex number("_(\\d+)_[A-Z]+_.*_game\\.json$");
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.path() / "html")) {
    const std::string name = entry.path().filename().string();
    std::smatch m;
    if (!std::regex_search(name, m, number)) continue;
    WrittenGame& game = games[std::stoi(m[1])];
    game.json = dir.read("html/" + name);
    std::smatch page;
    if (std::regex_search(game.json, page, std::regex("\"main_page\":\"([^\"]*)\""))) {
      game.page = dir.read("html/" + std::string(page[1]));
    }
  }
  std::vector<WrittenGame> ordered;
  for (auto& [n, game] : games) ordered.push_back(std::move(game));
  return ordered;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every match of `pattern`'s first group in the text, in order.
std::vector<std::string> allOf(const std::string& text, const std::string& pattern) {
  std::vector<std::string> found;
  const std::regex re(pattern);
  for (std::sregex_iterator it(text.begin(), text.end(), re), end; it != end; ++it) found.push_back((*it)[1]);
  return found;
}

std::string quotedDate(const std::string& stamp) {
  return "\"" + stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " + stamp.substr(8, 2) +
         ":" + stamp.substr(10, 2) + ":" + stamp.substr(12, 2) + "\"";
}

}  // namespace

TEST(GameFactsOnPages, RealOspGamesCarryTheDateOfTheirServerTime) {
  for (const char* file : {"osp-server-ffa-1game-7players.log", "osp-server-ffa-bots-1game.log",
                           "osp-server-ffa-multigame-warmups.log"}) {
    const fs::path log = kRealLogs / file;
    if (!fs::exists(log)) GTEST_SKIP() << "real logs are not available here";
    // The ServerTime that stands before each Game_Start dates that game.
    const std::vector<std::string> stamps =
        allOf(readFile(log), "ServerTime:\\t(\\d{14})\\t[^\\n]*\\n[0-9. ]*Game_Start:");
    const std::vector<WrittenGame> games = runOn(log);
    ASSERT_FALSE(games.empty()) << file;
    std::size_t next = 0;
    for (const WrittenGame& game : games) {
      const std::string played = game.field("played");
      while (next < stamps.size() && quotedDate(stamps[next]) != played) ++next;
      ASSERT_LT(next, stamps.size()) << file << ": " << played << " is no game's ServerTime, or out of order";
      const std::string shown = played.substr(1, played.size() - 2);
      EXPECT_NE(game.page.find("<br><small>played " + shown + "</small>"), std::string::npos) << file;
      ++next;
    }
  }
  const fs::path one_game = kRealLogs / "osp-server-ffa-1game-7players.log";
  const std::vector<WrittenGame> games = runOn(one_game);
  ASSERT_EQ(games.size(), 1u);
  EXPECT_EQ(games[0].field("played"), "\"2017-06-23 12:43:00\"");
  EXPECT_EQ(games[0].field("duration"), "900");  // Game_Start at 15.6, Exit at 915.6
  EXPECT_EQ(games[0].field("ended"), "\"timelimit\"");
}

TEST(GameFactsOnPages, PlainServerCtfGamesShowTheServersFinalScore) {
  const fs::path log = kRealLogs / "ioq3-server-ffa-ctf-codeminer-games.log";
  if (!fs::exists(log)) GTEST_SKIP() << "real logs are not available here";
  // The log has no capture events: the exit lines are the only score.
  std::vector<std::string> stated;
  for (const std::string& line : allOf(readFile(log), "Exit: [^\\n]*\\n *\\d+:\\d\\d red:(\\d+  blue:\\d+)")) {
    stated.push_back(std::regex_replace(line, std::regex("  blue:"), ":"));
  }
  ASSERT_EQ(stated, (std::vector<std::string>{"8:6", "2:8", "0:1"}));
  std::vector<std::string> shown;
  for (const WrittenGame& game : runOn(log)) {
    if (game.field("type") != "\"ctf\"") continue;
    EXPECT_EQ(game.jsonScore(), game.pageScore());
    if (game.field("ended") != "\"\"") shown.push_back(game.jsonScore());
    if (game.field("ended") == "\"\"") EXPECT_EQ(game.jsonScore(), "0:0");  // the server stated none
  }
  EXPECT_EQ(shown, stated);
}

TEST(GameFactsOnPages, ConsoleLogsWithoutADateLeaveEveryFactUnknown) {
  for (const char* sample : {"ctf-osp.log", "ffa-chat.log", "warmup.log"}) {
    const std::vector<WrittenGame> games = runOn(kstest::sourceDir() / "samples" / sample);
    ASSERT_FALSE(games.empty()) << sample;
    for (const WrittenGame& game : games) {
      EXPECT_EQ(game.field("played"), "null") << sample;
      EXPECT_EQ(game.field("duration"), "null") << sample;
      EXPECT_EQ(game.field("ended"), "\"\"") << sample;
      EXPECT_EQ(game.page.find("played "), std::string::npos) << sample;
    }
  }
}

TEST(GameFactsOnPages, FactLinesInNamesAndChatStateNothingAndFactsEndWithTheirGame) {
  kstest::TempDir scratch;
  const std::string fake = "\\kestro-fact\\played\\2017-06-23 12:43:00";
  scratch.write("console.log",
                "logfile opened on Wed Oct 12 19:05:02 2022\n"
                "Raven^7 entered the game\n"
                "Moss^7 entered the game\n"
                "Moss^7 was railed by Raven^7\n"
                "Timelimit hit.\n----- CL_Shutdown -----\n"
                // The next game: a player named like a fact line, chat that quotes them.
                + fake + "^7 entered the game\n"
                "Moss^7 entered the game\n"
                "Moss^7 was railed by " + fake + "^7\n"
                "Moss^7: " + fake + "\n"
                "Moss^7: \\kestro-fact\\score\\5\\5\n"
                "Timelimit hit.\n----- CL_Shutdown -----\n");
  const std::vector<WrittenGame> games = runOn(scratch.path() / "console.log");
  ASSERT_EQ(games.size(), 2u);
  // The console's own line dates the game under way when the log opened.
  EXPECT_EQ(games[0].field("played"), "\"2022-10-12 19:05:02\"");
  EXPECT_NE(games[0].page.find("played 2022-10-12 19:05:02"), std::string::npos);
  EXPECT_EQ(games[1].field("played"), "null");
  EXPECT_EQ(games[1].page.find("played "), std::string::npos);
  // The player named like a fact line is a player like any other.
  EXPECT_NE(games[1].json.find("_kestro-fact_played_2017-06-23 12:43:00"), std::string::npos);
  EXPECT_NE(games[1].json.find("\"kills\":1"), std::string::npos);
}
