// kestrostats-site as an admin runs it: in a season working directory, after
// kestrostats-s has filled the database from logs, against the tests' own
// MariaDB server.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "program_runner.h"
#include "throwaway_database.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::vector<std::string> split(const std::string& text, char by) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, by)) parts.push_back(part);
  return parts;
}

// Every file below `folder` with its content.
std::map<std::string, std::string> snapshot(const kstest::TempDir& dir, const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir.path() / folder)) {
    if (e.is_regular_file()) files[e.path().lexically_relative(dir.path()).string()] =
        dir.read(e.path().lexically_relative(dir.path()).string());
  }
  return files;
}

class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kstest::ThrowawayDatabase& db = kstest::sharedDatabase();
    if (!db.start()) GTEST_SKIP() << db.error();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    database_ = "site_" + std::string(info->name()).substr(0, 50);
    for (char& c : database_) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift", "kestrostats-site"}) {
      dir_.installProgram(program);
    }
    fs::create_directory(dir_.path() / "html");
    dir_.write("c-default.cfg", "");
    // The season driver is not to start the site itself here: each test
    // runs it when it wants to look.
    dir_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                    "\ndb_user:\nroot\nno_of_game_stats:\n4\ndetect_clan_tag:\nyes\n"
                                    "process_clan_tag_add:\nyes\nmake_season_site:\nno\n");
    dir_.write("tags_add.txt", "|X|\n[NX]\n");
  }

  void season(const std::string& logs) {
    for (const std::string& log : split(logs, ' ')) {
      fs::copy_file(kstest::sourceDir() / "samples" / log, dir_.path() / log, fs::copy_options::overwrite_existing);
    }
    kstest::RunResult r = kstest::runIn(dir_, "./kestrostats-s " + logs + " > season.out 2>&1");
    ASSERT_EQ(r.status, 0) << dir_.read("season.out");
  }

  kstest::RunResult site(const std::string& args = "") {
    return kstest::runIn(dir_, "./kestrostats-site " + args + " 2> site.err");
  }

  std::string sql(const std::string& statement) const {
    return kstest::sharedDatabase().query("use " + database_ + "; " + statement);
  }

  json seasonJson() const { return json::parse(dir_.read("html/season/season.json")); }

  // The season.json player of each hexadecimal raw name.
  std::map<std::string, json> playersByHex() const {
    std::map<std::string, json> players;
    const json season = seasonJson();
    for (const json& p : season["players"]) players[p["raw_name_hex"].get<std::string>()] = p;
    return players;
  }

  kstest::TempDir dir_;
  std::string database_;
};

// Where a playerstats column is in a player of season.json.
const json* fieldOf(const json& player, const std::string& column) {
  static const std::map<std::string, std::string> renamed = {{"damage_recvd", "damage_received"}};
  auto in = [&](const char* object, const std::string& key) { return &player.at(object).at(key); };
  if (renamed.count(column)) return &player.at(renamed.at(column));
  if (column.starts_with("accuracy_")) {
    std::vector<std::string> parts = split(column, '_');
    std::string weapon = parts[1] == "total" ? "total" : parts[1];
    return &player.at("accuracy").at(weapon).at(parts[2]);
  }
  if (column.starts_with("kills_")) return in("kills_by_weapon", column.substr(6));
  if (column.starts_with("deaths_")) return in("deaths_by_weapon", column.substr(7));
  if (column.starts_with("item_")) return in("items", column.substr(5));
  if (column.starts_with("ctf_")) return in("ctf", column.substr(4));
  return &player.at(column);
}

