// kestrostats-site over game records seeded with plain SQL into the tests'
// own MariaDB server: the list pages and their order, a summary page per
// game, each player's games and rivals, games.json, hostile names and a
// database of an earlier version without the record tables.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "program_runner.h"
#include "throwaway_database.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part)) parts.push_back(part);
  return parts;
}

std::string hexOf(const std::string& text) {
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : text) {
    hex += digits[c >> 4];
    hex += digits[c & 15];
  }
  return hex;
}

// Every match of the first group of `pattern` in `html`, in order.
std::vector<std::string> matches(const std::string& html, const std::string& pattern) {
  std::vector<std::string> found;
  std::regex re(pattern);
  for (auto it = std::sregex_iterator(html.begin(), html.end(), re); it != std::sregex_iterator(); ++it) {
    found.push_back((*it)[1]);
  }
  return found;
}

// Rows of the table with class `table` in `html`.
std::size_t tableRows(const std::string& html, const std::string& table) {
  std::size_t at = html.find("class=\"ksBoard " + table + "\"");
  if (at == std::string::npos) return 0;
  std::size_t body = html.find("<tbody>", at);
  std::size_t end = html.find("</tbody>", body);
  std::size_t rows = 0;
  for (std::size_t i = html.find("<tr>", body); i != std::string::npos && i < end; i = html.find("<tr>", i + 1)) ++rows;
  return rows;
}

class GameRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kstest::ThrowawayDatabase& db = kstest::sharedDatabase();
    if (!db.start()) GTEST_SKIP() << db.error();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    database_ = "records_" + std::string(info->name()).substr(0, 40);
    for (char& c : database_) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift", "kestrostats-site"}) {
      dir_.installProgram(program);
    }
    fs::create_directory(dir_.path() / "html");
    dir_.write("c-default.cfg", "");
    dir_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                    "\ndb_user:\nroot\nno_of_game_stats:\n4\nmake_season_site:\nno\n"
                                    "server_name:\neast\nsite_min_games:\n1\n");
    fs::copy_file(kstest::sourceDir() / "samples" / "ffa-chat.log", dir_.path() / "ffa-chat.log");
    kstest::RunResult r = kstest::runIn(dir_, "./kestrostats-s ffa-chat.log > season.out 2>&1");
    ASSERT_EQ(r.status, 0) << dir_.read("season.out");
    // The season recorded its game; these tests seed records of their own.
    ASSERT_EQ(sql("delete from head_to_head; delete from game_kills; delete from game_players; delete from games;"),
              "");
  }

  // As a database of an earlier version: no record tables.
  void dropRecordTables() { ASSERT_EQ(sql("drop table head_to_head, game_kills, game_players, games;"), ""); }

  // The season's next run makes the record tables again (its game stays
  // counted once, so they stay empty).
  void makeRecordTables() {
    kstest::RunResult r = kstest::runIn(dir_, "./kestrostats-s ffa-chat.log > season.out 2>&1");
    ASSERT_EQ(r.status, 0) << dir_.read("season.out");
    ASSERT_EQ(sql("select count(*) from games;"), "0\n");
  }

  std::string sql(const std::string& statement) const {
    return kstest::sharedDatabase().query("use " + database_ + "; " + statement);
  }

  kstest::RunResult site() { return kstest::runIn(dir_, "./kestrostats-site 2> site.err"); }

  std::string page(const std::string& name) const { return dir_.read("html/season/" + name); }

  // `games` games, newest listed last by id but some played earlier: two
  // players each (Alpha, "^1Bravo"), every tenth with an unknown played time.
  void seedGames(int games) {
    sql("insert into playerstats set raw_name='Alpha', name='Alpha', games=" + std::to_string(games) + ", skill=2;"
        "insert into playerstats set raw_name='^1Bravo', name='Bravo', games=" + std::to_string(games) + ", skill=1;"
        "insert into games (id, fingerprint, server, log, played, counted, listed, map, type, duration, players, winner)"
        " select seq, sha2(seq, 256), 'east', 'a.log', if(seq % 10 = 0, null, '2024-01-01' + interval (seq * 37) % 500 hour),"
        " '2025-01-01' + interval seq minute, if(seq % 10 = 0, '2025-01-01' + interval seq minute,"
        " '2024-01-01' + interval (seq * 37) % 500 hour), if(seq % 2 = 0, 'q3dm17', 'q3dm6'), 'ffa', 600, 2, 'Alpha'"
        " from seq_1_to_" + std::to_string(games) + ";"
        "insert into game_players (game_id, slot, raw_name, name, result, place, frags, kills, deaths)"
        " select id, 0, 'Alpha', 'Alpha', 'won', 1, 10, 10, 3 from games;"
        "insert into game_players (game_id, slot, raw_name, name, result, place, frags, kills, deaths)"
        " select id, 1, '^1Bravo', 'Bravo', 'lost', 2, 3, 3, 10 from games;"
        "insert into game_kills select id, 'Alpha', '^1Bravo', 1 + id % 4 from games;"
        "insert into game_kills select id, '^1Bravo', 'Alpha', 1 from games where id % 3 = 0;"
        "insert into head_to_head select killer, victim, sum(kills) from game_kills group by killer, victim;");
  }

  kstest::TempDir dir_;
  std::string database_;
};

