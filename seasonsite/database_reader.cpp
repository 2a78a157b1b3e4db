#include "database_reader.h"

#include <mysql.h>

#include <charconv>
#include <cmath>
#include <memory>

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
  Row(MYSQL_ROW row, const unsigned long* lengths) : row_(row), lengths_(lengths) {}

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

 private:
  MYSQL_ROW row_;
  const unsigned long* lengths_;
};

std::string serverError(MYSQL* c, const char* what) {
  return std::string(what) + ": " + mysql_error(c) + " (error " + std::to_string(mysql_errno(c)) + ")";
}

// The server's error number for a column that does not exist.
constexpr unsigned kUnknownColumn = 1054;

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
    each(Row(row, mysql_fetch_lengths(result.get())));
  }
  return true;
}

bool execute(MYSQL* c, const char* statement, std::string& error) {
  if (mysql_query(c, statement) == 0) return true;
  error = serverError(c, "the database refused a statement");
  return false;
}

// The columns of playerstats in the order fillPlayer() reads them; built from
// the program's own tables, never from data.
std::string playerQuery() {
  std::string q = "SELECT raw_name, name, model, quote, games, frags, kills, deaths, suicides, team_kills, "
                  "kill_streak, death_streak, damage_given, damage_recvd, skill, combat";
  for (const char* w : kAccuracyColumns) {
    q += std::string(", accuracy_") + w + "_hits, accuracy_" + w + "_attempts";
  }
  q += ", accuracy_total_hits, accuracy_total_attempts";
  for (const char* table : {"kills_", "deaths_"}) {
    for (const WeaponInfo& w : kWeaponTable) q += std::string(", ") + table + w.column;
  }
  for (const FieldInfo& f : kItemTable) q += std::string(", ") + f.column;
  for (const FieldInfo& f : kCtfTable) q += std::string(", ") + f.column;
  q += " FROM playerstats";
  return q;
}

PlayerRow fillPlayer(const Row& r) {
  PlayerRow p;
  std::size_t i = 0;
  p.raw_name = r.text(i++);
  p.name = r.text(i++);
  p.model = r.text(i++);
  p.quote = r.text(i++);
  for (std::int64_t* field : {&p.games, &p.frags, &p.kills, &p.deaths, &p.suicides, &p.team_kills, &p.kill_streak,
                              &p.death_streak, &p.damage_given, &p.damage_recvd}) {
    *field = r.integer(i++);
  }
  p.skill = r.real(i++);
  p.combat = r.real(i++);
  for (Accuracy& a : p.accuracy) {
    a.hits = r.integer(i++);
    a.attempts = r.integer(i++);
  }
  p.accuracy_total.hits = r.integer(i++);
  p.accuracy_total.attempts = r.integer(i++);
  for (std::int64_t& k : p.kills_by_weapon) k = r.integer(i++);
  for (std::int64_t& d : p.deaths_by_weapon) d = r.integer(i++);
  for (std::int64_t& item : p.items) item = r.integer(i++);
  for (std::int64_t& c : p.ctf) c = r.integer(i++);
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

}  // namespace

bool readSeason(const DatabaseLogin& login, const std::string& server, bool read_clans, SeasonData& out,
                std::string& error) {
  out = SeasonData();
  Connection c(mysql_init(nullptr));
  if (!c) {
    error = "out of memory starting the database client";
    return false;
  }
  mysql_optionsv(c.get(), MYSQL_OPT_CONNECT_TIMEOUT, &kConnectTimeoutSeconds);
  mysql_optionsv(c.get(), MYSQL_OPT_READ_TIMEOUT, &kReadTimeoutSeconds);
  mysql_optionsv(c.get(), MYSQL_SET_CHARSET_NAME, "utf8mb4");
  const char* password = login.password.empty() ? nullptr : login.password.c_str();
  if (mysql_real_connect(c.get(), login.host.c_str(), login.user.empty() ? nullptr : login.user.c_str(), password,
                         login.database.c_str(), login.port, login.socket.empty() ? nullptr : login.socket.c_str(),
                         0) == nullptr) {
    error = serverError(c.get(), ("could not connect to database " + login.database + " on " + login.host).c_str());
    return false;
  }
  if (!execute(c.get(), "START TRANSACTION WITH CONSISTENT SNAPSHOT, READ ONLY", error)) return false;
  if (!readTables(c.get(), server, read_clans, out, error)) return false;
  return execute(c.get(), "COMMIT", error);
}

}  // namespace site