// Every column of every row against season.json and the player's page.
void expectSiteMatchesDatabase(const kstest::TempDir& dir,
                               const std::function<std::string(const std::string&)>& sql) {
  std::vector<std::string> columns = split(sql("select column_name from information_schema.columns where "
                                               "table_schema=database() and table_name='playerstats' "
                                               "order by ordinal_position;"),
                                           '\n');
  ASSERT_GT(columns.size(), 70u);
  std::string select = "select lower(hex(raw_name))";
  for (const std::string& c : columns) select += c == "raw_name" ? "" : ", " + c;
  std::vector<std::string> rows = split(sql(select + " from playerstats;"), '\n');
  std::map<std::string, json> players;
  const json season = json::parse(dir.read("html/season/season.json"));
  for (const json& p : season["players"]) players[p["raw_name_hex"].get<std::string>()] = p;
  ASSERT_EQ(players.size(), rows.size());
  for (const std::string& row : rows) {
    std::vector<std::string> cells = split(row, '\t');
    ASSERT_EQ(cells.size(), columns.size()) << row;
    ASSERT_EQ(players.count(cells[0]), 1u) << "no player " << cells[0];
    const json& player = players[cells[0]];
    EXPECT_TRUE(dir.exists("html/season/" + player["page"].get<std::string>()));
    EXPECT_EQ(player["page"], "players/p" + cells[0] + ".html");
    for (std::size_t i = 1; i < columns.size(); ++i) {
      const json* value = fieldOf(player, columns[i]);
      if (value->is_string()) {
        EXPECT_EQ(value->get<std::string>(), cells[i]) << columns[i];
      } else {
        EXPECT_DOUBLE_EQ(value->get<double>(), std::stod(cells[i])) << columns[i] << " of " << player["name"];
      }
    }
  }
}

TEST_F(SiteTest, PagesAndSeasonJsonMatchTheDatabaseRows) {
  season("ffa-chat.log ctf-osp.log");
  kstest::RunResult r = site();
  ASSERT_EQ(r.status, 0) << dir_.read("site.err");
  EXPECT_NE(r.output.find("html/season/index.html"), std::string::npos) << r.output;
  expectSiteMatchesDatabase(dir_, [this](const std::string& s) { return sql(s); });

  json j = seasonJson();
  std::string time = sql("select value from miscstats where variable='time';");
  EXPECT_EQ(j["last_update"].get<std::string>() + "\n", time);
  // Every real page of the rotation, newest first, and nothing else.
  std::vector<std::string> pages = split(sql("select html from gamestats where html like 'kestrostats%' "
                                             "order by html desc;"),
                                         '\n');
  ASSERT_FALSE(pages.empty());
  ASSERT_EQ(j["games"].size(), pages.size());
  for (const json& g : j["games"]) EXPECT_TRUE(dir_.exists("html/" + g["main"].get<std::string>())) << g;
  EXPECT_EQ(j["games"][0]["main"], pages[0]);
  EXPECT_FALSE(j["games"][0]["weapons"].is_null());
  std::string index = dir_.read("html/season/index.html");
  EXPECT_NE(index.find("href=\"../" + pages[0] + "\""), std::string::npos);
  // The clans of tags_add.txt with the rating the season computed.
  std::vector<std::string> clans = split(sql("select tag from clanstats order by tag;"), '\n');
  ASSERT_EQ(j["clans"].size(), clans.size());
  EXPECT_NE(index.find("id=\"clans\""), std::string::npos);
}

