#include "database_reader.h"

#include <mysql.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "hidden_names.h"
#include "kill_merge.h"
#include "player_columns.h"

namespace site {

namespace {

// Seconds to wait for the server to answer a connection, and for any
// statement's reply: an admin's scheduler should not hang on a dead server.
constexpr unsigned kConnectTimeoutSeconds = 10;
constexpr unsigned kReadTimeoutSeconds = 120;

struct ConnectionCloser {
  void operator()(MYSQL* c) const { mysql_close(c); }
};
struct ResultFreer {
  void operator()(MYSQL_RES* r) const { mysql_free_result(r); }
};
using Connection = std::unique_ptr<MYSQL, ConnectionCloser>;
using Result = std::unique_ptr<MYSQL_RES, ResultFreer>;

// One fetched row; cells are read by position. NULL reads as "" or 0.
class Row {
 public:
  Row(MYSQL_ROW row, const unsigned long* lengths, unsigned fields) : row_(row), lengths_(lengths), fields_(fields) {}

  std::string text(std::size_t i) const { return row_[i] == nullptr ? std::string() : std::string(row_[i], lengths_[i]); }

  bool isNull(std::size_t i) const { return row_[i] == nullptr; }

  std::int64_t integer(std::size_t i) const {
    std::int64_t value = 0;
    if (row_[i] != nullptr) std::from_chars(row_[i], row_[i] + lengths_[i], value);
    return value;
  }

  // A value the server could not have stored (not finite) reads as 0.
  double real(std::size_t i) const {
    double value = 0;
    if (row_[i] != nullptr) std::from_chars(row_[i], row_[i] + lengths_[i], value);
    return std::isfinite(value) ? value : 0;
  }

  // Every byte of the row, NULLs told apart from empty texts, mixed into `h`.
  void mixInto(SourceHash& h) const {
    for (unsigned i = 0; i < fields_; ++i) {
      if (row_[i] == nullptr) {
        h.mixNull();
      } else {
        h.mix(std::string_view(row_[i], lengths_[i]));
      }
    }
  }

 private:
  MYSQL_ROW row_;
  const unsigned long* lengths_;
  unsigned fields_;
};

std::string serverError(MYSQL* c, const char* what) {
  return std::string(what) + ": " + mysql_error(c) + " (error " + std::to_string(mysql_errno(c)) + ")";
}

// The server's error number for a column that does not exist.
constexpr unsigned kUnknownColumn = 1054;
// ... and for a table that does not exist.
constexpr unsigned kUnknownTable = 1146;

// Runs a fixed statement and hands every row of its result to `each`.
template <typename Each>
bool forEachRow(MYSQL* c, const std::string& statement, std::string& error, Each each) {
  if (mysql_real_query(c, statement.data(), statement.size()) != 0) {
    error = serverError(c, "the database refused a query");
    return false;
  }
  Result result(mysql_store_result(c));
  if (!result) {
    error = serverError(c, "reading a query's result failed");
    return false;
  }
  while (MYSQL_ROW row = mysql_fetch_row(result.get())) {
    each(Row(row, mysql_fetch_lengths(result.get()), mysql_num_fields(result.get())));
  }
  return true;
}

// A result read row by row as the server sends it (mysql_use_result): the
// client never holds the whole result, and two connections' results can be
// read side by side. A row's cells are valid until the next call of next().
class RowStream {
 public:
  bool start(MYSQL* c, const std::string& statement, std::string& error) {
    c_ = c;
    if (mysql_real_query(c, statement.data(), statement.size()) != 0) {
      error = serverError(c, "the database refused a query");
      return false;
    }
    result_.reset(mysql_use_result(c));
    if (!result_) {
      error = serverError(c, "reading a query's result failed");
      return false;
    }
    return true;
  }
  // The next row, or none at the end (or on an error: then failed()).
  std::optional<Row> next() {
    if (!result_) return std::nullopt;
    MYSQL_ROW row = mysql_fetch_row(result_.get());
    if (row == nullptr) {
      failed_ = mysql_errno(c_) != 0;
      return std::nullopt;
    }
    return Row(row, mysql_fetch_lengths(result_.get()), mysql_num_fields(result_.get()));
  }
  bool failed(std::string& error) const {
    if (failed_) error = serverError(c_, "reading a query's result failed");
    return failed_;
  }

