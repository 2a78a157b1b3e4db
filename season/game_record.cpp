#include "game_record.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "config_file.h"
#include "game.h"
#include "player.h"
#include "player_columns.h"
#include "players.h"
#include "scoring.h"
#include "season_config.h"
#include "sql_literal.h"

namespace season {

namespace {

// Column sizes, as in playerstats and countedgames.
constexpr std::size_t kNameColumn = 50;
constexpr std::size_t kLogColumn = 255;
constexpr std::size_t kMapColumn = 64;
constexpr std::size_t kEndedColumn = 32;

constexpr const char* kGameTypes[] = {"ffa", "tdm", "ctf", "ca"};
using playerstats::Column;

// The whole-number figures of a game_players row: every column of
// playerstats but the ratings, which the row has as fractions of its own,
// and the games.
bool isRecordFigure(const Column& c) {
  return !playerstats::isRating(c) && c.adding != playerstats::Adding::kOnePerGame;
}

// A text as a literal in double quotes, cut to its column.
std::string quoted(std::string_view text, std::size_t column) { return "\"" + sqlTextValue(text, column) + "\""; }

std::string numberOrNull(int value) { return value < 0 ? "NULL" : std::to_string(value); }

// The played time as a literal when it has exactly the form
// "YYYY-MM-DD HH:MM:SS"; NULL otherwise.
std::string playedValue(std::string_view played) {
  static constexpr std::string_view kForm = "dddd-dd-dd dd:dd:dd";
  if (played.size() != kForm.size()) return "NULL";
  for (std::size_t i = 0; i < kForm.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(played[i])) != 0;
    if (kForm[i] == 'd' ? !digit : played[i] != kForm[i]) return "NULL";
  }
  return "'" + std::string(played) + "'";
}

std::string_view fileNameOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The players the game adds to the totals, by index.
std::vector<int> recordedPlayers(const Game& game) {
  std::vector<int> players;
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    if (addsToTotals(game.q3players[i])) players.push_back(i);
  }
  return players;
}

// Places by frags, 1 the most; players with the same frags share a place.
std::vector<int> placesOf(const Game& game, const std::vector<int>& players) {
  std::vector<int> places;
  for (int i : players) {
    int place = 1;
    for (int j : players) place += game.q3players[j].frags > game.q3players[i].frags ? 1 : 0;
    places.push_back(place);
  }
  return places;
}

struct Outcome {
  std::string winner_team = "NULL";  // literal
  std::string winner = "NULL";       // literal
};

// "won", "lost" or "draw" for a player; "" for one outside both teams of a
// team game.
const char* resultOf(const Game& game, const Q3Player& p, int place, int sharing_first, int red, int blue) {
  if (game.gametype == kFreeForAll) {
    if (place != 1) return "lost";
    return sharing_first > 1 ? "draw" : "won";
  }
  if (p.team != kRed && p.team != kBlue) return "";
  if (red == blue) return "draw";
  return (red > blue) == (p.team == kRed) ? "won" : "lost";
}

void writeGameRow(std::string& out, const Game& game, const SeasonConfig& config, const GameOrigin& origin,
                  const std::vector<int>& players, const std::vector<int>& places) {
  const bool teams = game.gametype != kFreeForAll;
  const int red = teams ? teamScore(game, kRed) : -1;
  const int blue = teams ? teamScore(game, kBlue) : -1;
  Outcome outcome;
  if (teams) {
    outcome.winner_team = red == blue ? "'draw'" : red > blue ? "'red'" : "'blue'";
  } else {
    int first = -1;
    int sharing = 0;
    for (std::size_t k = 0; k < players.size(); ++k) {
      if (places[k] != 1) continue;
      first = players[k];
      ++sharing;
    }
    if (sharing == 1) outcome.winner = quoted(game.q3players[first].raw_name, kNameColumn);
  }
  const std::string played = playedValue(game.facts.played);
  const int type = static_cast<int>(game.gametype);
  out += "INSERT INTO games SET fingerprint='" + origin.fingerprint + "', server='" +
         sqlTextValue(config.server, kServerNameBytes) + "', log=" + quoted(fileNameOf(origin.log), kLogColumn) +
         ", played=" + played + ", counted=now(), listed=" + (played == "NULL" ? "now()" : played) +
         ", map=" + quoted(game.mapname, kMapColumn) + ", type='" + kGameTypes[type] +
         "', duration=" + numberOrNull(game.facts.duration) + ", ended=" + quoted(game.facts.ended, kEndedColumn) +
         ", red_score=" + (teams ? std::to_string(red) : "NULL") +
         ", blue_score=" + (teams ? std::to_string(blue) : "NULL") + ", players=" + std::to_string(players.size()) +
         ", winner_team=" + outcome.winner_team + ", winner=" + outcome.winner + ";\n";
  out += "SET @ks_game=LAST_INSERT_ID();\n";
}