TEST_F(SiteTest, ARerunAfterNewGamesUpdatesTheSite) {
  season("ffa-chat.log");
  ASSERT_EQ(site("--min-games 0").status, 0) << dir_.read("site.err");
  std::map<std::string, json> before = playersByHex();
  std::string index_before = dir_.read("html/season/index.html");
  season("ctf-osp.log");
  ASSERT_EQ(site("--min-games 0").status, 0) << dir_.read("site.err");
  expectSiteMatchesDatabase(dir_, [this](const std::string& s) { return sql(s); });
  std::map<std::string, json> after = playersByHex();
  EXPECT_GT(after.size(), before.size());
  for (const auto& [hex, player] : after) {
    if (before.count(hex) == 0) {
      EXPECT_NE(dir_.read("html/season/index.html").find("players/p" + hex + ".html"), std::string::npos);
    }
  }
  EXPECT_NE(dir_.read("html/season/index.html"), index_before);
  const int records = std::stoi(sql("select count(*) + count(distinct map) from games;"));
  EXPECT_EQ(snapshot(dir_, "html/season").size(), after.size() + 9 + records)
      << "index, all, season.json, css, js, games.html, games.json, maps.html, the file index, the players, a "
         "summary per game and a page per map";

  // What the second run kept or copied from the site of the first is
  // exactly what a run into an empty folder makes.
  auto pages = [this]() {
    std::map<std::string, std::string> files = snapshot(dir_, "html/season");
    files.erase("html/season/.site-index");
    files.erase("html/season/season.json");  // it says when it was made
    return files;
  };
  const std::map<std::string, std::string> updated = pages();
  fs::remove_all(dir_.path() / "html" / "season");
  ASSERT_EQ(site("--min-games 0").status, 0) << dir_.read("site.err");
  const std::map<std::string, std::string> afresh = pages();
  EXPECT_EQ(updated.size(), afresh.size());
  for (const auto& [name, content] : afresh) {
    auto found = updated.find(name);
    EXPECT_TRUE(found != updated.end() && found->second == content) << name << " differs from a site made afresh";
  }
}

TEST_F(SiteTest, OnlyThisServersPagesAreShownAndATableWithoutServersIsShownWhole) {
  season("ffa-chat.log");
  // Another server's slot, naming a page this server does not have.
  sql("insert into gamestats set server='elsewhere', slot=1, "
      "html='kestrostats_2024_01_01_00_00_00_1001_FFA_PUB_main.html';");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  const std::string own = sql("select count(*) from gamestats where html like 'kestrostats%' and server<>'elsewhere';");
  EXPECT_EQ(std::to_string(seasonJson()["games"].size()) + "\n", own);
  EXPECT_EQ(seasonJson()["server"], dir_.path().filename().string());
  // The table as versions before servers made it: one rotation for all.
  sql("delete from gamestats where server='elsewhere';"
      "alter table gamestats drop primary key, drop column server, add primary key (slot);");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  EXPECT_EQ(std::to_string(seasonJson()["games"].size()) + "\n", own);
}

