// A league: several servers, each with its own working directory, feed one
// database at the same time. Every game counts once, each server keeps its
// own rotation of the pages in its own html/, a site links only to pages
// it has, and a client that meets another one's lock tries again.
#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game_pages.h"
#include "season_config.h"
#include "season_fixture.h"

namespace {

namespace fs = std::filesystem;

// Game `i` of the league: P<i> rails Bob i % 3 + 1 times.
std::string leagueGame(int i) {
  std::string name = "P" + std::to_string(i);
  std::string game = name + "^7 entered the game\nBob^7 entered the game\n";
  for (int k = 0; k <= i % 3; ++k) game += "Bob^7 was railed by " + name + "^7\n";
  return game + "Timelimit hit.\n----- CL_Shutdown -----\n";
}

std::string leagueLog(int from, int to) {
  std::string log;
  for (int i = from; i < to; ++i) log += leagueGame(i);
  return log;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1) {
    out.push_back(text.substr(at, end - at));
  }
  return out;
}

class League : public SeasonTest {
 protected:
  // A second working directory, for the server "west"; dir_ is "east".
  void SetUp() override {
    SeasonTest::SetUp();
    if (IsSkipped()) return;
    for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift", "kestrostats-site"}) {
      west_.installProgram(program);
    }
    fs::create_directory(west_.path() / "html");
    west_.write("c-default.cfg", "");
    for (const auto& [dir, name] : {std::pair{&dir_, "east"}, std::pair{&west_, "west"}}) {
      dir->write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                      "\ndb_user:\nroot\nno_of_game_stats:\n20\nserver_name:\n" + name + "\n");
    }
  }

  // East reads games.log (`games`) while another client runs `statement`
  // and holds its locks for `seconds`; standard error goes to errors.txt.
  kstest::RunResult runWhileLocked(const std::string& statement, int seconds, const std::string& games);

  // Both servers read their log at the same time; their exit statuses.
  std::string bothRun() {
    const std::string east = dir_.path().string();
    const std::string west = west_.path().string();
    return kstest::runIn(dir_, "true; (cd '" + east + "' && ./kestrostats-s east.log > out.txt 2>&1) & e=$!; (cd '" + west +
                                   "' && ./kestrostats-s west.log > out.txt 2>&1); w=$?; wait $e; echo \"$? $w\"")
        .output;
  }

  // One server's rotation, its html/ and its site agree: each game it
  // counted has one entry, each entry's pages are there, nothing else is.
  void expectOwnPagesOnly(const kstest::TempDir& dir, const std::string& server) {
    std::vector<std::string> held =
        lines(sql("select html from gamestats where server='" + server + "' and html like 'kestrostats%';"));
    EXPECT_EQ(std::to_string(held.size()) + "\n",
              sql("select count(*) from countedgames where server='" + server + "';"))
        << server;
    std::set<std::string> expected = {"season"};  // the site's folder
    for (std::string page : held) {
      expected.insert(page);
      expected.insert(page.replace(page.rfind("_main."), 6, "_wpn."));
    }
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(dir.path() / "html")) {
      present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, expected) << server;
    const nlohmann::json site = nlohmann::json::parse(dir.read("html/season/season.json"));
    EXPECT_EQ(site["server"], server);
    EXPECT_EQ(site["games"].size(), held.size()) << server;
    for (const auto& game : site["games"]) {
      EXPECT_TRUE(dir.exists("html/" + game["main"].get<std::string>())) << server << " " << game;
      EXPECT_TRUE(dir.exists("html/" + game["weapons"].get<std::string>())) << server << " " << game;
    }
  }

  kstest::TempDir west_;
};

// Holds a lock from another client while a season run meets it.
class LockHolder {
 public:
  explicit LockHolder(std::string database) : database_(std::move(database)) {}
  // Starts a client that runs `statements` in one transaction and keeps
  // it open for `seconds`.
  void start(const std::string& statements, int seconds) {
    dir_.write("hold.sql", "use " + database_ + ";\nstart transaction;\n" + statements + "\ndo sleep(" +
                              std::to_string(seconds) + ");\ncommit;\n");
    kstest::runIn(dir_, "true; mysql -h 127.0.0.1 -u root < hold.sql > hold.out 2>&1 & echo $! > hold.pid; sleep 0.5");
  }
  // Waits for the client to end.
  ~LockHolder() { kstest::runIn(dir_, "test -f hold.pid && while kill -0 $(cat hold.pid) 2>/dev/null; do sleep 0.2; done"); }

