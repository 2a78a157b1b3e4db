// The database work of one log, in two runs of the mysql client.
//
// prepare() creates the database and its tables when they are missing,
// migrates tables made by earlier versions, and reads the fingerprints of
// the games the database already holds (a deleted game's too) and the
// merged names. The games of the log are then
// written to one script, "db_sql.txt", each game one transaction that also
// records its fingerprint (with this server's name, and that its pages are
// still to be made); apply() has the client run that script in one
// session. The client stops at the first statement that fails: the games
// before it are committed, that game is rolled back. When the server only
// refused it for a lock held by another client (a deadlock, a lock wait
// timeout: several servers writing one database), that game and the ones
// after it are run again after a short random pause, a few times; a game
// that another run committed in the meantime is dropped from the script.
// Any other failure leaves the games not committed to the next run (their
// fingerprints are not in the database). Skipping known games makes a log
// read twice harmless.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
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

  // True when this server counted the game in an earlier run that ended
  // before its pages were made: the game is owed its pages.
  bool pagesOwed(const std::string& fingerprint) const { return owed_.count(fingerprint) > 0; }

  // Opens the game's transaction in the script (and the script itself for
  // the first game): the game's statements follow through write(), and
  // endGame() commits it.
  void beginGame(const std::string& fingerprint, int game_id);
  void write(std::string_view text);
  void endGame();
  // The fingerprint of the game begun last, and the log being read.
  const std::string& gameFingerprint() const { return games_.back().fingerprint; }
  const std::string& logName() const { return log_name_; }

  // The merged names (player_aliases) as prepare() read them: alias -> the
  // player its games count for.
  const std::unordered_map<std::string, std::string>& aliases() const { return aliases_; }

  // Games queued since prepare().
  int queuedGames() const { return static_cast<int>(games_.size()); }

  // Closes the script and applies it. True when every queued game was
  // committed, by this run or (dropped from it) by another one meanwhile,
  // also when there was none; otherwise the failure is recorded and the
  // client's message names the game it stopped at.
  bool apply(RunStatus& status);

  // True when apply() found the game committed by another run meanwhile:
  // it is counted, and its pages are that run's.
  bool countedElsewhere(const std::string& fingerprint) const { return elsewhere_.count(fingerprint) > 0; }

 private:
  struct QueuedGame {
    int game_id;
    std::string fingerprint;
    long first_line;  // line of db_sql.txt where the game's transaction begins
  };
  // The games of the script the client reads, and the line where each begins.
  struct ScriptGames {
    std::vector<std::size_t> games;  // indices into games_
    std::vector<long> first_lines;
  };

  bool readCountedGames(RunStatus& status);
  bool closeScript();
  bool resume(ScriptGames& script, const std::string& client_errors, int& conflicts);
  bool dropCountedMeanwhile(ScriptGames& script, std::size_t from);
  bool writeRetryScript(ScriptGames& script, std::size_t from);
  void reportFailedGame(const ScriptGames& script, const std::string& client_errors) const;
  bool countGamesOnce() const { return config_.count_games_once; }

  const SeasonConfig& config_;
  std::string log_name_;
  std::unordered_set<std::string> counted_;
  std::unordered_set<std::string> owed_;
  std::unordered_set<std::string> elsewhere_;
  std::unordered_map<std::string, std::string> aliases_;
  std::vector<QueuedGame> games_;
  std::FILE* script_ = nullptr;
  long script_lines_ = 0;
  bool write_failed_ = false;
};

// What the mysql client said about the statement it stopped at
// ("ERROR 1213 (40001) at line 12: ...").
struct ClientError {
  int code = 0;   // the server's error number; 0 when none is named
  long line = 0;  // the script's line; 0 when none is named
};
ClientError parseClientError(const std::string& client_errors);

// A deadlock (1213) or a lock wait timeout (1205): the server gave up the
// statement for a lock another client held, and its transaction can simply
// be run again.
bool isLockConflict(int code);

// Attempts at a transaction that keeps meeting lock conflicts, the first
// one included.
inline constexpr int kLockConflictAttempts = 5;

// Waits a random 100 to 500 milliseconds times `attempt` (1 for the first
// retry) before a transaction is tried again, so that two clients that
// collided do not collide again; prints the pause.
void pauseBeforeRetry(int attempt);

// Runs `command`, a mysql client whose standard error goes to
// `errors_file` and whose script is one transaction, again while the
// server refuses it for a lock conflict, up to kLockConflictAttempts times.
// Returns the exit status of the last attempt; `client_errors` holds its
// messages.
int runTransactionScript(const SeasonConfig& config, const std::string& command, const char* errors_file,
                         std::string& client_errors);

// Writes the game's statements (gameStatements, gameRecordStatements) into
// the session's open transaction, with every merged name (aliases()) counted
// for the player it was merged into.
void sqlMake(Game& game, const SeasonConfig& config, DatabaseSession& session);

// Removes the temporary files of the database steps.
void removeSessionFiles();

}  // namespace season