 private:
  MYSQL* c_ = nullptr;
  Result result_;  // freeing it reads what is left, so the connection takes statements again
  bool failed_ = false;
};

// As forEachRow(), but the rows come one at a time as the server sends them.
// `each` returns false to stop; the rest of the result is then discarded.
template <typename Each>
bool streamRows(MYSQL* c, const std::string& statement, std::string& error, Each each) {
  RowStream rows;
  if (!rows.start(c, statement, error)) return false;
  while (std::optional<Row> r = rows.next()) {
    if (!each(*r)) return false;
  }
  return !rows.failed(error);
}

bool execute(MYSQL* c, const char* statement, std::string& error) {
  if (mysql_query(c, statement) == 0) return true;
  error = serverError(c, "the database refused a statement");
  return false;
}

using playerstats::Figure;

// The site's arrays hold one place for each column of their figure, and
// their names and keys are those of the columns, place by place.
constexpr bool namedAs(Figure figure, std::size_t place, std::string_view prefix, std::string_view key,
                       std::string_view suffix) {
  for (std::size_t i = 0; i < playerstats::kColumnCount; ++i) {
    if (playerstats::kColumns[i].figure != figure || playerstats::placeInFigure(i) != place) continue;
    const std::string_view name = playerstats::kColumns[i].name;
    return name.size() == prefix.size() + key.size() + suffix.size() && name.starts_with(prefix) &&
           name.substr(prefix.size(), key.size()) == key && name.ends_with(suffix);
  }
  return false;
}

constexpr bool rowFitsColumns() {
  for (std::size_t w = 0; w < kWeapons; ++w) {
    if (!namedAs(Figure::kWeaponKills, w, "kills_", kWeaponTable[w].column, "") ||
        !namedAs(Figure::kWeaponDeaths, w, "deaths_", kWeaponTable[w].column, "")) {
      return false;
    }
  }
  for (std::size_t a = 0; a < kAccuracyWeapons; ++a) {
    if (!namedAs(Figure::kAccuracyHits, a, "accuracy_", kAccuracyColumns[a], "_hits") ||
        !namedAs(Figure::kAccuracyAttempts, a, "accuracy_", kAccuracyColumns[a], "_attempts")) {
      return false;
    }
  }
  for (std::size_t i = 0; i < kItems; ++i) {
    if (!namedAs(Figure::kItem, i, "item_", kItemTable[i].key, "")) return false;
  }
  for (std::size_t i = 0; i < kCtfFields; ++i) {
    if (!namedAs(Figure::kCtf, i, "ctf_", kCtfTable[i].key, "")) return false;
  }
  return playerstats::countOf(Figure::kWeaponKills) == kWeapons &&
         playerstats::countOf(Figure::kWeaponDeaths) == kWeapons &&
         playerstats::countOf(Figure::kAccuracyHits) == kAccuracyWeapons &&
         playerstats::countOf(Figure::kAccuracyAttempts) == kAccuracyWeapons &&
         playerstats::countOf(Figure::kItem) == kItems && playerstats::countOf(Figure::kCtf) == kCtfFields;
}
static_assert(rowFitsColumns(), "PlayerRow's arrays or the site's tables do not match playerstats::kColumns");

// The reader's order of the figures, older than the table's: the cells of a
// game are hashed in it (GameRecord::source), and another order would make
// every game's pages anew once. Columns of one rank keep the table's order.
int readingRank(Figure f) {
  switch (f) {
    case Figure::kSkill:
    case Figure::kCombat:
      return 1;
    case Figure::kAccuracyHits:
    case Figure::kAccuracyAttempts:
    case Figure::kTotalHits:
    case Figure::kTotalAttempts:
      return 2;
    case Figure::kWeaponKills:
    case Figure::kWeaponDeaths:
      return 3;
    case Figure::kItem:
      return 4;
    case Figure::kCtf:
      return 5;
    default:
      return 0;  // the counters
  }
}

// A figure column as the reader reads it.
struct ReadColumn {
  const playerstats::Column* column;
  std::size_t place;  // among the columns of its figure
};

// The figure columns shared by playerstats and game_players (all but games),
// in reading order.
const std::vector<ReadColumn>& readColumns() {
  static const std::vector<ReadColumn> columns = [] {
    std::vector<ReadColumn> read;
    for (std::size_t i = 0; i < playerstats::kColumnCount; ++i) {
      const playerstats::Column& c = playerstats::kColumns[i];
      if (c.figure != Figure::kGames) read.push_back({&c, playerstats::placeInFigure(i)});
    }
    std::stable_sort(read.begin(), read.end(), [](const ReadColumn& a, const ReadColumn& b) {
      return readingRank(a.column->figure) < readingRank(b.column->figure);
    });
    return read;
  }();
  return columns;
}

// Where `p` keeps the figure of a whole-number column; nullptr for the
// ratings.
std::int64_t* cellOf(PlayerRow& p, const ReadColumn& c) {
  switch (c.column->figure) {
    case Figure::kFrags: return &p.frags;
    case Figure::kKills: return &p.kills;
    case Figure::kDeaths: return &p.deaths;
    case Figure::kSuicides: return &p.suicides;
    case Figure::kTeamKills: return &p.team_kills;
    case Figure::kKillStreak: return &p.kill_streak;
    case Figure::kDeathStreak: return &p.death_streak;
    case Figure::kDamageGiven: return &p.damage_given;
    case Figure::kDamageRecvd: return &p.damage_recvd;
    case Figure::kItem: return &p.items[c.place];
    case Figure::kCtf: return &p.ctf[c.place];
    case Figure::kGames: return &p.games;
    case Figure::kAccuracyHits: return &p.accuracy[c.place].hits;
    case Figure::kAccuracyAttempts: return &p.accuracy[c.place].attempts;
    case Figure::kTotalHits: return &p.accuracy_total.hits;
    case Figure::kTotalAttempts: return &p.accuracy_total.attempts;
    case Figure::kWeaponKills: return &p.kills_by_weapon[c.place];
    case Figure::kWeaponDeaths: return &p.deaths_by_weapon[c.place];
    case Figure::kSkill:
    case Figure::kCombat:
      break;
  }
  return nullptr;
}

// The columns of readColumns(), each prefixed with `table` ("p." say).
std::string figureColumns(const std::string& table) {
  std::string q;
  for (const ReadColumn& c : readColumns()) {
    if (!q.empty()) q += ", ";
    q += table + c.column->name;
  }
  return q;
}

// Reads the cells of figureColumns() from position `i` on.
void fillFigures(const Row& r, std::size_t i, PlayerRow& p) {
  for (const ReadColumn& c : readColumns()) {
    if (std::int64_t* cell = cellOf(p, c)) {
      *cell = r.integer(i++);
    } else {
      (c.column->figure == Figure::kSkill ? p.skill : p.combat) = r.real(i++);
    }
  }
}

std::string playerQuery() { return "SELECT raw_name, name, model, quote, games, " + figureColumns("") + " FROM playerstats"; }

PlayerRow fillPlayer(const Row& r) {
  PlayerRow p;
  p.raw_name = r.text(0);
  p.name = r.text(1);
  p.model = r.text(2);
  p.quote = r.text(3);
  p.games = r.integer(4);
  fillFigures(r, 5, p);
  return p;
}

// The server's slots. Its name is compared here, byte for byte, so that no
// text of the configuration becomes part of a statement.
bool readSlots(MYSQL* c, const std::string& server, SeasonData& out, std::string& error) {
  if (forEachRow(c, "SELECT server, slot, html FROM gamestats ORDER BY slot", error, [&](const Row& r) {
        if (r.text(0) == server) out.game_slots.push_back({r.integer(1), r.text(2)});
      })) {
    return true;
  }
  if (mysql_errno(c) != kUnknownColumn) return false;
  return forEachRow(c, "SELECT slot, html FROM gamestats ORDER BY slot", error,
                    [&](const Row& r) { out.game_slots.push_back({r.integer(0), r.text(1)}); });
}

bool readTables(MYSQL* c, const std::string& server, bool read_clans, SeasonData& out, std::string& error) {
  if (!forEachRow(c, playerQuery(), error, [&](const Row& r) { out.players.push_back(fillPlayer(r)); })) return false;
  if (!readSlots(c, server, out, error)) return false;
  if (!forEachRow(c, "SELECT value FROM miscstats WHERE variable='time'", error,
                  [&](const Row& r) { out.last_update = r.text(0); })) {
    return false;
  }
  if (!read_clans) return true;
  return forEachRow(c, "SELECT tag, stat FROM clanstats ORDER BY tag", error, [&](const Row& r) {
    ClanRow clan{r.text(0), std::nullopt};
    if (!r.isNull(1)) clan.stat = r.real(1);
    out.clans.push_back(std::move(clan));
  });
}


// The columns of games in the order fillGame() reads them.
constexpr const char* kGameColumns =
    "g.id, g.server, g.log, g.played, g.counted, g.listed, g.map, g.type, g.duration, g.ended, g.red_score, "
    "g.blue_score, g.players, g.winner_team, g.winner, g.page, g.weapon_page";
constexpr std::size_t kGameColumnCount = 17;

std::optional<std::string> optionalText(const Row& r, std::size_t i) {
  if (r.isNull(i)) return std::nullopt;
  return r.text(i);
}

std::optional<std::int64_t> optionalInteger(const Row& r, std::size_t i) {
  if (r.isNull(i)) return std::nullopt;
  return r.integer(i);
}

void fillGame(const Row& r, GameRecord& g) {
  g = GameRecord();
  g.id = r.integer(0);
  g.server = r.text(1);
  g.log = r.text(2);
  g.played = optionalText(r, 3);
  g.counted = r.text(4);
  g.listed = r.text(5);
  g.map = r.text(6);
  g.type = r.text(7);
  g.duration = optionalInteger(r, 8);
  g.ended = r.text(9);
  g.red_score = optionalInteger(r, 10);
  g.blue_score = optionalInteger(r, 11);
  g.player_count = r.integer(12);
  g.winner_team = optionalText(r, 13);
  g.winner = optionalText(r, 14);
  g.page = optionalText(r, 15);
  g.weapon_page = optionalText(r, 16);
}

// Every game newest first, joined with its players. Only the games' columns
// decide the order, so the server can walk the by_listed key and send rows
// as it goes.
std::string gameQuery() {
  return std::string("SELECT ") + kGameColumns + ", p.slot, p.raw_name, p.name, p.team, p.result, p.place, " +
         figureColumns("p.") +
         " FROM games g LEFT JOIN game_players p ON p.game_id = g.id ORDER BY g.listed DESC, g.id DESC";
}

// The kills of every game in the order of gameQuery(), read on a second
// connection alongside it: folding them into the player rows instead (a
// subquery per player row) cost the server more than all the rest together.
constexpr const char* kKillQuery =
    "SELECT STRAIGHT_JOIN g.listed, g.id, k.killer, k.victim, k.kills FROM games g "
    "JOIN game_kills k ON k.game_id = g.id ORDER BY g.listed DESC, g.id DESC";

// The players who asked to be hidden; none in a database without the table.
bool readHiddenNames(MYSQL* c, HiddenNames& hidden, std::string& error) {
  std::vector<std::string> names;
  if (forEachRow(c, "SELECT raw_name FROM hidden_players", error, [&](const Row& r) { names.push_back(r.text(0)); })) {
    hidden = HiddenNames(std::move(names));
    return true;
  }
  if (mysql_errno(c) != kUnknownTable) return false;
  error.clear();
  hidden = HiddenNames();
  return true;
}

void finishGame(GameRecord& g) {
  std::sort(g.players.begin(), g.players.end(),
            [](const GamePlayer& a, const GamePlayer& b) { return a.slot < b.slot; });
}

}  // namespace

struct SeasonDatabase::Connection {
  Connection() : mysql(mysql_init(nullptr)) {}
  ~Connection() {
    if (mysql != nullptr) mysql_close(mysql);
  }
  MYSQL* mysql;
};

bool loginTo(MYSQL* c, const DatabaseLogin& login, std::string& error) {
  if (c == nullptr) {
    error = "out of memory starting the database client";
    return false;
  }
  mysql_optionsv(c, MYSQL_OPT_CONNECT_TIMEOUT, &kConnectTimeoutSeconds);
  mysql_optionsv(c, MYSQL_OPT_READ_TIMEOUT, &kReadTimeoutSeconds);
  mysql_optionsv(c, MYSQL_SET_CHARSET_NAME, "utf8mb4");
  const char* password = login.password.empty() ? nullptr : login.password.c_str();
  if (mysql_real_connect(c, login.host.c_str(), login.user.empty() ? nullptr : login.user.c_str(), password,
                         login.database.c_str(), login.port, login.socket.empty() ? nullptr : login.socket.c_str(),
                         0) == nullptr) {
    error = serverError(c, ("could not connect to database " + login.database + " on " + login.host).c_str());
    return false;
  }
  return true;
}

SeasonDatabase::SeasonDatabase() = default;
SeasonDatabase::~SeasonDatabase() = default;

namespace {

bool openSession(MYSQL* c, const DatabaseLogin& login, std::string& error) {
  if (!loginTo(c, login, error)) return false;
  // The pages are written while the games stream in, slower than the
  // server sends.
  return execute(c, "SET SESSION net_write_timeout = 600", error) &&
         execute(c, "START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY", error);
}

}  // namespace

bool SeasonDatabase::connect(const DatabaseLogin& login, std::string& error) {
  c_ = std::make_unique<Connection>();
  kills_ = std::make_unique<Connection>();
  // The kills' session second: its snapshot holds all of the first one's.
  return openSession(c_->mysql, login, error) && openSession(kills_->mysql, login, error);
}

bool SeasonDatabase::readSeason(const std::string& server, bool read_clans, SeasonData& out, std::string& error) {
  out = SeasonData();
  MYSQL* c = c_->mysql;
  if (!readTables(c, server, read_clans, out, error)) return false;
  if (!readHiddenNames(c, hidden_, error)) return false;
  if (!hidden_.empty()) {
    std::erase_if(out.players, [this](const PlayerRow& p) { return hidden_.isHidden(p.raw_name); });
  }
  has_records_ = true;
  unrecorded_ = 0;
  recorded_ = 0;
  if (forEachRow(c, "SELECT (SELECT COUNT(*) FROM countedgames), (SELECT COUNT(*) FROM games), "
                    "(SELECT COUNT(*) FROM game_players WHERE 0), (SELECT COUNT(*) FROM game_kills WHERE 0)",
                 error, [&](const Row& r) {
                   recorded_ = r.integer(1);
                   unrecorded_ = std::max<std::int64_t>(r.integer(0) - recorded_, 0);
                 })) {
    has_head_to_head_ = forEachRow(c, "SELECT COUNT(*) FROM head_to_head WHERE 0", error, [](const Row&) {});
    if (has_head_to_head_) return true;
    error.clear();
    return mysql_errno(c) == kUnknownTable;
  }
  if (mysql_errno(c) != kUnknownTable) return false;
  // A database of an earlier version: every counted game lacks a record.
  has_records_ = false;
  if (forEachRow(c, "SELECT COUNT(*) FROM countedgames", error,
                 [&](const Row& r) { unrecorded_ = r.integer(0); })) {
    return true;
  }
  return mysql_errno(c) == kUnknownTable;
}

bool SeasonDatabase::finish(std::string& error) {
  return execute(c_->mysql, "COMMIT", error) && execute(kills_->mysql, "COMMIT", error);
}

bool SeasonDatabase::forEachGame(const GameVisitor& each, std::string& error) {
  if (!has_records_) return true;
  RowStream kill_rows;
  if (!noteRead(kill_rows.start(kills_->mysql, kKillQuery, error), false)) return false;
  KillMerge kills([&kill_rows]() -> std::optional<ListedKill> {
    std::optional<Row> r = kill_rows.next();
    if (!r) return std::nullopt;
    return ListedKill{r->text(0), r->integer(1), KillCount{r->text(2), r->text(3), r->integer(4)}};
  });
  GameRecord game;
  SourceHash source;
  bool open = false;
  bool stopped = false;
  auto hand_over = [&]() {
    finishGame(game);
    kills.addTo(game);
    for (const KillCount& k : game.kills) {
      source.mix(k.killer);
      source.mix(k.victim);
      source.mix(k.kills);
    }
    // The pages of a game change when one of its players is hidden.
    if (hidden_.maskGame(game)) {
      for (const GamePlayer& p : game.players) source.mix(p.figures.raw_name);
    }
    game.source = source.value();
    return each(game, error);
  };
  bool ok = streamRows(c_->mysql, gameQuery(), error, [&](const Row& r) {
    std::int64_t id = r.integer(0);
    if (!open || id != game.id) {
      if (open && !hand_over()) return !(stopped = true);
      fillGame(r, game);
      source = SourceHash();
      open = true;
    }
    r.mixInto(source);
    constexpr std::size_t p = kGameColumnCount;
    if (r.isNull(p)) return true;  // a game without player rows
    GamePlayer player;
    player.slot = r.integer(p);
    player.figures.raw_name = r.text(p + 1);
    player.figures.name = r.text(p + 2);
    player.team = r.text(p + 3);
    player.result = r.text(p + 4);
    player.place = r.integer(p + 5);
    player.figures.games = 1;
    fillFigures(r, p + 6, player.figures);
    game.players.push_back(std::move(player));
    return true;
  });
  if (ok && open && !hand_over()) ok = !(stopped = true);
  if (!noteRead(ok, stopped)) return false;
  return noteRead(!kill_rows.failed(error), false);
}

bool SeasonDatabase::forEachPlayersGames(const PlayerGamesVisitor& each, std::string& error) {
  if (!has_records_) return true;
  std::string name;
  std::vector<PlayerGame> games;
  bool stopped = false;
  auto hand_over = [&]() {
    // A hidden player has no page, and so no list of games.
    if (hidden_.isHidden(name)) return true;
    std::sort(games.begin(), games.end(), [](const PlayerGame& a, const PlayerGame& b) {
      return newerGame(a.listed, a.game_id, b.listed, b.game_id);
    });
    return each(name, games, error);
  };
  // The server sorts the rows by player (about a second at 800,000 rows
  // before the first one comes). Walking the by_player key instead would
  // fetch every row by its primary key, many times slower, so the optimizer
  // rightly sorts.
  bool ok = streamRows(c_->mysql,
                       "SELECT STRAIGHT_JOIN p.raw_name, p.game_id, g.listed, g.played IS NOT NULL, g.map, g.type, "
                       "p.team, p.result, p.place, p.frags, p.kills, p.deaths FROM game_players p "
                       "JOIN games g ON g.id = p.game_id ORDER BY p.raw_name, p.game_id",
                       error, [&](const Row& r) {
                         std::string raw = r.text(0);
                         if (!games.empty() && raw != name) {
                           if (!hand_over()) return !(stopped = true);
                           games.clear();
                         }
                         name = std::move(raw);
                         games.push_back({r.integer(1), r.text(2), r.integer(3) != 0, r.text(4), r.text(5), r.text(6),
                                          r.text(7), r.integer(8), r.integer(9), r.integer(10), r.integer(11)});
                         return true;
                       });
  if (!noteRead(ok, stopped)) return false;
  return games.empty() || hand_over();
}

bool SeasonDatabase::forEachHeadToHead(const HeadToHeadVisitor& each, std::string& error) {
  if (!has_records_) return true;
  bool stopped = false;
  KillCount pair;
  bool ok = streamRows(c_->mysql,
                       has_head_to_head_ ? "SELECT killer, victim, kills FROM head_to_head"
                                         : "SELECT killer, victim, SUM(kills) FROM game_kills GROUP BY killer, victim",
                       error, [&](const Row& r) {
                         pair.killer = r.text(0);
                         pair.victim = r.text(1);
                         pair.kills = r.integer(2);
                         hidden_.mask(pair.killer);
                         hidden_.mask(pair.victim);
                         return each(pair, error) || !(stopped = true);
                       });
  return noteRead(ok, stopped);
}

bool readSeason(const DatabaseLogin& login, const std::string& server, bool read_clans, SeasonData& out,
                std::string& error) {
  SeasonDatabase db;
  return db.connect(login, error) && db.readSeason(server, read_clans, out, error) && db.finish(error);
}

}  // namespace site