TEST_F(GameRecordsTest, TheListHasEveryGameNewestFirstInPagesAndEachGameHasItsSummary) {
  seedGames(250);
  // One game's report pages are in this server's rotation, another's are not.
  sql("update games set page='kestrostats_2024_01_01_00_00_00_7_FFA_PUB_main.html', "
      "weapon_page='kestrostats_2024_01_01_00_00_00_7_FFA_PUB_wpn.html' where id=7;"
      "update games set page='kestrostats_2024_01_01_00_00_00_8_FFA_PUB_main.html' where id=8;"
      "insert into gamestats set server='east', slot=90, html='kestrostats_2024_01_01_00_00_00_7_FFA_PUB_main.html';");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");

  std::vector<std::string> listed;
  for (const char* name : {"games.html", "games-2.html", "games-3.html"}) {
    std::string html = page(name);
    ASSERT_FALSE(html.empty()) << name;
    std::vector<std::string> ids = matches(html, "href=\"games/([0-9]+)\\.html\"");
    EXPECT_EQ(ids.size(), std::string(name) == "games-3.html" ? 50u : 100u) << name;
    listed.insert(listed.end(), ids.begin(), ids.end());
  }
  EXPECT_FALSE(dir_.exists("html/season/games-4.html"));
  EXPECT_EQ(listed, lines(sql("select id from games order by listed desc, id desc;")));
  EXPECT_NE(page("games.html").find("rel=\"next\" href=\"games-2.html\""), std::string::npos);
  EXPECT_EQ(page("games.html").find("rel=\"prev\""), std::string::npos);
  EXPECT_NE(page("games-3.html").find("rel=\"prev\" href=\"games-2.html\""), std::string::npos);
  EXPECT_EQ(page("games-3.html").find("rel=\"next\""), std::string::npos);
  // An unknown played time shows the counted time, marked.
  std::string counted = sql("select counted from games where id=10;").substr(0, 19);
  std::string list = page("games.html") + page("games-2.html") + page("games-3.html");
  EXPECT_NE(list.find(counted + " <span class=\"ksCounted\""), std::string::npos) << counted;

  for (int id = 1; id <= 250; ++id) {
    std::string summary = page("games/" + std::to_string(id) + ".html");
    ASSERT_FALSE(summary.empty()) << id;
    EXPECT_EQ(tableRows(summary, "ksGamePlayers"), 2u) << id;
  }
  // Game 7's reports are live, game 8's are not in the rotation.
  std::string seven = page("games/7.html");
  EXPECT_NE(seven.find("href=\"../../kestrostats_2024_01_01_00_00_00_7_FFA_PUB_main.html\""), std::string::npos);
  EXPECT_NE(seven.find("href=\"../../kestrostats_2024_01_01_00_00_00_7_FFA_PUB_wpn.html\""), std::string::npos);
  EXPECT_NE(list.find("href=\"../kestrostats_2024_01_01_00_00_00_7_FFA_PUB_main.html\""), std::string::npos);
  EXPECT_EQ(list.find("_8_FFA_PUB_main.html"), std::string::npos);
  // The head-to-head cell of game 7: Alpha killed Bravo 1 + 7 % 4 times.
  EXPECT_NE(seven.find("<td class=\"ksSelf\">-</td><td>4</td></tr>"), std::string::npos);
  // The front page lists the newest ones.
  EXPECT_NE(page("index.html").find("href=\"games/" + listed[0] + ".html\""), std::string::npos);

  // A game gone from the records takes its summary page with it; a rerun
  // leaves the unchanged summaries alone.
  fs::file_time_type before = fs::last_write_time(dir_.path() / "html/season/games/1.html");
  sql("delete from game_players where game_id between 201 and 250; delete from games where id between 201 and 250;");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  EXPECT_FALSE(dir_.exists("html/season/games/250.html"));
  EXPECT_FALSE(dir_.exists("html/season/games-3.html"));
  EXPECT_TRUE(dir_.exists("html/season/games-2.html"));
  EXPECT_EQ(fs::last_write_time(dir_.path() / "html/season/games/1.html"), before);
}

