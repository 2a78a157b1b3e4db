// The SQL script of one game and the commands that apply it, checked as
// text (no server needed: a "#" pre-command turns every command into a
// shell comment).
#include <cstdlib>
#include <string>

#include "analyser_fixture.h"
#include "kills.h"
#include "database_session.h"
#include "player_sql.h"
#include "scoring.h"
#include "season_config.h"
#include "shell_command.h"

using SqlScript = AnalyserTest;

namespace {

season::SeasonConfig seasonSettings() {
  season::SeasonConfig config;
  config.pre_command.assign("#");
  config.command_enclosing_character = ' ';
  config.db_host.assign("127.0.0.1");
  config.db_name.assign("season");
  config.db_user.assign("stats");
  config.db_pass.assign("");
  config.count_games_once = true;
  config.no_of_game_stats = 2;
  config.server = "it's east";
  return config;
}

const std::string kFingerprint(64, 'f');

// The session script of one game (the "#" pre-command makes the client a
// shell comment).
std::string makeScript(const kstest::TempDir& dir, const season::SeasonConfig& config,
                       const std::string& log = "games.log") {
  RunStatus status;
  season::DatabaseSession session(config);
  dir.write("db_counted.txt", "fingerprint\n");  // what the client lists for an empty database
  EXPECT_TRUE(session.prepare(log, status));
  session.beginGame(kFingerprint, 1001);
  ::testing::internal::CaptureStdout();
  season::sqlMake(AnalyserTest::game(), config, session);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "\n - Updating database\n");
  session.endGame();
  ::testing::internal::CaptureStdout();
  EXPECT_TRUE(session.apply(status));
  ::testing::internal::GetCapturedStdout();
  EXPECT_FALSE(status.failed());
  return dir.read("db_sql.txt");
}

}  // namespace

TEST_F(SqlScript, TheSchemaCreatesAndMigratesEveryTable) {
  season::SeasonConfig config = seasonSettings();
  std::string schema = season::schemaScript(config);
  EXPECT_EQ(schema.rfind("CREATE DATABASE IF NOT EXISTS season;\nUSE season;\n"
                         "CREATE TABLE IF NOT EXISTS miscstats(variable VARCHAR(50) PRIMARY KEY, value VARCHAR(50) "
                         "DEFAULT \" \");\nCREATE TABLE IF NOT EXISTS clanstats(tag VARBINARY(50) PRIMARY KEY, "
                         "stat FLOAT(2) DEFAULT 0.0);\n"
                         "CREATE TABLE IF NOT EXISTS gamestats(server VARBINARY(64) NOT NULL DEFAULT \"\", "
                         "slot INT NOT NULL DEFAULT 0, html VARCHAR(255), PRIMARY KEY (server, slot));\n"
                         "CREATE TABLE IF NOT EXISTS playerstats(raw_name VARBINARY(50) NOT NULL PRIMARY KEY, ",
                         0),
            0u)
      << schema.substr(0, 600);
  EXPECT_NE(schema.find("skill FLOAT(2) DEFAULT 0.00, combat FLOAT(2) DEFAULT 0.00, kills_G  INT DEFAULT 0, "),
            std::string::npos);
  EXPECT_NE(schema.find("deaths_NG INT DEFAULT 0, deaths_GH INT DEFAULT 0, games INT DEFAULT 0, "),
            std::string::npos);
  EXPECT_NE(schema.find("ctf_fc_defends_aggressive INT DEFAULT 0,ctf_flag_caps INT DEFAULT 0, "), std::string::npos);
  EXPECT_NE(schema.find("ctf_flag_hold_kills INT DEFAULT 0);\nCREATE TABLE IF NOT EXISTS countedgames("),
            std::string::npos);
  // Tables of earlier versions: byte-exact keys, transactional tables.
  EXPECT_NE(schema.find("'ALTER TABLE playerstats MODIFY raw_name VARBINARY(50) NOT NULL'"), std::string::npos);
  EXPECT_NE(schema.find("'ALTER TABLE clanstats MODIFY tag VARBINARY(50) NOT NULL'"), std::string::npos);
  EXPECT_NE(schema.find("'ALTER TABLE countedgames ENGINE=InnoDB'"), std::string::npos);
  // The one row change: records kept before the season's head-to-head sums
  // are summed into them, once.
  const std::size_t insert = schema.find("INSERT");
  EXPECT_EQ(insert, schema.find("INSERT IGNORE INTO head_to_head (killer, victim, kills) SELECT killer, victim, "
                                "SUM(kills) FROM game_kills WHERE NOT EXISTS (SELECT 1 FROM head_to_head) GROUP BY"));
  EXPECT_EQ(schema.find("INSERT", insert + 1), std::string::npos);
  // Slots and games of versions before servers were told apart: the slots
  // go to the first server without any of its own, the games have pages.
  EXPECT_NE(schema.find("'ALTER TABLE gamestats ADD COLUMN server VARBINARY(64) NOT NULL DEFAULT \"\" FIRST, "
                        "DROP PRIMARY KEY, ADD PRIMARY KEY (server, slot)'"),
            std::string::npos);
  EXPECT_NE(schema.find("SET @ks_own=(SELECT COUNT(*) FROM gamestats WHERE server='it\\'s east');\n"
                        "UPDATE gamestats SET server='it\\'s east' WHERE server=\"\" AND @ks_own=0;\n"),
            std::string::npos);
  EXPECT_NE(schema.find("'ALTER TABLE countedgames ADD COLUMN pages TINYINT NOT NULL DEFAULT 1'"), std::string::npos);
}