 private:
  std::string database_;
  kstest::TempDir dir_;
};

kstest::RunResult League::runWhileLocked(const std::string& statement, int seconds, const std::string& games) {
  LockHolder holder(database_);
  holder.start(statement, seconds);
  dir_.write("games.log", games);
  return kstest::runIn(dir_, "./kestrostats-s games.log 2> errors.txt");
}

// The server gives up a lock wait after a second for clients that connect
// while this lives.
struct ShortLockWaits {
  ShortLockWaits() { kstest::sharedDatabase().query("set global innodb_lock_wait_timeout=1;"); }
  ~ShortLockWaits() { kstest::sharedDatabase().query("set global innodb_lock_wait_timeout=50;"); }
};

}  // namespace

TEST_F(League, TwoServersAtOnceCountEveryGameOnceAndKeepTheirOwnPages) {
  // East's log grows by four games a round; west reads six games a round,
  // two of them east's newest and four that east reads next round.
  std::set<int> fed;
  for (int round = 0; round < 3; ++round) {
    dir_.write("east.log", leagueLog(0, 4 * round + 4));
    west_.write("west.log", leagueLog(4 * round + 2, 4 * round + 8));
    for (int i = 0; i < 4 * round + 8; ++i) fed.insert(i);
    ASSERT_EQ(bothRun(), "0 0\n") << dir_.read("out.txt") << west_.read("out.txt");
    EXPECT_EQ(sql("select count(*) from countedgames;"), std::to_string(fed.size()) + "\n") << round;
    int deaths = 0;
    for (int i : fed) {
      EXPECT_EQ(column("P" + std::to_string(i), "concat_ws(' ', games, kills)"), "1 " + std::to_string(i % 3 + 1));
      deaths += i % 3 + 1;
    }
    EXPECT_EQ(column("Bob", "concat_ws(' ', games, deaths)"), std::to_string(fed.size()) + " " + std::to_string(deaths));
    expectOwnPagesOnly(dir_, "east");
    expectOwnPagesOnly(west_, "west");
    if (HasFailure()) return;
  }
}

TEST_F(League, TheRotationStepIsOneAtomicStepForEveryClient) {
  // Two clients rotate 150 pages each into the same server's 300 slots at
  // once: every page takes a slot of its own.
  kstest::sharedDatabase().query("create database " + database_ + ";");
  season::SeasonConfig config;
  config.db_name.assign(database_);
  config.server = "east";
  sql("create table gamestats(server VARBINARY(64) NOT NULL DEFAULT '', slot INT NOT NULL DEFAULT 0, "
      "html VARCHAR(255), PRIMARY KEY (server, slot));"
      "create table countedgames(fingerprint CHAR(64) PRIMARY KEY, pages TINYINT NOT NULL DEFAULT 1);");
  std::string slots = "insert into gamestats (server, slot, html) values ";
  for (int slot = 1; slot <= 300; ++slot) {
    slots += (slot == 1 ? "" : ", ") + std::string("('east', ") + std::to_string(slot) + ", '" +
             std::to_string(1000 + slot) + ".html')";
  }
  sql(slots + ";");
  for (const char* client : {"a", "b"}) {
    std::vector<std::string> pages;
    for (int i = 0; i < 150; ++i) {
      pages.push_back("kestrostats_2024_01_01_00_00_00_" + std::to_string(1001 + i) + "_" + client + "_main.html");
    }
    dir_.write(std::string(client) + ".sql", season::rotationScript(config, pages, {}));
  }
  auto both = kstest::runIn(dir_, "true; mysql -N -h 127.0.0.1 -u root < a.sql > a.out 2>&1 & "
                                  "mysql -N -h 127.0.0.1 -u root < b.sql > b.out 2>&1; b=$?; wait $!; echo \"$? $b\"");
  ASSERT_EQ(both.output, "0 0\n") << dir_.read("a.out") << dir_.read("b.out");
  EXPECT_EQ(sql("select count(distinct html) from gamestats where html like 'kestrostats%';"), "300\n");
  // Each displaced a placeholder no other page displaced.
  std::set<std::string> displaced;
  for (const char* out : {"a.out", "b.out"}) {
    for (const std::string& line : lines(dir_.read(out))) {
      if (line.starts_with("displaced\t")) {
        EXPECT_TRUE(displaced.insert(line.substr(10)).second) << line;
      }
    }
  }
  EXPECT_EQ(displaced.size(), 300u);
}