TEST_F(GameRecordsTest, APlayersPagesListEveryGameOfTheirsAndTheRivalsAddUpOverTheSeason) {
  seedGames(120);
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  for (const std::string raw : {"Alpha", "^1Bravo"}) {
    const std::string stem = "players/p" + hexOf(raw);
    std::size_t rows = tableRows(page(stem + ".html"), "ksPlayerGames");
    for (int n = 2; dir_.exists("html/season/" + stem + "-games-" + std::to_string(n) + ".html"); ++n) {
      rows += tableRows(page(stem + "-games-" + std::to_string(n) + ".html"), "ksPlayerGames");
    }
    EXPECT_EQ(std::to_string(rows) + "\n", sql("select count(*) from game_players where raw_name='" + raw + "';")) << raw;
    EXPECT_NE(page(stem + ".html").find("<svg class=\"ksChart ksForm\""), std::string::npos);
  }
  std::string alpha = page("players/p" + hexOf("Alpha") + ".html");
  // The newest game first on the player's page.
  std::string newest = lines(sql("select id from games order by listed desc, id desc limit 1;"))[0];
  EXPECT_EQ(matches(alpha, "href=\"\\.\\./games/([0-9]+)\\.html\"")[0], newest);
  // Prey and enemy counts are the season's sums.
  std::string prey = sql("select sum(kills) from game_kills where killer='Alpha' and victim='^1Bravo';");
  std::string enemy = sql("select sum(kills) from game_kills where killer='^1Bravo' and victim='Alpha';");
  prey.pop_back();
  enemy.pop_back();
  std::size_t prey_at = alpha.find("class=\"ksRivals ksPrey\"");
  ASSERT_NE(prey_at, std::string::npos);
  EXPECT_NE(alpha.find("killed " + prey + " times", prey_at), std::string::npos) << prey;
  std::size_t enemy_at = alpha.find("class=\"ksRivals ksEnemies\"");
  ASSERT_NE(enemy_at, std::string::npos);
  EXPECT_NE(alpha.find("killed by them " + enemy + " times", enemy_at), std::string::npos) << enemy;
  // The per-map summary: half the games on each map.
  EXPECT_EQ(tableRows(alpha, "ksPlayerMaps"), 2u);
  EXPECT_NE(alpha.find(">q3dm17</a></td><td>60</td><td>60</td>"), std::string::npos);
  // The map pages: the map's games and its best players.
  std::string map = page("maps/m" + hexOf("q3dm17") + ".html");
  EXPECT_NE(map.find("60 games, on average 10:00 long"), std::string::npos);
  EXPECT_EQ(tableRows(map, "ksMapBest"), 2u);
  EXPECT_EQ(tableRows(page("maps.html"), "ksMaps"), 2u);
}