void writePlayerRows(std::string& out, const Game& game, const std::vector<int>& players,
                     const std::vector<int>& places) {
  if (players.empty()) return;
  const int totals = getTotalPlayers(game);
  const bool teams = game.gametype != kFreeForAll;
  const int red = teams ? teamScore(game, kRed) : 0;
  const int blue = teams ? teamScore(game, kBlue) : 0;
  int sharing_first = 0;
  for (int place : places) sharing_first += place == 1 ? 1 : 0;

  out += "INSERT INTO game_players (game_id, slot, raw_name, name, team, result, place, skill, combat";
  for (const std::string& column : recordFigureColumns()) out += ", " + column;
  out += ") VALUES\n";
  for (std::size_t k = 0; k < players.size(); ++k) {
    const Q3Player& p = game.q3players[players[k]];
    char ratings[64];
    std::snprintf(ratings, sizeof ratings, "%0.2f, %0.2f", p.skill, p.combat);
    out += k == 0 ? "(" : ",\n(";
    out += "@ks_game, " + std::to_string(players[k]) + ", " + quoted(p.raw_name, kNameColumn) + ", " +
           quoted(p.name, kNameColumn) + ", '" + std::string(teamWord(p.team)) + "', '" +
           resultOf(game, p, places[k], sharing_first, red, blue) + "', " + std::to_string(places[k]) + ", " +
           ratings;
    for (const Column& c : playerstats::kColumns) {
      if (isRecordFigure(c)) out += ", " + std::to_string(playerstats::figureOf(c, p, totals));
    }
    out += ")";
  }
  out += ";\n";
}

// The names the merged players played under.
void writePlayedAs(std::string& out, const std::vector<int>& players, const std::vector<PlayedAs>& played_as) {
  for (const PlayedAs& renamed : played_as) {
    if (std::find(players.begin(), players.end(), renamed.slot) == players.end()) continue;
    out += "UPDATE game_players SET played_as=" + quoted(renamed.name, kNameColumn) +
           " WHERE game_id=@ks_game AND slot=" + std::to_string(renamed.slot) + ";\n";
  }
}

// Who killed whom: the totals row of each recorded player's kill table,
// others only (a name shared by two slots counts as the player itself, as
// in the totals).
void writeKillRows(std::string& out, const Game& game, const std::vector<int>& players) {
  // Sorted by the quoted names: every run takes the head_to_head rows' locks
  // in one order, so two servers writing at once wait for each other rather
  // than deadlock.
  std::vector<std::pair<std::string, int>> pairs;  // "'killer', 'victim'", kills
  for (int killer : players) {
    const Q3Player& k = game.q3players[killer];
    for (int victim : players) {
      const Q3Player& v = game.q3players[victim];
      const int kills = k.kills_by_weapon[kAllWeapons][victim];
      if (kills <= 0 || k.raw_name.view() == v.raw_name.view()) continue;
      pairs.emplace_back(quoted(k.raw_name, kNameColumn) + ", " + quoted(v.raw_name, kNameColumn), kills);
    }
  }
  if (pairs.empty()) return;
  std::sort(pairs.begin(), pairs.end());
  std::string game_rows;
  std::string season_rows;
  for (const auto& [names, kills] : pairs) {
    const char* separator = game_rows.empty() ? "(" : ",\n(";
    game_rows += separator + ("@ks_game, " + names) + ", " + std::to_string(kills) + ")";
    season_rows += separator + names + ", " + std::to_string(kills) + ")";
  }
  // Two slots of one name (cut to the column) make one pair.
  out += "INSERT INTO game_kills (game_id, killer, victim, kills) VALUES\n" + game_rows +
         "\nON DUPLICATE KEY UPDATE kills=kills+VALUES(kills);\n";
  out += "INSERT INTO head_to_head (killer, victim, kills) VALUES\n" + season_rows +
         "\nON DUPLICATE KEY UPDATE kills=kills+VALUES(kills);\n";
}

}  // namespace

std::vector<PlayedAs> applyAliases(Game& game, const std::unordered_map<std::string, std::string>& aliases) {
  std::vector<PlayedAs> changed;
  if (aliases.empty()) return changed;
  for (int i = 0, n = getTotalPlayers(game); i < n; ++i) {
    Q3Player& p = game.q3players[i];
    const std::string stored(p.raw_name.view().substr(0, kNameColumn));
    auto found = aliases.find(stored);
    if (found == aliases.end()) continue;
    changed.push_back(PlayedAs{i, stored});
    p.raw_name.assign(found->second);
  }
  return changed;
}

