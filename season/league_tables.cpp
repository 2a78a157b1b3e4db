#include "league_tables.h"

#include "schema_migration.h"

namespace season {

std::string leagueTablesScript() {
  std::string out;
  out += "CREATE TABLE IF NOT EXISTS player_aliases(alias VARBINARY(50) NOT NULL PRIMARY KEY, "
         "player VARBINARY(50) NOT NULL, merged DATETIME NOT NULL, last_game INT UNSIGNED NOT NULL DEFAULT 0, "
         "into_existed TINYINT NOT NULL DEFAULT 1, into_kill_streak INT NOT NULL DEFAULT 0, "
         "into_death_streak INT NOT NULL DEFAULT 0, KEY by_player (player)) ENGINE=InnoDB;\n";
  out += "CREATE TABLE IF NOT EXISTS merged_players LIKE playerstats;\n";
  out += "CREATE TABLE IF NOT EXISTS merged_kills(alias VARBINARY(50) NOT NULL, game_id INT UNSIGNED NOT NULL, "
         "killer VARBINARY(50) NOT NULL, victim VARBINARY(50) NOT NULL, kills INT NOT NULL, "
         "PRIMARY KEY (alias, game_id, killer, victim)) ENGINE=InnoDB;\n";
  out += "CREATE TABLE IF NOT EXISTS hidden_players(raw_name VARBINARY(50) NOT NULL PRIMARY KEY, "
         "hidden DATETIME NOT NULL) ENGINE=InnoDB;\n";
  out += "CREATE TABLE IF NOT EXISTS admin_log(id INT UNSIGNED NOT NULL AUTO_INCREMENT PRIMARY KEY, "
         "at DATETIME NOT NULL, action VARCHAR(32) NOT NULL, subject VARBINARY(255) NOT NULL DEFAULT \"\", "
         "by_user VARBINARY(64) NOT NULL DEFAULT \"\", server VARBINARY(64) NOT NULL DEFAULT \"\") ENGINE=InnoDB;\n";
  // Tables of earlier versions. Two servers may find a column missing at
  // once: the second one's ALTER then finds it there, and does nothing.
  writeMigration(out, lacksColumn("countedgames", "deleted").c_str(),
                 "ALTER TABLE countedgames ADD COLUMN IF NOT EXISTS deleted TINYINT NOT NULL DEFAULT 0");
  writeMigration(out, lacksColumn("game_players", "played_as").c_str(),
                 "ALTER TABLE game_players ADD COLUMN IF NOT EXISTS played_as VARBINARY(50) NULL");
  return out;
}

}  // namespace season