// Alpha beats Bravo in every game: their ratings part evenly from 1500,
// and a game whose record goes is no longer in them.
TEST_F(GameRecordsTest, RatingsComeFromTheRecordsAndFollowThem) {
  seedGames(30);
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  auto ratings = [this]() {
    std::map<std::string, json> by_name;
    const json season = json::parse(page("season.json"));
    for (const json& p : season["players"]) by_name[p["name"].get<std::string>()] = p["ratings"];
    return by_name;
  };
  std::map<std::string, json> r = ratings();
  ASSERT_TRUE(r["Alpha"].is_object() && r["Bravo"].is_object());
  const json& alpha = r["Alpha"]["ffa"];
  const json& bravo = r["Bravo"]["ffa"];
  EXPECT_EQ(alpha["games"], 30);
  EXPECT_EQ(bravo["games"], 30);
  EXPECT_EQ(r["Alpha"]["team"]["games"], 0);
  EXPECT_GT(alpha["rating"].get<double>(), 1600);
  EXPECT_NEAR(alpha["rating"].get<double>() - 1500, 1500 - bravo["rating"].get<double>(), 1e-6);
  EXPECT_NEAR(alpha["deviation"].get<double>(), bravo["deviation"].get<double>(), 1e-9);
  EXPECT_LT(alpha["deviation"].get<double>(), 200) << "thirty games make it surer";
  EXPECT_NE(page("index.html").find(">rating</th>"), std::string::npos);
  EXPECT_NE(page("players/p" + hexOf("Alpha") + ".html").find("<svg class=\"ksChart ksRatingChart\""),
            std::string::npos);

  sql("delete from game_kills where game_id > 20; delete from game_players where game_id > 20;"
      "delete from games where id > 20;");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  std::map<std::string, json> fewer = ratings();
  EXPECT_EQ(fewer["Alpha"]["ffa"]["games"], 20);
  EXPECT_LT(fewer["Alpha"]["ffa"]["rating"].get<double>(), alpha["rating"].get<double>());
}

TEST_F(GameRecordsTest, GamesJsonParsesAndHoldsEveryGameWithItsPlayers) {
  seedGames(30);
  sql("update games set red_score=3, blue_score=1, winner_team='red', type='ctf', winner=null where id=5;");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  EXPECT_EQ(kstest::runIn(dir_, "python3 -m json.tool html/season/games.json > /dev/null").status, 0);
  json j = json::parse(page("games.json"));
  EXPECT_EQ(j["format"], 1);
  ASSERT_EQ(j["games"].size(), 30u);
  for (const json& g : j["games"]) {
    for (const char* field : {"id", "played", "counted", "log", "map", "type", "duration", "ended", "score", "players"}) {
      EXPECT_TRUE(g.contains(field)) << field;
    }
    ASSERT_EQ(g["players"].size(), 2u);
    for (const json& p : g["players"]) {
      for (const char* field : {"raw_name", "raw_name_hex", "name", "team", "frags", "kills", "deaths", "accuracy",
                                "kills_by_weapon", "items", "ctf", "damage_given", "skill"}) {
        EXPECT_TRUE(p.contains(field)) << field;
      }
    }
    if (g["id"] == 5) {
      EXPECT_EQ(g["score"], (json{{"red", 3}, {"blue", 1}}));
    } else {
      EXPECT_TRUE(g["score"].is_null());
    }
    if (g["id"] == 10) {
      EXPECT_TRUE(g["played"].is_null());
    }
  }
  EXPECT_EQ(j["games"][0]["players"][1]["raw_name_hex"], hexOf("^1Bravo"));
  // season.json keeps its format.
  EXPECT_EQ(json::parse(page("season.json"))["format"], 1);
}

