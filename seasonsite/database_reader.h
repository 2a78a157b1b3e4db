// Reads the season tables with MariaDB Connector/C.
//
// Only fixed statements are sent: the database is chosen when connecting and
// no text from the database or the configuration ever becomes part of SQL.
// The tables are read in one read-only transaction with a consistent
// snapshot, so a season run committing games meanwhile is seen whole or not
// at all.
#pragma once

#include <string>

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

// Fills `out` from playerstats, miscstats, (when `read_clans`) clanstats and
// the gamestats slots of the server `server` (each server of a league keeps
// its own rotation; a table of earlier versions, without servers, is read
// whole). Returns false with the reason in `error` when the server cannot
// be reached, refuses the login or a statement (a missing table, say); `out`
// is then unspecified.
bool readSeason(const DatabaseLogin& login, const std::string& server, bool read_clans, SeasonData& out,
                std::string& error);

}  // namespace site
