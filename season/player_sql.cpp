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

using playerstats::Column;

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

// playerstats' figure columns, as the table of them lists them.
void writeFigureColumns(std::string& out) {
  const char* separator = "";
  for (const Column& c : playerstats::kColumns) {
    out += separator;
    out += c.name;
    out += c.spacing & playerstats::kWideType ? "  " : " ";
    out += c.type;
    separator = c.spacing & playerstats::kTightComma ? "," : ", ";
  }
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
  writeFigureColumns(out);
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

// Assignments "c=c+v" joined by ", ", each spaced as its column has always
// been.
struct Assignments {
  std::string& out;
  const char* separator = "";

  void add(const Column& c, const std::string& value) {
    out += separator;
    separator = ", ";
    if (c.spacing & playerstats::kSpaceBefore) out += ' ';
    out += c.name;
    out += c.spacing & playerstats::kSpacedEquals ? " = " : "=";
    out += c.name;
    out += c.spacing & playerstats::kSpacedPlus ? " + " : c.spacing & playerstats::kPlusSpace ? "+ " : "+";
    out += value;
  }
};

// What the game adds to column `c`.
std::string additionOf(const Column& c, const Q3Player& p, int totals) {
  if (!playerstats::isRating(c)) return std::to_string(playerstats::figureOf(c, p, totals));
  char rating[32];
  std::snprintf(rating, sizeof rating, "%0.2f", playerstats::ratingOf(c, p));
  return rating;
}

// The accuracy totals: one assignment per weapon, the totals of a weapon side
// by side. The server applies them left to right, so each total grows by the
// sum of the eight weapons.
void addAccuracyTotals(Assignments& to, const Q3Player& p) {
  for (int w = playerstats::kFirstAccuracyWeapon; w <= playerstats::kLastAccuracyWeapon; ++w) {
    for (const Column& c : playerstats::kColumns) {
      if (playerstats::isAccuracyTotal(c)) to.add(c, std::to_string(playerstats::shareOf(c, p, w)));
    }
  }
}

// The assignments of every column but the maxima; the accuracy totals where
// the first of them stands.
void writeAdditions(std::string& out, const Q3Player& p, int totals) {
  Assignments to{out};
  bool totals_added = false;
  for (const Column& c : playerstats::kColumns) {
    if (c.adding == playerstats::Adding::kMax) continue;
    if (!playerstats::isAccuracyTotal(c)) {
      to.add(c, additionOf(c, p, totals));
    } else if (!totals_added) {
      addAccuracyTotals(to, p);
      totals_added = true;
    }
  }
}

// The player's texts: "name=..., " and the model and quote when the game
// had them.
void writeTexts(std::string& out, const Q3Player& p) {
  sqlf(out, "name=\"%s\", ", sqlTextValue(p.name, kNameColumn).c_str());
  if (!p.model.empty()) sqlf(out, "model=\"%s\", ", sqlTextValue(p.model, kNameColumn).c_str());
  if (p.quote.view() != kNoQuote) sqlf(out, "quote=\"%s\", ", sqlTextValue(p.quote, kQuoteColumn).c_str());
}

// What a new row holds: every column the game's figure (the accuracy
// totals the sum of the weapons').
void writeFirstFigures(std::string& out, const Q3Player& p, int totals) {
  const char* separator = "";
  for (const Column& c : playerstats::kColumns) {
    out += separator;
    separator = ", ";
    out += c.name;
    out += '=';
    if (!playerstats::isAccuracyTotal(c)) {
      out += additionOf(c, p, totals);
      continue;
    }
    int sum = 0;
    for (int w = playerstats::kFirstAccuracyWeapon; w <= playerstats::kLastAccuracyWeapon; ++w) {
      sum += playerstats::shareOf(c, p, w);
    }
    out += std::to_string(sum);
  }
}

// The row of a player, in one statement: a new row takes the game's
// figures, a row already there adds them, and keeps the larger streaks. The
// columns' defaults are all 0, so both give what adding to an empty row
// gave.
void writePlayer(std::string& out, const Q3Player& p, int totals) {
  const std::string raw_name = sqlTextValue(p.raw_name, kNameColumn);
  sqlf(out, "INSERT INTO playerstats SET raw_name=\"%s\", ", raw_name.c_str());
  writeTexts(out, p);
  writeFirstFigures(out, p, totals);
  out += " ON DUPLICATE KEY UPDATE ";
  writeTexts(out, p);
  writeAdditions(out, p, totals);
  for (const Column& c : playerstats::kColumns) {
    if (c.adding == playerstats::Adding::kMax) {
      sqlf(out, ", %s=GREATEST(%s, %d)", c.name, c.name, playerstats::figureOf(c, p, totals));
    }
  }
  out += ";\n";
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
