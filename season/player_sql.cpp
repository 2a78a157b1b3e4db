#include "player_sql.h"

#include <cstdarg>
#include <string>

#include "kills.h"
#include "players.h"
#include "season_config.h"
#include "shell_command.h"
#include "text.h"

namespace season {

std::FILE* fp_sql = nullptr;

namespace {

// Text column sizes of the playerstats table: texts are cut to fit, the same
// way in every statement, so a long name still keys one row and a long quote
// never aborts the script.
constexpr std::size_t kNameColumn = 50;
constexpr std::size_t kQuoteColumn = 255;

// Writes a formatted fragment to the script.
void sqlf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void sqlf(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n >= static_cast<int>(sizeof text)) {
    // Longer than the buffer: format again into a string of the right size.
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(big.data(), big.size(), format, args);
    va_end(args);
    big.resize(static_cast<std::size_t>(n));
    sqlWr(big);
    return;
  }
  if (n > 0) sqlWr({text, static_cast<std::size_t>(n)});
}

std::string cut(std::string_view text, std::size_t column) { return std::string(text.substr(0, column)); }

// Weapons of the accuracy columns, MG to BFG (weapon numbers 1..8).
constexpr const char* kAccuracyColumns[] = {"MG", "SG", "GL", "RL", "LG", "RG", "PG", "BFG"};

// Weapons of the kills_ and deaths_ columns, in column order.
struct WeaponColumn {
  const char* suffix;
  int weapon;
};
constexpr WeaponColumn kWeaponColumns[] = {
    {"G", kGauntlet},   {"MG", kMachineGun}, {"SG", kShotGun},     {"GL", kGrenadeLauncher},
    {"RL", kRocketLauncher}, {"LG", kLightningGun}, {"RG", kRailGun}, {"PG", kPlasmaGun},
    {"BFG", kBfg},      {"TF", kTeleFrag},   {"NG", kNailGun},     {"GH", kGrapple},
};

void writeSchema() {
  const char* db = g_config_db_name.c_str();
  sqlf("CREATE DATABASE IF NOT EXISTS %s;\n", db);
  sqlf("USE %s;\n", db);
  sqlWr("CREATE TABLE IF NOT EXISTS miscstats(variable VARCHAR(50) PRIMARY KEY, value VARCHAR(50) DEFAULT \" \");\n");
  sqlWr("INSERT IGNORE INTO miscstats SET variable=\"time\";");
  sqlWr("UPDATE miscstats SET value=now() where variable=\"time\";");
  // Tags and raw names compare byte for byte: "ALICE" and "Alice" are two.
  sqlWr("CREATE TABLE IF NOT EXISTS clanstats(tag VARCHAR(50) BINARY PRIMARY KEY, stat FLOAT(2) DEFAULT 0.0);\n");
  sqlWr("CREATE TABLE IF NOT EXISTS gamestats(slot INT PRIMARY KEY DEFAULT 0, html VARCHAR(255));\n");
  sqlf("DELETE FROM gamestats where slot>%d;\n", g_no_of_game_stats);
  for (int slot = 1; slot <= g_no_of_game_stats; ++slot) {
    sqlf("INSERT IGNORE INTO gamestats SET slot=%d, html='%d.html';\n", slot, 1000 + slot);
  }
  sqlWr("CREATE TABLE IF NOT EXISTS playerstats(");
  sqlWr("raw_name VARCHAR(50) BINARY NOT NULL PRIMARY KEY, name VARCHAR(50), ");
  sqlWr("model VARCHAR(50) DEFAULT \" \", quote VARCHAR(255) DEFAULT \" \", ");
  sqlWr("frags INT DEFAULT 0, kills INT DEFAULT 0, deaths INT DEFAULT 0, ");
  sqlWr("suicides INT DEFAULT 0, team_kills INT DEFAULT 0, ");
  sqlWr("kill_streak INT DEFAULT 0, death_streak INT DEFAULT 0, ");
  sqlWr("damage_given INT DEFAULT 0, damage_recvd INT DEFAULT 0, ");
  for (const char* w : kAccuracyColumns) {
    sqlf("accuracy_%s_hits INT DEFAULT 0, accuracy_%s_attempts INT DEFAULT 0, ", w, w);
  }
  sqlWr("accuracy_total_hits INT DEFAULT 0, accuracy_total_attempts INT DEFAULT 0, ");
  sqlWr("item_mega INT DEFAULT 0, item_health INT DEFAULT 0, ");
  sqlWr("item_health_small INT DEFAULT 0, item_health_large INT DEFAULT 0, ");
  sqlWr("item_ra INT DEFAULT 0, item_ya INT DEFAULT 0, ");
  sqlWr("item_shard INT DEFAULT 0, item_regen INT DEFAULT 0, ");
  sqlWr("item_haste INT DEFAULT 0, item_quad INT DEFAULT 0, ");
  sqlWr("skill FLOAT(2) DEFAULT 0.00, combat FLOAT(2) DEFAULT 0.00, ");
  for (const char* table : {"kills", "deaths"}) {
    sqlf("%s_G  INT DEFAULT 0, %s_MG INT DEFAULT 0, %s_SG INT DEFAULT 0, %s_GL INT DEFAULT 0, ", table, table, table,
         table);
    sqlf("%s_RL INT DEFAULT 0, %s_LG INT DEFAULT 0, %s_RG INT DEFAULT 0, %s_PG INT DEFAULT 0, ", table, table, table,
         table);
    sqlf("%s_BFG INT DEFAULT 0, %s_TF INT DEFAULT 0, ", table, table);
    sqlf("%s_NG INT DEFAULT 0, %s_GH INT DEFAULT 0, ", table, table);
  }
  sqlWr("games INT DEFAULT 0, ");
  sqlWr("ctf_base_defends INT DEFAULT 0, ctf_flag_returns INT DEFAULT 0, ctf_fc_defends INT DEFAULT 0, "
        "ctf_fc_defends_aggressive INT DEFAULT 0,");
  sqlWr("ctf_flag_caps INT DEFAULT 0, ctf_flag_touches INT DEFAULT 0, ctf_efc_kills INT DEFAULT 0, ");
  sqlWr("ctf_assist_efc_kills INT DEFAULT 0, ctf_assist_flag_returns INT DEFAULT 0, ");
  sqlWr("ctf_flag_hold_kills INT DEFAULT 0");
  sqlWr(");\n");
}

// The UPDATE that adds one player's game to the row.
void writePlayerUpdate(const Q3Player& p, const std::string& raw_name, int totals) {
  sqlWr("UPDATE playerstats SET ");
  sqlf("name=\"%s\", ", cut(p.name, kNameColumn).c_str());
  if (!p.model.empty()) sqlf("model=\"%s\", ", cut(p.model, kNameColumn).c_str());
  if (p.quote.view() != kNoQuote) sqlf("quote=\"%s\", ", cut(p.quote, kQuoteColumn).c_str());
  sqlf(" frags=frags + %d, kills=kills + %d, ", p.frags, p.kills);
  sqlf(" deaths=deaths+%d, suicides=suicides+%d, ", p.deaths, p.suicides);
  sqlf(" team_kills=team_kills+%d, ", p.team_kills);
  sqlf("damage_given=damage_given+%d, damage_recvd=damage_recvd+%d, ", p.damage_given, p.damage_recvd);
  for (int w = 1; w <= 8; ++w) {
    const char* c = kAccuracyColumns[w - 1];
    sqlf("accuracy_%s_hits=accuracy_%s_hits + %d, accuracy_%s_attempts=accuracy_%s_attempts+ %d, ", c, c,
         p.accuracy_hits[w], c, c, p.accuracy_attempts[w - 1]);
  }
  // One assignment per weapon: the server applies them left to right, so the
  // totals grow by the sum of the eight weapons.
  for (int w = 1; w <= 8; ++w) {
    sqlf("accuracy_total_hits=accuracy_total_hits + %d, accuracy_total_attempts=accuracy_total_attempts+ %d, ",
         p.accuracy_hits[w], p.accuracy_attempts[w - 1]);
  }
  sqlf("item_mega=item_mega + %d, item_health=item_health + %d, ", p.item_mega, p.item_health);
  sqlf("item_health_small=item_health_small + %d, item_health_large=item_health_large + %d, ", p.item_health_small,
       p.item_health_large);
  sqlf("item_ra=item_ra + %d, item_ya=item_ya + %d, ", p.item_ra, p.item_ya);
  sqlf("item_shard=item_shard + %d, item_regen=item_regen + %d, ", p.item_shard, p.item_regen);
  sqlf("item_haste=item_haste + %d, item_quad=item_quad + %d, ", p.item_haste, p.item_quad);
  sqlf(" skill=skill+%0.2f, combat=combat+%0.2f, ", p.skill, p.combat);
  sqlf("kills_G = kills_G+%d, ", p.kills_by_weapon[kGauntlet][totals]);
  for (const WeaponColumn& c : kWeaponColumns) {
    if (c.weapon == kGauntlet) continue;
    sqlf("kills_%s=kills_%s+%d, ", c.suffix, c.suffix, p.kills_by_weapon[c.weapon][totals]);
  }
  for (const WeaponColumn& c : kWeaponColumns) {
    sqlf("deaths_%s=deaths_%s+%d, ", c.suffix, c.suffix, p.deaths_by_weapon[c.weapon][totals]);
  }
  sqlWr("games=games+1, ");
  sqlf("ctf_base_defends=ctf_base_defends+%d, ", p.ctf_base_defends);
  sqlf("ctf_flag_returns=ctf_flag_returns+%d, ", p.ctf_flag_returns);
  sqlf("ctf_fc_defends=ctf_fc_defends+%d, ", p.ctf_fc_defends);
  sqlf("ctf_fc_defends_aggressive=ctf_fc_defends_aggressive+%d, ", p.ctf_fc_defends_aggressive);
  sqlf("ctf_flag_caps=ctf_flag_caps+%d, ", p.ctf_flag_caps);
  sqlf("ctf_flag_touches=ctf_flag_touches+%d, ", p.ctf_flag_touches);
  sqlf("ctf_efc_kills=ctf_efc_kills+%d, ", p.ctf_efc_kills);
  sqlf("ctf_assist_efc_kills=ctf_assist_efc_kills+%d, ", p.ctf_assist_efc_kills);
  sqlf("ctf_assist_flag_returns=ctf_assist_flag_returns+%d, ", p.ctf_assist_flag_returns);
  sqlf("ctf_flag_hold_kills=ctf_flag_hold_kills+%d ", p.ctf_flag_hold_kills);
  sqlf(" WHERE raw_name=\"%s\";\n", raw_name.c_str());
}

void writePlayer(const Q3Player& p, int totals) {
  std::string raw_name = cut(p.raw_name, kNameColumn);
  sqlf("INSERT IGNORE INTO playerstats SET raw_name=\"%s\";\n", raw_name.c_str());
  writePlayerUpdate(p, raw_name, totals);
  sqlf("UPDATE playerstats SET kill_streak=%d WHERE raw_name=\"%s\" AND %d>kill_streak;\n", p.kill_streak,
       raw_name.c_str(), p.kill_streak);
  sqlf("UPDATE playerstats SET death_streak=%d WHERE raw_name=\"%s\" AND %d>death_streak;\n", p.death_streak,
       raw_name.c_str(), p.death_streak);
}

void replaceApostrophes(FixedText& text) {
  while (strReplace(text, "'", "_") == 1) {
  }
}

}  // namespace

