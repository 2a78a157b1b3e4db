// Reads the season tables with MariaDB Connector/C.
//
// Only fixed statements are sent: the database is chosen when connecting and
// no text from the database or the configuration ever becomes part of SQL.
// The tables are read in one read-only transaction with a consistent
// snapshot, so a season run committing games meanwhile is seen whole or not
// at all.
#pragma once

#include <memory>
#include <string>

#include "game_records.h"
#include "hidden_names.h"

struct st_mysql;  // the client library's connection (MYSQL)
#include "season_data.h"

namespace site {

struct DatabaseLogin {
  std::string host;
  std::string database;
  std::string user;
  std::string password;
  unsigned port = 0;  // 0: the client library's default
  std::string socket;  // a local server's socket file; empty: the library's default
};

// Connects the client `c` (from mysql_init(); null reads as out of memory)
// with the login, the timeouts and the character set every reader of the
// season uses. False with the reason in `error`.
bool loginTo(::st_mysql* c, const DatabaseLogin& login, std::string& error);

// A read-only session on the season database: connect() opens one
// transaction with a consistent snapshot, every read after it sees that
// snapshot, finish() commits it. (A second connection reads the games'
// kills alongside the games; its snapshot is taken just after.) The game records are streamed (the client
// holds one game, or one player's games, at a time); a database without the
// record tables reads as one without records.
class SeasonDatabase : public GameRecordSource {
 public:
  SeasonDatabase();
  ~SeasonDatabase() override;
  SeasonDatabase(const SeasonDatabase&) = delete;
  SeasonDatabase& operator=(const SeasonDatabase&) = delete;

  // Connects and starts the transaction; false with the reason in `error`.
  bool connect(const DatabaseLogin& login, std::string& error);
  // The season's own tables, as readSeason() below; then whether the record
  // tables are there and how many counted games they lack. A hidden
  // player (hidden_players) is left out of the players, and every record
  // read after this names it only by its key (hidden_names.h).
  bool readSeason(const std::string& server, bool read_clans, SeasonData& out, std::string& error);
  // Ends the transaction.
  bool finish(std::string& error);

  bool hasRecords() const override { return has_records_; }
  std::int64_t unrecordedGames() const override { return unrecorded_; }
  std::int64_t recordedGames() const override { return recorded_; }
  bool forEachGame(const GameVisitor& each, std::string& error) override;
  bool forEachPlayersGames(const PlayerGamesVisitor& each, std::string& error) override;
  // From head_to_head; summed from game_kills where the season has not yet
  // made that table.
  bool forEachHeadToHead(const HeadToHeadVisitor& each, std::string& error) override;

  // True once a read of the records failed for the database's sake (not
  // because a visitor stopped it).
  bool readFailed() const { return read_failed_; }

 private:
  // Notes a failed stream as the database's unless the visitor stopped it.
  bool noteRead(bool ok, bool stopped) {
    if (!ok && !stopped) read_failed_ = true;
    return ok;
  }
  struct Connection;
  std::unique_ptr<Connection> c_;
  std::unique_ptr<Connection> kills_;  // a second session, for the games' kills
  bool has_records_ = false;
  bool has_head_to_head_ = false;
  std::int64_t unrecorded_ = 0;
  std::int64_t recorded_ = 0;
  bool read_failed_ = false;
  HiddenNames hidden_;  // read by readSeason()
};

// Fills `out` from playerstats, miscstats, (when `read_clans`) clanstats and
// the gamestats slots of the server `server` (each server of a league keeps
// its own rotation; a table of earlier versions, without servers, is read
// whole). Returns false with the reason in `error` when the server cannot
// be reached, refuses the login or a statement (a missing table, say); `out`
// is then unspecified.
bool readSeason(const DatabaseLogin& login, const std::string& server, bool read_clans, SeasonData& out,
                std::string& error);

}  // namespace site