TEST_F(SqlScript, EachGameIsOneTransactionThatRecordsItsFingerprint) {
  season::SeasonConfig config = seasonSettings();
  addPlayers({"a", "b"});
  addUpTables(game());  // ratings back to 0: nobody did anything
  std::string script = makeScript(dir_, config, "it's.log");
  EXPECT_EQ(script,
            "USE season;\nselect html from gamestats where server='it\\'s east' and slot>2;\n"
            "START TRANSACTION;\n"
            "INSERT INTO countedgames SET fingerprint='" + kFingerprint +
                "', log='it\\'s.log', counted=now(), server='it\\'s east', pages=0;\n"
            "DELIMITER $$\n"  // the rest of the game in one round trip
            "INSERT INTO miscstats SET variable=\"time\", value=now() ON DUPLICATE KEY UPDATE value=now();"
            "DELETE FROM gamestats WHERE server='it\\'s east' AND slot>2;\n"
            "INSERT IGNORE INTO gamestats SET server='it\\'s east', slot=1, html='1001.html';\n"
            "INSERT IGNORE INTO gamestats SET server='it\\'s east', slot=2, html='1002.html';\n"
            "INSERT INTO games SET fingerprint='" + kFingerprint + "', server='it\\'s east', log=\"it\\'s.log\", "
            "played=NULL, counted=now(), listed=now(), map=\"\", type='ffa', duration=NULL, ended=\"\", "
            "red_score=NULL, blue_score=NULL, players=0, winner_team=NULL, winner=NULL;\n"
            "SET @ks_game=LAST_INSERT_ID();\n"
            "COMMIT;$$\nDELIMITER ;\n");  // nobody scored: no player rows
  // Without page slots there are no pages to owe.
  config.no_of_game_stats = 0;
  const std::string unpaged = makeScript(dir_, config);
  EXPECT_NE(unpaged.find("now(), server='it\\'s east', pages=1;\n"), std::string::npos) << unpaged;
  config.count_games_once = false;
  EXPECT_EQ(makeScript(dir_, config).find("countedgames"), std::string::npos);
}

TEST_F(SqlScript, APlayerRowAddsEveryFigure) {
  season::SeasonConfig config = seasonSettings();
  addPlayers({"^1Al'ex", "b"});
  Q3Player& p = game().q3players[0];
  p.kills = 3;
  p.frags = 4;
  p.skill = 2.5f;
  p.kill_streak = 3;
  p.kills_by_weapon[kGauntlet][2] = 1;
  p.kills_by_weapon[kTeleFrag][2] = 2;
  p.deaths_by_weapon[kGrapple][2] = 5;
  p.accuracy_hits[kRailGun] = 4;
  p.accuracy_attempts[kRailGun - 1] = 9;
  p.item_health_small = 2;
  p.quote.assign(std::string(300, 'q'));
  std::string script = makeScript(dir_, config);
  // A new row takes the game's figures...
  EXPECT_NE(script.find("INSERT INTO playerstats SET raw_name=\"^1Al_ex\", name=\"Al_ex\", quote=\"" +
                        std::string(255, 'q') + "\", frags=4, kills=3, deaths=0, suicides=0, team_kills=0, "
                        "kill_streak=3, death_streak=0, "),
            std::string::npos)
      << script;
  EXPECT_NE(script.find(", accuracy_total_hits=4, accuracy_total_attempts=9, "), std::string::npos);
  EXPECT_NE(script.find(", skill=2.50, combat=10.00, kills_G=1, "), std::string::npos);
  // ...a row already there adds them.
  EXPECT_NE(script.find(" ON DUPLICATE KEY UPDATE name=\"Al_ex\", quote=\"" + std::string(255, 'q') +
                        "\",  frags=frags + 4, kills=kills + 3,  deaths=deaths+0, suicides=suicides+0,  "
                        "team_kills=team_kills+0, "),
            std::string::npos);
  EXPECT_NE(script.find("accuracy_RG_hits=accuracy_RG_hits + 4, accuracy_RG_attempts=accuracy_RG_attempts+ 9, "),
            std::string::npos);
  EXPECT_EQ(countOf(script, "accuracy_total_hits=accuracy_total_hits + "), 2 * 8);  // per weapon, per player
  EXPECT_NE(script.find("accuracy_total_hits=accuracy_total_hits + 4, accuracy_total_attempts=accuracy_total_attempts+ 9, "),
            std::string::npos);
  EXPECT_NE(script.find("item_health_small=item_health_small + 2, "), std::string::npos);
  EXPECT_NE(script.find(" skill=skill+2.50, combat=combat+10.00, kills_G = kills_G+1, kills_MG=kills_MG+0, "),
            std::string::npos);
  EXPECT_NE(script.find("kills_TF=kills_TF+2, "), std::string::npos);
  EXPECT_NE(script.find("deaths_GH=deaths_GH+5, games=games+1, "), std::string::npos);
  // The streaks keep the larger.
  EXPECT_NE(script.find("ctf_flag_hold_kills=ctf_flag_hold_kills+0, kill_streak=GREATEST(kill_streak, 3), "
                        "death_streak=GREATEST(death_streak, 0);\n"),
            std::string::npos);
  EXPECT_EQ(script.find("model="), std::string::npos);  // no model seen: the stored one stays
  EXPECT_EQ(countOf(script, "INSERT INTO playerstats"), 2);  // b has skill 10, which counts
}

