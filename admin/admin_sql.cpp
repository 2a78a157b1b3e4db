#include "admin_sql.h"

#include <string>
#include <vector>

#include "game_record.h"

namespace admin {

namespace {

// playerstats' columns that are sums of the games' figures.
std::vector<std::string> summedColumns() {
  std::vector<std::string> columns;
  for (std::string& c : season::recordFigureColumns()) {
    if (c != "kill_streak" && c != "death_streak") columns.push_back(std::move(c));
  }
  columns.push_back("skill");
  columns.push_back("combat");
  return columns;
}

// Every column of a playerstats row, for copies to and from merged_players.
std::string rowColumns() {
  std::string list = "raw_name, name, model, quote, games, kill_streak, death_streak";
  for (const std::string& c : summedColumns()) list += ", " + c;
  return list;
}

void logAction(std::string& out, const char* action, std::string_view subject, const ActionBy& by) {
  out += std::string("INSERT INTO admin_log SET at=now(), action='") + action + "', subject=" +
         hexLiteral(subject.substr(0, 255)) + ", by_user=" + hexLiteral(std::string_view(by.user).substr(0, 64)) +
         ", server=" + hexLiteral(std::string_view(by.server).substr(0, 64)) + ";\n";
}

// head_to_head for every pair that names a or b, summed again from game_kills.
void resumHeadToHead(std::string& out, const std::string& a, const std::string& b) {
  out += "DELETE FROM head_to_head WHERE killer IN (" + a + ", " + b + ") OR victim IN (" + a + ", " + b + ");\n";
  out += "INSERT INTO head_to_head (killer, victim, kills) SELECT killer, victim, SUM(kills) FROM game_kills "
         "WHERE killer IN (" + a + ", " + b + ") OR victim IN (" + a + ", " + b + ") GROUP BY killer, victim;\n";
}

}  // namespace

std::string hexLiteral(std::string_view text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "X'";
  for (unsigned char c : text) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out + "'";
}

std::string deleteGameScript(std::int64_t id, bool recount, const ActionBy& by) {
  const std::string game = std::to_string(id);
  const std::vector<std::string> summed = summedColumns();
  std::string out = "START TRANSACTION;\n";
  out += "SELECT id FROM games WHERE id=" + game + " FOR UPDATE;\n";
  // The game's players, and what the game added to each.
  out += "CREATE TEMPORARY TABLE ks_game_figures AS SELECT raw_name, COUNT(*) AS games";
  for (const std::string& c : summed) out += ", SUM(" + c + ") AS " + c;
  out += " FROM game_players WHERE game_id=" + game + " GROUP BY raw_name;\n";
  out += "UPDATE playerstats s JOIN ks_game_figures g ON g.raw_name=s.raw_name SET s.games=s.games-g.games";
  for (const std::string& c : summed) out += ", s." + c + "=s." + c + "-g." + c;
  out += ";\n";
  // head_to_head before the game's kills go.
  out += "UPDATE head_to_head h JOIN game_kills k ON k.killer=h.killer AND k.victim=h.victim "
         "SET h.kills=h.kills-k.kills WHERE k.game_id=" + game + ";\n";
  out += "DELETE h FROM head_to_head h JOIN game_kills k ON k.killer=h.killer AND k.victim=h.victim "
         "WHERE k.game_id=" + game + " AND h.kills<=0;\n";
  if (recount) {
    out += "DELETE c FROM countedgames c JOIN games g ON g.fingerprint=c.fingerprint WHERE g.id=" + game + ";\n";
  } else {
    out += "UPDATE countedgames c JOIN games g ON g.fingerprint=c.fingerprint SET c.deleted=1 WHERE g.id=" + game +
           ";\n";
  }
  out += "DELETE FROM game_kills WHERE game_id=" + game + ";\n";
  out += "DELETE FROM game_players WHERE game_id=" + game + ";\n";
  out += "DELETE FROM games WHERE id=" + game + ";\n";
  // The streaks from the remaining records, where they are all there is.
  out += "CREATE TEMPORARY TABLE ks_remaining AS SELECT p.raw_name, COUNT(*) AS games, MAX(p.kill_streak) AS "
         "kill_streak, MAX(p.death_streak) AS death_streak FROM game_players p JOIN ks_game_figures g ON "
         "g.raw_name=p.raw_name GROUP BY p.raw_name;\n";
  out += "UPDATE playerstats s JOIN ks_game_figures g ON g.raw_name=s.raw_name LEFT JOIN ks_remaining r ON "
         "r.raw_name=s.raw_name SET s.kill_streak=COALESCE(r.kill_streak, 0), s.death_streak=COALESCE(r.death_streak, "
         "0) WHERE s.games=COALESCE(r.games, 0);\n";
  out += "DELETE s FROM playerstats s JOIN ks_game_figures g ON g.raw_name=s.raw_name WHERE s.games<=0;\n";
  out += "DROP TEMPORARY TABLE ks_game_figures, ks_remaining;\n";
  logAction(out, recount ? "delete-game --recount" : "delete-game", game, by);
  out += "COMMIT;\n";
  return out;
}

std::string mergeScript(std::string_view from_name, std::string_view into_name, const ActionBy& by) {
  const std::string from = hexLiteral(from_name);
  const std::string into = hexLiteral(into_name);
  const std::string both = "(" + from + ", " + into + ")";
  std::string out = "START TRANSACTION;\n";
  out += "SELECT raw_name FROM playerstats WHERE raw_name IN " + both + " FOR UPDATE;\n";
  out += "DELETE FROM player_aliases WHERE alias=" + from + ";\n";
  out += "INSERT INTO player_aliases (alias, player, merged, last_game, into_existed, into_kill_streak, "
         "into_death_streak) SELECT " + from + ", " + into +
         ", now(), (SELECT COALESCE(MAX(id), 0) FROM games), 1, kill_streak, death_streak FROM playerstats "
         "WHERE raw_name=" + into + ";\n";
  out += "UPDATE player_aliases SET player=" + into + " WHERE player=" + from + ";\n";
  const std::string columns = rowColumns();
  out += "DELETE FROM merged_players WHERE raw_name=" + from + ";\n";
  out += "INSERT INTO merged_players (" + columns + ") SELECT " + columns + " FROM playerstats WHERE raw_name=" +
         from + ";\n";
  out += "DELETE FROM merged_kills WHERE alias=" + from + ";\n";
  out += "INSERT INTO merged_kills (alias, game_id, killer, victim, kills) SELECT " + from +
         ", k.game_id, k.killer, k.victim, k.kills FROM game_kills k WHERE k.game_id IN (SELECT game_id FROM "
         "game_players WHERE raw_name=" + from + ") AND (k.killer IN " + both + " OR k.victim IN " + both + ");\n";
  out += "UPDATE playerstats i JOIN playerstats f ON f.raw_name=" + from + " SET i.games=i.games+f.games";
  for (const std::string& c : summedColumns()) out += ", i." + c + "=i." + c + "+f." + c;
  out += ", i.kill_streak=GREATEST(i.kill_streak, f.kill_streak), i.death_streak=GREATEST(i.death_streak, "
         "f.death_streak) WHERE i.raw_name=" + into + ";\n";
  out += "DELETE FROM playerstats WHERE raw_name=" + from + ";\n";
  out += "UPDATE game_players SET played_as=COALESCE(played_as, raw_name), raw_name=" + into + " WHERE raw_name=" +
         from + ";\n";
  out += "INSERT INTO game_kills (game_id, killer, victim, kills) SELECT k.game_id, IF(k.killer=" + from + ", " +
         into + ", k.killer), IF(k.victim=" + from + ", " + into + ", k.victim), k.kills FROM game_kills k WHERE "
         "k.killer=" + from + " OR k.victim=" + from + " ON DUPLICATE KEY UPDATE kills=game_kills.kills+VALUES(kills);\n";
  // One player does not kill itself in the kill tables.
  out += "DELETE FROM game_kills WHERE killer=" + from + " OR victim=" + from + " OR (killer=" + into +
         " AND victim=" + into + ");\n";
  resumHeadToHead(out, from, into);
  std::string subject(from_name);
  subject += " -> ";
  subject += into_name;
  logAction(out, "merge-players", subject, by);
  out += "COMMIT;\n";
  return out;
}

std::string unmergeScript(std::string_view from_name, std::string_view into_name, const ActionBy& by) {
  const std::string from = hexLiteral(from_name);
  const std::string into = hexLiteral(into_name);
  std::string out = "START TRANSACTION;\n";
  out += "SELECT alias FROM player_aliases WHERE alias=" + from + " FOR UPDATE;\n";
  out += "SELECT last_game, into_existed, into_kill_streak, into_death_streak INTO @ks_last, @ks_existed, "
         "@ks_kill_streak, @ks_death_streak FROM player_aliases WHERE alias=" + from + ";\n";
  out += "UPDATE playerstats i JOIN merged_players f ON f.raw_name=" + from + " SET i.games=i.games-f.games";
  for (const std::string& c : summedColumns()) out += ", i." + c + "=i." + c + "-f." + c;
  out += " WHERE i.raw_name=" + into + ";\n";
  out += "UPDATE game_players SET raw_name=" + from + ", played_as=NULL WHERE raw_name=" + into + " AND played_as=" +
         from + ";\n";
  // into's streaks: its own before the merge, its games since, and the
  // players merged into it but `from`.
  for (const char* streak : {"kill_streak", "death_streak"}) {
    const std::string s = streak;
    out += "SET @ks_" + s + "=GREATEST(@ks_" + s + ", COALESCE((SELECT MAX(" + s + ") FROM game_players WHERE " +
           "raw_name=" + into + " AND game_id>@ks_last), 0), COALESCE((SELECT MAX(m." + s + ") FROM merged_players m " +
           "JOIN player_aliases a ON a.alias=m.raw_name WHERE a.player=" + into + " AND a.alias<>" + from + "), 0));\n";
  }
  out += "UPDATE playerstats SET kill_streak=@ks_kill_streak, death_streak=@ks_death_streak WHERE raw_name=" + into +
         ";\n";
  out += "DELETE FROM playerstats WHERE raw_name=" + into + " AND games<=0 AND @ks_existed=0;\n";
  const std::string columns = rowColumns();
  out += "INSERT INTO playerstats (" + columns + ") SELECT " + columns + " FROM merged_players WHERE raw_name=" +
         from + ";\n";
  out += "DELETE FROM merged_players WHERE raw_name=" + from + ";\n";
  out += "DELETE FROM game_kills WHERE game_id IN (SELECT game_id FROM merged_kills WHERE alias=" + from +
         ") AND (killer=" + into + " OR victim=" + into + ");\n";
  out += "INSERT INTO game_kills (game_id, killer, victim, kills) SELECT m.game_id, m.killer, m.victim, m.kills FROM "
         "merged_kills m WHERE m.alias=" + from + " ON DUPLICATE KEY UPDATE kills=VALUES(kills);\n";
  resumHeadToHead(out, from, into);
  out += "DELETE FROM merged_kills WHERE alias=" + from + ";\n";
  out += "DELETE FROM player_aliases WHERE alias=" + from + ";\n";
  logAction(out, "unmerge-player", from_name, by);
  out += "COMMIT;\n";
  return out;
}

std::string hideScript(std::string_view raw_name, const ActionBy& by) {
  std::string out = "START TRANSACTION;\n";
  out += "INSERT IGNORE INTO hidden_players SET raw_name=" + hexLiteral(raw_name) + ", hidden=now();\n";
  logAction(out, "hide-player", raw_name, by);
  return out + "COMMIT;\n";
}

std::string unhideScript(std::string_view raw_name, const ActionBy& by) {
  std::string out = "START TRANSACTION;\n";
  out += "DELETE FROM hidden_players WHERE raw_name=" + hexLiteral(raw_name) + ";\n";
  logAction(out, "unhide-player", raw_name, by);
  return out + "COMMIT;\n";
}

}  // namespace admin