TEST_F(League, ALockHeldByAnotherClientIsWaitedOutAndThenCountedOnce) {
  writeSeasonConfig("no_of_game_stats:\n4\n");
  dir_.write("first.log", leagueLog(0, 1));
  ASSERT_EQ(season("first.log").status, 0);
  ShortLockWaits short_waits;
  {
    auto result = runWhileLocked("select * from miscstats for update;", 3, leagueLog(1, 4));
    EXPECT_EQ(result.status, 0) << result.output << dir_.read("errors.txt");
    EXPECT_NE(result.output.find(" - the database was busy (another client held a lock): trying again in "),
              std::string::npos)
        << result.output;
    EXPECT_EQ(dir_.read("errors.txt"), "");
  }
  EXPECT_EQ(sql("select count(*) from countedgames where pages=1;"), "4\n");
  EXPECT_EQ(column("Bob", "concat_ws(' ', games, deaths)"), "4 7");

  // A lock held longer than every attempt: the run gives up on the game, and
  // the next run counts it.
  {
    auto result = runWhileLocked("select * from miscstats for update;", 12, leagueLog(4, 6));
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(dir_.read("errors.txt").find("ERROR 1205"), std::string::npos) << dir_.read("errors.txt");
    EXPECT_NE(dir_.read("errors.txt").find("ERROR: the database stopped at game 1001 of games.log"),
              std::string::npos)
        << dir_.read("errors.txt");
    EXPECT_EQ(sql("select count(*) from countedgames;"), "4\n");
  }
  ASSERT_EQ(season("games.log").status, 0);
  EXPECT_EQ(column("Bob", "concat_ws(' ', games, deaths)"), "6 12");
}

TEST_F(League, AGameAnotherServerCountsMeanwhileIsSkippedWithItsPages) {
  writeSeasonConfig("no_of_game_stats:\n4\n");
  // The fingerprint of game 2, from a database of its own.
  west_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                   "_p\ndb_user:\nroot\nmake_season_site:\nno\n");
  west_.write("two.log", leagueGame(2));
  ASSERT_EQ(kstest::runIn(west_, "./kestrostats-s two.log > out.txt").status, 0);
  const std::string fingerprint = lines(kstest::sharedDatabase().query(
      "select fingerprint from " + database_ + "_p.countedgames;"))[0];
  kstest::sharedDatabase().query("drop database " + database_ + "_p;");

  dir_.write("first.log", leagueLog(0, 1));
  ASSERT_EQ(season("first.log").status, 0);
  {
    // West commits game 2 while east's run waits for it.
    auto result = runWhileLocked(
        "insert into countedgames set fingerprint='" + fingerprint + "', server='west', pages=1;", 3, leagueLog(1, 4));
    EXPECT_EQ(result.status, 0) << result.output << dir_.read("errors.txt");
    EXPECT_NE(result.output.find(" - game 1002 of games.log was counted meanwhile by another run: skipped"),
              std::string::npos)
        << result.output;
    EXPECT_EQ(dir_.read("errors.txt"), "");
  }
  EXPECT_EQ(column("P2", "games"), "");  // the holder did not add the game's players
  EXPECT_EQ(column("Bob", "games"), "3");
  EXPECT_EQ(sql("select concat_ws(' ', server, pages) from countedgames where fingerprint='" + fingerprint + "';"),
            "west 1\n");
  // East made the pages of its three games, not those of west's.
  EXPECT_EQ(sql("select count(*) from gamestats where html like 'kestrostats%';"), "3\n");
  for (const auto& entry : fs::directory_iterator(dir_.path() / "html")) {
    EXPECT_EQ(dir_.read("html/" + entry.path().filename().string()).find("P2"), std::string::npos);
  }
}