TEST_F(SqlScript, LongNamesAreCutToTheirColumn) {
  season::SeasonConfig config = seasonSettings();
  addPlayers({std::string(60, 'n'), "b"});
  game().q3players[0].kills = 1;
  game().q3players[0].model.assign(std::string(70, 'm'));
  std::string script = makeScript(dir_, config);
  std::string key = std::string(50, 'n');
  EXPECT_NE(script.find("INSERT INTO playerstats SET raw_name=\"" + key + "\", "), std::string::npos);
  EXPECT_EQ(countOf(script, "model=\"" + std::string(50, 'm') + "\", "), 2);  // a new row, a row already there
  EXPECT_EQ(script.find(std::string(51, 'n')), std::string::npos);
}

TEST_F(SqlScript, ItemPickupsCountTheFirstMatchingItem) {
  addPlayers({"Alice"});
  season::updateItems(game(), Line("Alice^7 picked up the item item_health_small").event);
  season::updateItems(game(), Line("Alice^7 picked up the item item_health_mega").event);
  season::updateItems(game(), Line("Alice^7 picked up the item item_health").event);
  season::updateItems(game(), Line("Alice^7 picked up the item weapon_railgun").event);
  season::updateItems(game(), Line("Alice^7 got the item item_quad").event);
  const Q3Player& p = game().q3players[0];
  EXPECT_EQ(p.item_health_small, 1);
  EXPECT_EQ(p.item_mega, 1);
  EXPECT_EQ(p.item_health, 1);
  EXPECT_EQ(p.item_quad, 0);
}

TEST(ShellCommands, TheCommandFormAndQuoting) {
  season::SeasonConfig config;
  config.pre_command.assign("");
  config.command_enclosing_character = ' ';
  EXPECT_EQ(season::commandForm(config, "mysql -e x"), "  mysql -e x ");
  config.pre_command.assign("sh -c");
  config.command_enclosing_character = '\'';
  EXPECT_EQ(season::commandForm(config, "ls"), "sh -c 'ls'");
  EXPECT_EQ(shellWord("db.example-1:3306/x@y"), "db.example-1:3306/x@y");
  EXPECT_EQ(shellWord("pa$$ w'rd"), "'pa$$ w'\\''rd'");
  EXPECT_EQ(shellWord(""), "''");
  EXPECT_EQ(escapeForDoubleQuotes("my log$(x).log"), "my log\\$(x).log");
  config.db_host.assign("127.0.0.1");
  config.db_user.assign("stats");
  config.db_pass.assign("");
  EXPECT_EQ(season::mysqlLogin(config), "-h 127.0.0.1 -u stats");  // no bare "-p" to wait for a password
  config.db_pass.assign("s3cret");
  // Without a pre-command the password goes through the environment, where
  // other users cannot read it; a pre-command may start the client elsewhere.
  config.pre_command.assign("");
  EXPECT_EQ(season::mysqlLogin(config), "-h 127.0.0.1 -u stats");
  season::passPasswordThroughEnvironment(config);
  EXPECT_STREQ(std::getenv("MYSQL_PWD"), "s3cret");
  config.pre_command.assign("sudo -u stats");
  EXPECT_EQ(season::mysqlLogin(config), "-h 127.0.0.1 -u stats -ps3cret");
  season::passPasswordThroughEnvironment(config);
  EXPECT_EQ(std::getenv("MYSQL_PWD"), nullptr);
}