std::vector<std::string> recordFigureColumns() {
  std::vector<std::string> columns;
  for (const Column& c : playerstats::kColumns) {
    if (isRecordFigure(c)) columns.push_back(c.name);
  }
  return columns;
}

bool addsToTotals(const Q3Player& p) {
  return !p.left_out && (p.skill > 0 || p.kills > 0 || p.deaths > 0 || p.suicides > 0);
}

std::string recordTablesScript() {
  std::string out;
  // listed: the played time, or the counted time when the log does not say;
  // the order of every list of games. The fingerprint is not unique: with
  // count_games_once off a game read twice is counted, and recorded, twice.
  out += "CREATE TABLE IF NOT EXISTS games(id INT UNSIGNED NOT NULL AUTO_INCREMENT PRIMARY KEY, "
         "fingerprint CHAR(64) NOT NULL, server VARBINARY(64) NOT NULL DEFAULT \"\", "
         "log VARBINARY(255) NOT NULL DEFAULT \"\", played DATETIME NULL, counted DATETIME NOT NULL, "
         "listed DATETIME NOT NULL, map VARBINARY(64) NOT NULL DEFAULT \"\", type VARCHAR(4) NOT NULL DEFAULT \"ffa\", "
         "duration INT NULL, ended VARBINARY(32) NOT NULL DEFAULT \"\", red_score INT NULL, blue_score INT NULL, "
         "players SMALLINT NOT NULL DEFAULT 0, winner_team VARCHAR(4) NULL, winner VARBINARY(50) NULL, "
         "page VARCHAR(255) NULL, weapon_page VARCHAR(255) NULL, KEY by_fingerprint (fingerprint), "
         "KEY by_listed (listed, id), KEY by_map (map, listed, id)) ENGINE=InnoDB;\n";
  out += "CREATE TABLE IF NOT EXISTS game_players(game_id INT UNSIGNED NOT NULL, slot SMALLINT NOT NULL, "
         "raw_name VARBINARY(50) NOT NULL, name VARBINARY(50) NOT NULL DEFAULT \"\", "
         "team VARCHAR(4) NOT NULL DEFAULT \"none\", result VARCHAR(4) NOT NULL DEFAULT \"\", "
         "place SMALLINT NOT NULL DEFAULT 0, skill FLOAT NOT NULL DEFAULT 0, combat FLOAT NOT NULL DEFAULT 0";
  for (const std::string& column : recordFigureColumns()) out += ", " + column + " INT NOT NULL DEFAULT 0";
  out += ", played_as VARBINARY(50) NULL, PRIMARY KEY (game_id, slot), KEY by_player (raw_name, game_id)) "
         "ENGINE=InnoDB;\n";
  out += "CREATE TABLE IF NOT EXISTS game_kills(game_id INT UNSIGNED NOT NULL, killer VARBINARY(50) NOT NULL, "
         "victim VARBINARY(50) NOT NULL, kills INT NOT NULL, PRIMARY KEY (game_id, killer, victim), "
         "KEY by_killer (killer, victim), KEY by_victim (victim, killer)) ENGINE=InnoDB;\n";
  // The season's sums of game_kills, kept as the games come, so that the
  // site reads one row per pair of players rather than one per game.
  out += "CREATE TABLE IF NOT EXISTS head_to_head(killer VARBINARY(50) NOT NULL, victim VARBINARY(50) NOT NULL, "
         "kills INT NOT NULL, PRIMARY KEY (killer, victim)) ENGINE=InnoDB;\n";
  // Records kept before the sums were: summed once, while head_to_head is
  // empty (the condition is read before any row of game_kills is).
  out += "INSERT IGNORE INTO head_to_head (killer, victim, kills) SELECT killer, victim, SUM(kills) FROM game_kills "
         "WHERE NOT EXISTS (SELECT 1 FROM head_to_head) GROUP BY killer, victim;\n";
  return out;
}

std::string gameRecordStatements(const Game& game, const SeasonConfig& config, const GameOrigin& origin) {
  const std::vector<int> players = recordedPlayers(game);
  const std::vector<int> places = placesOf(game, players);
  std::string out;
  writeGameRow(out, game, config, origin, players, places);
  writePlayerRows(out, game, players, places);
  writePlayedAs(out, players, origin.played_as);
  writeKillRows(out, game, players);
  return out;
}

}  // namespace season