void updateItems(std::string_view line) {
  if (!contains(line, " picked up the item ")) return;
  Q3Player& p = q3players[getVictim(line)];
  if (contains(line, " item_armor_shard")) p.item_shard += 1;
  else if (contains(line, " item_armor_combat")) p.item_ya += 1;
  else if (contains(line, " item_armor_body")) p.item_ra += 1;
  else if (contains(line, " item_health_mega")) p.item_mega += 1;
  else if (contains(line, " item_health_small")) p.item_health_small += 1;
  else if (contains(line, " item_health_large")) p.item_health_large += 1;
  else if (contains(line, " item_health")) p.item_health += 1;
  else if (contains(line, " item_regen")) p.item_regen += 1;
  else if (contains(line, " item_haste")) p.item_haste += 1;
  else if (contains(line, " item_quad")) p.item_quad += 1;
}

void sqlWr(std::string_view text) {
  if (fp_sql == nullptr) fp_sql = std::fopen("db_sql.txt", "w");
  if (fp_sql != nullptr) std::fwrite(text.data(), 1, text.size(), fp_sql);
}

void sqlVerifyData() {
  for (int i = 0, n = getTotalPlayers(); i < n; ++i) {
    replaceApostrophes(q3players[i].raw_name);
    replaceApostrophes(q3players[i].name);
    replaceApostrophes(q3players[i].quote);
  }
}

void sqlMake() {
  int n = getTotalPlayers();
  sqlVerifyData();
  writeSchema();
  for (int i = 0; i < n; ++i) {
    const Q3Player& p = q3players[i];
    if (p.skill > 0 || p.kills > 0 || p.deaths > 0 || p.suicides > 0) writePlayer(p, n);
  }
  fpclose(fp_sql);
  std::printf("\n - Updating database\n");
  std::string db = quotedValue(g_config_db_name);
  runCommand("mysql " + mysqlLogin() + " -e \"use " + db + ";select html from gamestats where slot>" +
             std::to_string(g_no_of_game_stats) + ";\" >> db_cleanhtml.txt");
  runCommand("mysql " + mysqlLogin() + " < db_sql.txt > tmp-s");
}

}  // namespace season
