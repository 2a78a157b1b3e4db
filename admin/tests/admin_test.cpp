// A league's corrections, each held against a season that never had what
// was corrected: a deleted game, merged players, a hidden player.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "admin_sql.h"
#include "game_record.h"
#include "program_runner.h"
#include "season_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// A server log of one game on q3dm17: `kills` lines "killer killed victim"
// (clients numbered by their place in `players`), ending as the server
// ends a game unless `ended` is false.
std::string oneGame(const std::vector<std::string>& players, const std::vector<std::pair<int, int>>& kills,
                    bool ended = true) {
  std::string log = "  0:00 InitGame: \\sv_hostname\\test\\g_gametype\\0\\mapname\\q3dm17\\protocol\\68\n";
  for (std::size_t i = 0; i < players.size(); ++i) {
    log += "  0:01 ClientUserinfoChanged: " + std::to_string(i + 2) + " n\\" + players[i] + "\\t\\0\\model\\sarge\n";
  }
  for (auto [killer, victim] : kills) {
    log += "  0:05 Kill: " + std::to_string(killer + 2) + " " + std::to_string(victim + 2) + " 10: " +
           players[killer] + " killed " + players[victim] + " by MOD_RAILGUN\n";
  }
  return log + (ended ? "  0:09 Exit: Timelimit hit.\n" : "") + "  0:10 ShutdownGame:\n";
}

// `count` kills of `victim` by `killer` in a row.
std::vector<std::pair<int, int>> streak(int killer, int victim, int count) {
  return std::vector<std::pair<int, int>>(count, {killer, victim});
}

std::vector<std::pair<int, int>> joined(std::vector<std::pair<int, int>> a, const std::vector<std::pair<int, int>>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every column of every player's totals, the whole numbers as text; skill
// and combat apart, since sums of floats in another order differ in the
// last digits.
struct Totals {
  std::string whole;
  std::vector<double> ratings;
};

std::string wholeColumns() {
  std::string list = "raw_name, games, kill_streak, death_streak";
  for (const std::string& c : season::recordFigureColumns()) {
    if (c != "kill_streak" && c != "death_streak") list += ", " + c;
  }
  return list;
}

}  // namespace

class AdminTest : public SeasonTest {
 protected:
  void SetUp() override {
    SeasonTest::SetUp();
    if (IsSkipped()) return;
    dir_.installProgram("kestrostats-admin");
  }

  kstest::RunResult admin(const std::string& args) { return kstest::runIn(dir_, "./kestrostats-admin " + args + " 2>&1"); }

  Totals totalsIn(const std::string& database) const {
    Totals t;
    t.whole = kstest::sharedDatabase().query("use " + database + "; select " + wholeColumns() +
                                             " from playerstats order by raw_name;");
    std::istringstream floats(kstest::sharedDatabase().query("use " + database +
                                                             "; select skill, combat from playerstats order by raw_name;"));
    for (double v; floats >> v;) t.ratings.push_back(v);
    return t;
  }

  // A second season of `logs` in a working directory and database of its
  // own: what the first should equal after a correction.
  Totals freshSeason(const std::vector<std::pair<std::string, std::string>>& logs) {
    kstest::TempDir other;
    for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift"}) {
      other.installProgram(program);
    }
    fs::create_directory(other.path() / "html");
    other.write("c-default.cfg", "");
    const std::string database = database_.substr(0, 56) + "_fresh";
    other.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database +
                                     "\ndb_user:\nroot\nmake_season_site:\nno\n");
    std::string names;
    for (const auto& [name, text] : logs) {
      other.write(name, text);
      names += " " + name;
    }
    const kstest::RunResult run = kstest::runIn(other, "./kestrostats-s" + names);
    EXPECT_EQ(run.status, 0) << run.output;
    return totalsIn(database);
  }

  void expectSameTotals(const Totals& fresh) {
    const Totals now = totalsIn(database_);
    EXPECT_EQ(now.whole, fresh.whole);
    ASSERT_EQ(now.ratings.size(), fresh.ratings.size());
    for (std::size_t i = 0; i < now.ratings.size(); ++i) EXPECT_NEAR(now.ratings[i], fresh.ratings[i], 0.01) << i;
  }

  std::string idOfGameFrom(const std::string& log) { return trimmed(sql("select id from games where log='" + log + "';")); }
};

