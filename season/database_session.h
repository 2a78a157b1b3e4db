// The database work of one log, in two runs of the mysql client.
//
// prepare() creates the database and its tables when they are missing,
// migrates tables made by earlier versions, and reads the fingerprints of
// the games the database already holds. The games of the log are then
// written to one script, "db_sql.txt", each game one transaction that also
// records its fingerprint; apply() has the client run that script in one
// session. The client stops at the first statement that fails: the games
// before it are committed, that game and the ones after it are not, and
// the next run counts exactly those (their fingerprints are not in the
// database). Skipping known games makes a log read twice harmless.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "run_status.h"
#include "season_config.h"

struct Game;

namespace season {

class DatabaseSession {
 public:
  explicit DatabaseSession(const SeasonConfig& config) : config_(config) {}
  ~DatabaseSession();
  DatabaseSession(const DatabaseSession&) = delete;
  DatabaseSession& operator=(const DatabaseSession&) = delete;

  // Prepares the database for the log `log_name`. False, with the failure
  // recorded, when the client could not do it (server unreachable, login
  // refused); no game of the log may then be read.
  bool prepare(std::string_view log_name, RunStatus& status);

  // True when the game is in the database already or queued in this
  // session. Always false when games are not counted once
  // (count_games_once is not "yes").
  bool isCounted(const std::string& fingerprint) const;

  // Opens the game's transaction in the script (and the script itself for
  // the first game): the game's statements follow through write(), and
  // endGame() commits it.
  void beginGame(const std::string& fingerprint, int game_id);
  void write(std::string_view text);
  void endGame();

  // Games queued since prepare().
  int queuedGames() const { return static_cast<int>(games_.size()); }

  // Closes the script and applies it. True when every queued game was
  // committed (also when there was none); otherwise the failure is recorded
  // and the client's message names the game it stopped at.
  bool apply(RunStatus& status);

 private:
  struct QueuedGame {
    int game_id;
    long first_line;  // line of the script where the game's transaction begins
  };

  bool readCountedGames(RunStatus& status);
  void reportFailedGame(const std::string& client_errors) const;
  bool countGamesOnce() const { return isYes(config_.count_games_once); }

  const SeasonConfig& config_;
  std::string log_name_;
  std::unordered_set<std::string> counted_;
  std::vector<QueuedGame> games_;
  std::FILE* script_ = nullptr;
  long script_lines_ = 0;
  bool write_failed_ = false;
};

// Writes the game's statements (gameStatements) into the session's open
// transaction.
void sqlMake(Game& game, const SeasonConfig& config, DatabaseSession& session);

// Removes the temporary files of the database steps.
void removeSessionFiles();

}  // namespace season