TEST_F(SiteTest, ADatabaseThatCannotBeReadLeavesThePreviousSiteAndExitsWithStatus3) {
  season("ffa-chat.log");
  ASSERT_EQ(site().status, 0) << dir_.read("site.err");
  std::map<std::string, std::string> before = snapshot(dir_, "html");
  // No server on the port, a database that does not exist, a refused login.
  EXPECT_EQ(kstest::runIn(dir_, "MYSQL_TCP_PORT=1 ./kestrostats-site 2> site.err").status, 3);
  EXPECT_NE(dir_.read("site.err").find("ERROR: could not connect"), std::string::npos) << dir_.read("site.err");
  dir_.write("other.cfg", "db_host:\n127.0.0.1\ndb_name:\nno_such_database\ndb_user:\nroot\n");
  EXPECT_EQ(site("other.cfg").status, 3);
  dir_.write("other.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ + "\ndb_user:\nnobody\ndb_pass:\nwrong\n");
  EXPECT_EQ(site("other.cfg").status, 3);
  // A table the season has not made.
  sql("drop table gamestats;");
  EXPECT_EQ(site().status, 3);
  EXPECT_NE(dir_.read("site.err").find("gamestats"), std::string::npos) << dir_.read("site.err");
  EXPECT_EQ(snapshot(dir_, "html"), before);
}

TEST_F(SiteTest, AFolderThatCannotBeWrittenLeavesTheOldPagesAndExitsWithStatus5) {
  season("ffa-chat.log");
  ASSERT_EQ(site().status, 0);
  std::string index = dir_.read("html/season/index.html");
  fs::rename(dir_.path() / "html/season/players", dir_.path() / "players.old");
  dir_.write("html/season/players", "a file in the way");
  EXPECT_EQ(site().status, 5);
  EXPECT_NE(dir_.read("site.err").find("players"), std::string::npos);
  EXPECT_EQ(dir_.read("html/season/index.html"), index);
}

TEST_F(SiteTest, HostileNamesShowAsTextAndEveryRawNameGetsItsOwnPage) {
  season("ffa-chat.log");
  // Straight into the table: names no log could carry, and names that differ
  // in one byte only.
  const std::vector<std::string> names = {
      "Alice", "Alice ", "alice", "<script>alert(1)</script>", "\"'><img src=x onerror=alert(2)>&amp;",
      std::string("nul\0byte", 8), "tab\tnew\nline", "\xFF\xFE latin", "^Xzzzzzz^1red"};
  for (const std::string& n : names) {
    std::string hex;
    for (unsigned char c : n) {
      static const char* digits = "0123456789ABCDEF";
      hex += digits[c >> 4];
      hex += digits[c & 15];
    }
    sql("insert into playerstats set raw_name=X'" + hex + "', name=X'" + hex + "', quote=X'" + hex +
        "', games=3, kills=1, skill=1;");
  }
  kstest::RunResult r = site();
  ASSERT_EQ(r.status, 0) << dir_.read("site.err");
  std::map<std::string, json> players = playersByHex();
  for (const std::string& n : names) {
    std::string hex;
    for (unsigned char c : n) {
      static const char* digits = "0123456789abcdef";
      hex += digits[c >> 4];
      hex += digits[c & 15];
    }
    ASSERT_EQ(players.count(hex), 1u) << n;
    std::string page = dir_.read("html/season/players/p" + hex + ".html");
    ASSERT_FALSE(page.empty()) << n;
    EXPECT_EQ(page.find("<script>alert"), std::string::npos);
    EXPECT_EQ(page.find("<img src=x"), std::string::npos);
  }
  std::string index = dir_.read("html/season/index.html");
  EXPECT_EQ(index.find("<script>alert"), std::string::npos);
  EXPECT_EQ(index.find("<img src=x"), std::string::npos);
  EXPECT_NE(index.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(players["416c696365"]["raw_name"], "Alice");
  EXPECT_EQ(players.count("616c69636520"), 0u) << "\"alice \" was never inserted";
}

TEST_F(SiteTest, WrongCommandLinesAndConfigurationsExitWithStatus1AndWriteNothing) {
  EXPECT_EQ(site("--colour").status, 1);
  EXPECT_EQ(site("missing.cfg").status, 1);
  dir_.write("bad.cfg", "db_host:\n127.0.0.1\ndb_name:\nx\nsite_min_games:\nmany\n");
  EXPECT_EQ(site("bad.cfg").status, 1);
  EXPECT_NE(dir_.read("site.err").find("site_min_games"), std::string::npos);
  EXPECT_EQ(kstest::runIn(dir_, "MYSQL_TCP_PORT=http ./kestrostats-site 2> site.err").status, 1);
  EXPECT_FALSE(dir_.exists("html/season"));
  EXPECT_EQ(site("--help").status, 0);
}

TEST_F(SiteTest, RealServerLogsGiveASiteOfEveryPlayer) {
  fs::path logs = kstest::sourceDir().parent_path() / "shared" / "reallogs";
  if (!fs::is_directory(logs)) GTEST_SKIP() << "no real logs beside the repository";
  std::string names;
  for (const auto& e : fs::directory_iterator(logs)) {
    if (e.path().extension() != ".log") continue;
    fs::copy_file(e.path(), dir_.path() / e.path().filename());
    names += " " + e.path().filename().string();
  }
  kstest::RunResult r = kstest::runIn(dir_, "./kestrostats-s" + names + " > season.out 2>&1");
  ASSERT_NE(r.status, -1);
  ASSERT_EQ(site("--min-games 1").status, 0) << dir_.read("site.err");
  expectSiteMatchesDatabase(dir_, [this](const std::string& s) { return sql(s); });
}

}  // namespace

// The tests share one throwaway server, stopped after the last test.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int status = RUN_ALL_TESTS();
  kstest::sharedDatabase().stop();
  return status;
}