TEST_F(AdminTest, ADeletedGameLeavesTheTotalsOfASeasonThatNeverHadIt) {
  const std::vector<std::string> players = {"Alice", "Bob", "Carol"};
  // Alice's longest streak (6) and Bob's longest run of deaths are in the
  // game that goes; Carol played only there.
  const std::vector<std::pair<std::string, std::string>> kept = {
      {"first.log", oneGame({"Alice", "Bob"}, joined(streak(0, 1, 2), streak(1, 0, 1)))},
      {"third.log", oneGame({"Alice", "Bob"}, joined(streak(1, 0, 3), streak(0, 1, 1)))},
  };
  const std::string deleted = oneGame(players, joined(streak(0, 1, 6), joined(streak(2, 0, 1), streak(1, 2, 2))));
  std::vector<std::pair<std::string, std::string>> all = kept;
  all.insert(all.begin() + 1, {"second.log", deleted});
  std::string names;
  for (const auto& [name, text] : all) {
    dir_.write(name, text);
    names += " " + name;
  }
  // A real server log too, for figures the made-up games lack.
  const fs::path real = kstest::sourceDir() / ".." / "shared" / "reallogs" / "osp-server-ffa-1game-7players.log";
  std::vector<std::pair<std::string, std::string>> fresh_logs = kept;
  if (fs::exists(real)) {
    std::ifstream in(real, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    dir_.write("real.log", text.str());
    names += " real.log";
    fresh_logs.push_back({"real.log", text.str()});
  }
  ASSERT_EQ(season(names).status, 0);

  // Unknown IDs change nothing.
  const Totals before = totalsIn(database_);
  EXPECT_EQ(admin("delete-game 99999").status, 1);
  EXPECT_EQ(admin("delete-game 1x").status, 1);
  EXPECT_EQ(totalsIn(database_).whole, before.whole);

  const std::string id = idOfGameFrom("second.log");
  ASSERT_FALSE(id.empty());
  kstest::RunResult run = admin("delete-game " + id);
  ASSERT_EQ(run.status, 0) << run.output;
  expectSameTotals(freshSeason(fresh_logs));
  EXPECT_EQ(trimmed(sql("select count(*) from games where id=" + id + ";")), "0");
  EXPECT_EQ(trimmed(sql("select count(*) from game_players where raw_name='Carol';")), "0");
  EXPECT_EQ(trimmed(sql("select kills from head_to_head where killer='Alice' and victim='Bob';")), "3");

  // Reading every log again brings nothing back; the action is logged.
  ASSERT_EQ(season(names).status, 0);
  expectSameTotals(freshSeason(fresh_logs));
  run = admin("log");
  EXPECT_NE(run.output.find("delete-game  " + id), std::string::npos) << run.output;
  run = admin("list-games");
  EXPECT_EQ(run.output.find("second.log"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("first.log"), std::string::npos) << run.output;

  // Deleted with --recount, the next read counts the game anew.
  const std::string third = idOfGameFrom("third.log");
  ASSERT_EQ(admin("delete-game --recount " + third).status, 0);
  ASSERT_EQ(season("third.log").status, 0);
  EXPECT_EQ(trimmed(sql("select count(*) from games where log='third.log';")), "1");
}

TEST_F(AdminTest, MergedPlayersAddUpAndTheAliasKeepsCountingForTheMergedInto) {
  dir_.write("one.log", oneGame({"Alice", "Bob"}, joined(streak(0, 1, 4), streak(1, 0, 1))));
  dir_.write("two.log", oneGame({"Alicia", "Bob"}, joined(streak(0, 1, 2), streak(1, 0, 3))));
  dir_.write("both.log", oneGame({"Alicia", "Alice", "Bob"}, joined(streak(0, 1, 1), streak(1, 2, 1))));
  ASSERT_EQ(season("one.log two.log both.log").status, 0);
  const Totals before = totalsIn(database_);

  EXPECT_EQ(admin("merge-players Nobody Alice").status, 1);
  EXPECT_EQ(admin("merge-players Alice Alice").status, 1);
  EXPECT_EQ(totalsIn(database_).whole, before.whole);

  kstest::RunResult run = admin("merge-players Alicia Alice");
  ASSERT_EQ(run.status, 0) << run.output;
  // Alice: 3 games, 4+2+1+... kills, the longer streak.
  EXPECT_EQ(column("Alice", "games"), "4");
  EXPECT_EQ(column("Alice", "kills"), std::to_string(4 + 2 + 1 + 1));
  EXPECT_EQ(column("Alice", "kill_streak"), "4");
  EXPECT_EQ(column("Alicia", "games"), "");
  EXPECT_EQ(trimmed(sql("select count(*) from game_players where raw_name='Alicia';")), "0");
  EXPECT_EQ(trimmed(sql("select kills from head_to_head where killer='Alice' and victim='Bob';")), std::to_string(4 + 2 + 1));
  EXPECT_EQ(trimmed(sql("select count(*) from head_to_head where killer=victim;")), "0");

  // Undone, everything is as before the merge.
  run = admin("unmerge-player Alicia");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(totalsIn(database_).whole, before.whole);
  EXPECT_EQ(trimmed(sql("select kills from head_to_head where killer='Alicia' and victim='Bob';")), "2");
  EXPECT_EQ(trimmed(sql("select kills from head_to_head where killer='Bob' and victim='Alicia';")), "3");

  // Merged again, a later game of the alias counts for Alice, and reading
  // every log again changes nothing.
  ASSERT_EQ(admin("merge-players Alicia Alice").status, 0);
  dir_.write("later.log", oneGame({"Alicia", "Bob"}, streak(0, 1, 7)));
  ASSERT_EQ(season("later.log").status, 0);
  EXPECT_EQ(column("Alice", "games"), "5");
  EXPECT_EQ(column("Alice", "kill_streak"), "7");
  EXPECT_EQ(column("Alicia", "games"), "");
  EXPECT_EQ(trimmed(sql("select count(*) from game_players where played_as='Alicia';")), "3");
  const Totals merged = totalsIn(database_);
  ASSERT_EQ(season("one.log two.log both.log later.log").status, 0);
  EXPECT_EQ(totalsIn(database_).whole, merged.whole);
  // The later game's kills cannot be told apart: the merge stays.
  run = admin("unmerge-player Alicia");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_EQ(totalsIn(database_).whole, merged.whole);
}

TEST_F(AdminTest, AHiddenPlayerAppearsNowhereOnTheSiteByName) {
  dir_.installProgram("kestrostats-site");
  writeSeasonConfig("make_season_site:\nyes\nsite_min_games:\n1\n");
  dir_.write("one.log", oneGame({"Zanzibarian", "Bob", "Carol"}, joined(streak(0, 1, 3), streak(2, 0, 2))));
  dir_.write("two.log", oneGame({"Zanzibarian", "Bob"}, streak(1, 0, 2)));
  ASSERT_EQ(season("one.log two.log").status, 0);
  const std::string bob_before = column("Bob", "kills") + column("Bob", "deaths");

  EXPECT_EQ(admin("hide-player Nobody").status, 1);
  kstest::RunResult run = admin("hide-player Zanzibarian");
  ASSERT_EQ(run.status, 0) << run.output;
  // The others' figures are untouched, and no file of the site holds the
  // name, in any form the site writes names.
  EXPECT_EQ(column("Bob", "kills") + column("Bob", "deaths"), bob_before);
  const std::string hex = admin::hexLiteral("Zanzibarian").substr(2, 22);
  std::string lower_hex;
  for (char c : hex) lower_hex += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir_.path() / "html" / "season")) {
    if (!entry.is_regular_file()) continue;
    ++files;
    const std::string text = dir_.read(fs::relative(entry.path(), dir_.path()).string());
    const std::string name = entry.path().filename().string();
    EXPECT_EQ(text.find("Zanzibarian"), std::string::npos) << name;
    for (const std::string& form : {hex, lower_hex}) {
      EXPECT_EQ(text.find(form), std::string::npos) << name;
      EXPECT_EQ(name.find(form), std::string::npos) << name;
    }
  }
  EXPECT_GT(files, 5);
  EXPECT_NE(dir_.read("html/season/games.json").find("hidden player"), std::string::npos);

  ASSERT_EQ(admin("unhide-player Zanzibarian").status, 0);
  EXPECT_NE(dir_.read("html/season/season.json").find("Zanzibarian"), std::string::npos);
  EXPECT_EQ(admin("unhide-player Zanzibarian").status, 1);
}