TEST_F(GameRecordsTest, HostileMapAndPlayerNamesStayTextAndGiveSafeFileNames) {
  makeRecordTables();
  const std::string map = "../../<script>alert(1)</script>/x";
  const std::string name = "\"'><img src=x onerror=alert(2)>/../";
  sql("insert into playerstats set raw_name=X'" + hexOf(name) + "', name=X'" + hexOf(name) + "', games=1;"
      "insert into games set id=1, fingerprint=repeat('a', 64), server='east', log=X'" + hexOf("<b>.log") +
      "', played='2024-01-01 10:00:00', counted='2024-01-01 11:00:00', listed='2024-01-01 10:00:00', map=X'" +
      hexOf(map) + "', type='ffa', players=1, winner=X'" + hexOf(name) + "', page='../../etc/passwd';"
      "insert into game_players set game_id=1, slot=0, raw_name=X'" + hexOf(name) + "', name='x', frags=1;");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  const std::string map_page = "maps/m" + hexOf(map) + ".html";
  EXPECT_TRUE(dir_.exists("html/season/" + map_page));
  for (const auto& e : fs::recursive_directory_iterator(dir_.path() / "html")) {
    if (!e.is_regular_file() || e.path().extension() != ".html") continue;
    std::string html = dir_.read(e.path().lexically_relative(dir_.path()).string());
    EXPECT_EQ(html.find("<script>alert"), std::string::npos) << e.path();
    EXPECT_EQ(html.find("<img src=x"), std::string::npos) << e.path();
    EXPECT_EQ(html.find("etc/passwd"), std::string::npos) << e.path();
  }
  // Nothing was written outside the season folder's own folders.
  for (const auto& e : fs::directory_iterator(dir_.path() / "html")) {
    EXPECT_TRUE(e.path().filename() == "season" || e.path().filename().string().starts_with("kestrostats_"))
        << e.path();
  }
  EXPECT_NE(page("games.html").find("href=\"" + map_page + "\""), std::string::npos);
  EXPECT_NE(page("games/1.html").find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
}

TEST_F(GameRecordsTest, ADatabaseWithoutTheRecordTablesGivesTheSiteAsBefore) {
  // No record tables: the season of the sample log only.
  dropRecordTables();
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  std::string counted = sql("select count(*) from countedgames;");
  counted.pop_back();
  ASSERT_NE(counted, "0");
  EXPECT_NE(page("games.html").find("No game records yet."), std::string::npos);
  EXPECT_NE(page("games.html").find(counted + (counted == "1" ? " counted game has" : " counted games have")),
            std::string::npos);
  EXPECT_NE(page("index.html").find("No game records yet."), std::string::npos);
  EXPECT_NE(page("maps.html").find("No game records yet."), std::string::npos);
  EXPECT_TRUE(json::parse(page("games.json"))["games"].empty());
  EXPECT_FALSE(json::parse(page("season.json"))["players"].empty());
  // With the tables but records for only some games, the rest are counted.
  makeRecordTables();
  seedGames(3);
  sql("insert into countedgames (fingerprint, log) select fingerprint, log from games;");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  EXPECT_NE(page("games.html").find("3 recorded games"), std::string::npos);
  EXPECT_NE(page("games.html").find(counted + (counted == "1" ? " counted game has" : " counted games have")),
            std::string::npos);
}

// Records that cannot be read (a column gone) fail the run as the database's
// fault, and the site in place stays as it was.
TEST_F(GameRecordsTest, RecordsThatCannotBeReadLeaveThePreviousSiteAndExitWithStatus3) {
  seedGames(5);
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  std::string games = page("games.html");
  std::string summary = page("games/5.html");
  sql("alter table game_players drop column damage_recvd;");
  EXPECT_EQ(site().status, 3);
  EXPECT_NE(dir_.read("site.err").find("damage_recvd"), std::string::npos) << dir_.read("site.err");
  EXPECT_EQ(page("games.html"), games);
  EXPECT_EQ(page("games/5.html"), summary);
  for (const auto& e : fs::recursive_directory_iterator(dir_.path() / "html" / "season")) {
    EXPECT_EQ(e.path().filename().string().find(".part-"), std::string::npos) << e.path();
  }
}

}  // namespace
