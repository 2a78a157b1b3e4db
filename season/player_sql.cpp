#include "player_sql.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "config_file.h"
#include "game.h"
#include "kills.h"
#include "line_event.h"
#include "game_record.h"
#include "league_tables.h"
#include "schema_migration.h"
#include "player_columns.h"
#include "players.h"
#include "season_config.h"
#include "sql_literal.h"
#include "text.h"

namespace season {

namespace {

// Text column sizes of the playerstats table: texts are cut to fit, the same
// way in every statement, so a long name still keys one row and a long quote
// never aborts the script.
constexpr std::size_t kNameColumn = 50;
constexpr std::size_t kQuoteColumn = 255;

// Appends a formatted fragment to `out`.
void sqlf(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void sqlf(std::string& out, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return;
  if (n < static_cast<int>(sizeof text)) {
    out.append(text, static_cast<std::size_t>(n));
    return;
  }
  // Longer than the buffer: format again into the string itself.
  std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(n) + 1);
  va_start(args, format);
  std::vsnprintf(out.data() + at, static_cast<std::size_t>(n) + 1, format, args);
  va_end(args);
  out.resize(at + static_cast<std::size_t>(n));
}

void writeTables(std::string& out) {
  out += "CREATE TABLE IF NOT EXISTS miscstats(variable VARCHAR(50) PRIMARY KEY, value VARCHAR(50) DEFAULT \" \");\n";
  // Tags and raw names compare byte for byte: "ALICE" and "Alice" are two,
  // and so are "Alice" and "Alice " (a padding collation would match them).
  out += "CREATE TABLE IF NOT EXISTS clanstats(tag VARBINARY(50) PRIMARY KEY, stat FLOAT(2) DEFAULT 0.0);\n";
  // Each server keeps its own page slots: its pages are in its own html/.
  out += "CREATE TABLE IF NOT EXISTS gamestats(server VARBINARY(64) NOT NULL DEFAULT \"\", slot INT NOT NULL DEFAULT 0, "
         "html VARCHAR(255), PRIMARY KEY (server, slot));\n";
  out += "CREATE TABLE IF NOT EXISTS playerstats(";
  // The texts are byte strings: a name in another alphabet (cp1251, say) is
  // kept as the log wrote it, whatever the server's character set.
  out += "raw_name VARBINARY(50) NOT NULL PRIMARY KEY, name VARBINARY(50), ";
  out += "model VARBINARY(50) DEFAULT \" \", quote VARBINARY(255) DEFAULT \" \", ";
  out += "frags INT DEFAULT 0, kills INT DEFAULT 0, deaths INT DEFAULT 0, ";
  out += "suicides INT DEFAULT 0, team_kills INT DEFAULT 0, ";
  out += "kill_streak INT DEFAULT 0, death_streak INT DEFAULT 0, ";
  out += "damage_given INT DEFAULT 0, damage_recvd INT DEFAULT 0, ";
  for (const char* w : kAccuracyColumns) {
    sqlf(out, "accuracy_%s_hits INT DEFAULT 0, accuracy_%s_attempts INT DEFAULT 0, ", w, w);
  }
  out += "accuracy_total_hits INT DEFAULT 0, accuracy_total_attempts INT DEFAULT 0, ";
  out += "item_mega INT DEFAULT 0, item_health INT DEFAULT 0, ";
  out += "item_health_small INT DEFAULT 0, item_health_large INT DEFAULT 0, ";
  out += "item_ra INT DEFAULT 0, item_ya INT DEFAULT 0, ";
  out += "item_shard INT DEFAULT 0, item_regen INT DEFAULT 0, ";
  out += "item_haste INT DEFAULT 0, item_quad INT DEFAULT 0, ";
  out += "skill FLOAT(2) DEFAULT 0.00, combat FLOAT(2) DEFAULT 0.00, ";
  for (const char* table : {"kills", "deaths"}) {
    sqlf(out, "%s_G  INT DEFAULT 0, %s_MG INT DEFAULT 0, %s_SG INT DEFAULT 0, %s_GL INT DEFAULT 0, ", table, table, table,
         table);
    sqlf(out, "%s_RL INT DEFAULT 0, %s_LG INT DEFAULT 0, %s_RG INT DEFAULT 0, %s_PG INT DEFAULT 0, ", table, table, table,
         table);
    sqlf(out, "%s_BFG INT DEFAULT 0, %s_TF INT DEFAULT 0, ", table, table);
    sqlf(out, "%s_NG INT DEFAULT 0, %s_GH INT DEFAULT 0, ", table, table);
  }
  out += "games INT DEFAULT 0, ";
  out += "ctf_base_defends INT DEFAULT 0, ctf_flag_returns INT DEFAULT 0, ctf_fc_defends INT DEFAULT 0, "
        "ctf_fc_defends_aggressive INT DEFAULT 0,";
  out += "ctf_flag_caps INT DEFAULT 0, ctf_flag_touches INT DEFAULT 0, ctf_efc_kills INT DEFAULT 0, ";
  out += "ctf_assist_efc_kills INT DEFAULT 0, ctf_assist_flag_returns INT DEFAULT 0, ";
  out += "ctf_flag_hold_kills INT DEFAULT 0";
  out += ");\n";
  // server: who counted the game; pages: whether its pages were made and
  // entered that server's rotation (a run killed in between leaves 0).
  out += "CREATE TABLE IF NOT EXISTS countedgames(fingerprint CHAR(64) PRIMARY KEY, log VARCHAR(255), "
         "counted DATETIME, server VARBINARY(64), pages TINYINT NOT NULL DEFAULT 1, deleted TINYINT NOT NULL DEFAULT 0);\n";
}

// Slots of earlier versions belonged to the one rotation every server
// shared: they become the rotation of the first server that finds none of
// its own (in a single-server season, that server).
void writeServerColumns(std::string& out, const std::string& server) {
  writeMigration(out, lacksColumn("gamestats", "server").c_str(),
                 "ALTER TABLE gamestats ADD COLUMN server VARBINARY(64) NOT NULL DEFAULT \"\" FIRST, "
                 "DROP PRIMARY KEY, ADD PRIMARY KEY (server, slot)");
  sqlf(out, "SET @ks_own=(SELECT COUNT(*) FROM gamestats WHERE server='%s');\n", server.c_str());
  sqlf(out, "UPDATE gamestats SET server='%s' WHERE server=\"\" AND @ks_own=0;\n", server.c_str());
  // Games counted before servers were told apart have their pages already.
  writeMigration(out, lacksColumn("countedgames", "server").c_str(),
                 "ALTER TABLE countedgames ADD COLUMN server VARBINARY(64)");
  writeMigration(out, lacksColumn("countedgames", "pages").c_str(),
                 "ALTER TABLE countedgames ADD COLUMN pages TINYINT NOT NULL DEFAULT 1");
}

void writeMigrations(std::string& out) {
  writeMigration(out,
                 "SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND "
                 "TABLE_NAME='playerstats' AND COLUMN_NAME='raw_name' AND DATA_TYPE<>'varbinary'",
                 "ALTER TABLE playerstats MODIFY raw_name VARBINARY(50) NOT NULL");
  writeMigration(out,
                 "SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND "
                 "TABLE_NAME='playerstats' AND COLUMN_NAME IN ('name', 'model', 'quote') AND DATA_TYPE<>'varbinary'",
                 "ALTER TABLE playerstats MODIFY name VARBINARY(50), MODIFY model VARBINARY(50) DEFAULT \" \", "
                 "MODIFY quote VARBINARY(255) DEFAULT \" \"");
  writeMigration(out,
                 "SELECT COUNT(*) FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND "
                 "TABLE_NAME='clanstats' AND COLUMN_NAME='tag' AND DATA_TYPE<>'varbinary'",
                 "ALTER TABLE clanstats MODIFY tag VARBINARY(50) NOT NULL");
  for (const char* table : {"miscstats", "clanstats", "gamestats", "playerstats", "countedgames"}) {
    std::string condition = std::string("SELECT COUNT(*) FROM information_schema.TABLES WHERE ") +
                            "TABLE_SCHEMA=DATABASE() AND TABLE_NAME='" + table + "' AND ENGINE<>'InnoDB'";
    std::string statement = std::string("ALTER TABLE ") + table + " ENGINE=InnoDB";
    writeMigration(out, condition.c_str(), statement.c_str());
  }
}

// The UPDATE that adds one player's game to the row.
void writePlayerUpdate(std::string& out, const Q3Player& p, const std::string& raw_name, int totals) {
  out += "UPDATE playerstats SET ";
  sqlf(out, "name=\"%s\", ", sqlTextValue(p.name, kNameColumn).c_str());
  if (!p.model.empty()) sqlf(out, "model=\"%s\", ", sqlTextValue(p.model, kNameColumn).c_str());
  if (p.quote.view() != kNoQuote) sqlf(out, "quote=\"%s\", ", sqlTextValue(p.quote, kQuoteColumn).c_str());
  sqlf(out, " frags=frags + %d, kills=kills + %d, ", p.frags, p.kills);
  sqlf(out, " deaths=deaths+%d, suicides=suicides+%d, ", p.deaths, p.suicides);
  sqlf(out, " team_kills=team_kills+%d, ", p.team_kills);
  sqlf(out, "damage_given=damage_given+%d, damage_recvd=damage_recvd+%d, ", p.damage_given, p.damage_recvd);
  for (int w = 1; w <= 8; ++w) {
    const char* c = kAccuracyColumns[w - 1];
    sqlf(out, "accuracy_%s_hits=accuracy_%s_hits + %d, accuracy_%s_attempts=accuracy_%s_attempts+ %d, ", c, c,
         p.accuracy_hits[w], c, c, p.accuracy_attempts[w - 1]);
  }
  // One assignment per weapon: the server applies them left to right, so the
  // totals grow by the sum of the eight weapons.
  for (int w = 1; w <= 8; ++w) {
    sqlf(out, "accuracy_total_hits=accuracy_total_hits + %d, accuracy_total_attempts=accuracy_total_attempts+ %d, ",
         p.accuracy_hits[w], p.accuracy_attempts[w - 1]);
  }
  sqlf(out, "item_mega=item_mega + %d, item_health=item_health + %d, ", p.item_mega, p.item_health);
  sqlf(out, "item_health_small=item_health_small + %d, item_health_large=item_health_large + %d, ", p.item_health_small,
       p.item_health_large);
  sqlf(out, "item_ra=item_ra + %d, item_ya=item_ya + %d, ", p.item_ra, p.item_ya);
  sqlf(out, "item_shard=item_shard + %d, item_regen=item_regen + %d, ", p.item_shard, p.item_regen);
  sqlf(out, "item_haste=item_haste + %d, item_quad=item_quad + %d, ", p.item_haste, p.item_quad);
  sqlf(out, " skill=skill+%0.2f, combat=combat+%0.2f, ", p.skill, p.combat);
  sqlf(out, "kills_G = kills_G+%d, ", p.kills_by_weapon[kGauntlet][totals]);
  for (const WeaponColumn& c : kWeaponColumns) {
    if (c.weapon == kGauntlet) continue;
    sqlf(out, "kills_%s=kills_%s+%d, ", c.suffix, c.suffix, p.kills_by_weapon[c.weapon][totals]);
  }
  for (const WeaponColumn& c : kWeaponColumns) {
    sqlf(out, "deaths_%s=deaths_%s+%d, ", c.suffix, c.suffix, p.deaths_by_weapon[c.weapon][totals]);
  }
  out += "games=games+1, ";
  sqlf(out, "ctf_base_defends=ctf_base_defends+%d, ", p.ctf_base_defends);
  sqlf(out, "ctf_flag_returns=ctf_flag_returns+%d, ", p.ctf_flag_returns);
  sqlf(out, "ctf_fc_defends=ctf_fc_defends+%d, ", p.ctf_fc_defends);
  sqlf(out, "ctf_fc_defends_aggressive=ctf_fc_defends_aggressive+%d, ", p.ctf_fc_defends_aggressive);
  sqlf(out, "ctf_flag_caps=ctf_flag_caps+%d, ", p.ctf_flag_caps);
  sqlf(out, "ctf_flag_touches=ctf_flag_touches+%d, ", p.ctf_flag_touches);
  sqlf(out, "ctf_efc_kills=ctf_efc_kills+%d, ", p.ctf_efc_kills);
  sqlf(out, "ctf_assist_efc_kills=ctf_assist_efc_kills+%d, ", p.ctf_assist_efc_kills);
  sqlf(out, "ctf_assist_flag_returns=ctf_assist_flag_returns+%d, ", p.ctf_assist_flag_returns);
  sqlf(out, "ctf_flag_hold_kills=ctf_flag_hold_kills+%d ", p.ctf_flag_hold_kills);
  sqlf(out, " WHERE raw_name=\"%s\";\n", raw_name.c_str());
}

void writePlayer(std::string& out, const Q3Player& p, int totals) {
  std::string raw_name = sqlTextValue(p.raw_name, kNameColumn);
  sqlf(out, "INSERT IGNORE INTO playerstats SET raw_name=\"%s\";\n", raw_name.c_str());
  writePlayerUpdate(out, p, raw_name, totals);
  sqlf(out, "UPDATE playerstats SET kill_streak=%d WHERE raw_name=\"%s\" AND %d>kill_streak;\n", p.kill_streak,
       raw_name.c_str(), p.kill_streak);
  sqlf(out, "UPDATE playerstats SET death_streak=%d WHERE raw_name=\"%s\" AND %d>death_streak;\n", p.death_streak,
       raw_name.c_str(), p.death_streak);
}

void replaceApostrophes(FixedText& text) {
  while (strReplace(text, "'", "_") == 1) {
  }
}

}  // namespace

std::string serverValue(const SeasonConfig& config) { return sqlTextValue(config.server, kServerNameBytes); }

void updateItems(Game& game, const LineEvent& event) {
  const LineScan& line = event.scan;
  if (!line.contains(" picked up the item ")) return;
  Q3Player& p = game.q3players[getVictim(game, event)];
  if (line.contains(" item_armor_shard")) p.item_shard += 1;
  else if (line.contains(" item_armor_combat")) p.item_ya += 1;
  else if (line.contains(" item_armor_body")) p.item_ra += 1;
  else if (line.contains(" item_health_mega")) p.item_mega += 1;
  else if (line.contains(" item_health_small")) p.item_health_small += 1;
  else if (line.contains(" item_health_large")) p.item_health_large += 1;
  else if (line.contains(" item_health")) p.item_health += 1;
  else if (line.contains(" item_regen")) p.item_regen += 1;
  else if (line.contains(" item_haste")) p.item_haste += 1;
  else if (line.contains(" item_quad")) p.item_quad += 1;
}

std::string schemaScript(const SeasonConfig& config) {
  std::string out;
  const char* db = config.db_name.c_str();
  sqlf(out, "CREATE DATABASE IF NOT EXISTS %s;\n", db);
  sqlf(out, "USE %s;\n", db);
  writeTables(out);
  out += recordTablesScript();
  writeMigrations(out);
  writeServerColumns(out, serverValue(config));
  out += leagueTablesScript();
  return out;
}

void sqlVerifyData(Game& game) {
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    replaceApostrophes(p.raw_name);
    replaceApostrophes(p.name);
    replaceApostrophes(p.quote);
  }
}

std::string gameStatements(Game& game, const SeasonConfig& config) {
  int n = getTotalPlayers(game);
  sqlVerifyData(game);
  const std::string server = serverValue(config);
  std::string out;
  // One statement that takes the row's write lock at once: a shared lock
  // first (INSERT IGNORE of an existing row) and the write lock later let
  // two servers' games deadlock on this row.
  out += "INSERT INTO miscstats SET variable=\"time\", value=now() ON DUPLICATE KEY UPDATE value=now();";
  sqlf(out, "DELETE FROM gamestats WHERE server='%s' AND slot>%d;\n", server.c_str(), config.no_of_game_stats);
  for (int slot = 1; slot <= config.no_of_game_stats; ++slot) {
    sqlf(out, "INSERT IGNORE INTO gamestats SET server='%s', slot=%d, html='%d.html';\n", server.c_str(), slot,
         1000 + slot);
  }
  for (int i = 0; i < n; ++i) {
    const Q3Player& p = game.q3players[i];
    if (addsToTotals(p)) writePlayer(out, p, n);
  }
  return out;
}

}  // namespace season
