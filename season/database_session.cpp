#include "database_session.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>

#include "crash_point.h"
#include "file_ops.h"
#include "game_record.h"
#include "player_sql.h"
#include "season_config.h"
#include "shell_command.h"
#include "sql_literal.h"
#include "text.h"

namespace season {

namespace {

// Ends a game's batch of statements (the client's delimiter). The client
// finds it only outside quoted text, so no name or quote can end a batch.
constexpr std::string_view kBatchEnd = "$$";

constexpr const char* kSchemaScript = "db_sql_schema.txt";
constexpr const char* kCountedList = "db_counted.txt";
constexpr const char* kGamesScript = "db_sql.txt";
constexpr const char* kClientErrors = "db_sql_errors.txt";
constexpr const char* kRetryScript = "db_sql_retry.txt";
constexpr const char* kRecountScript = "db_sql_recount.txt";
constexpr std::size_t kLogColumn = 255;

// A script is written under another name and renamed into place
// (replaceFile), so a client still reading the last one keeps reading it.
bool writeWholeFile(const char* name, const std::string& text) { return replaceFile(name, text); }

// The client's messages; empty when there are none.
std::string readWholeFile(const char* name) {
  std::string text;
  if (!season::readWholeFile(name, text)) text.clear();
  return text;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes of an upper-case hex text; false for anything else.
bool fromHex(std::string_view hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  bytes.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = hexDigit(hex[i]);
    const int low = hexDigit(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

// An "-ALIAS-PLAYER" row (both in hex) of the client's output, into `aliases`.
void readAliasRow(std::string_view row, std::unordered_map<std::string, std::string>& aliases) {
  const std::size_t cut = row.find('-', 1);
  std::string alias;
  std::string player;
  if (cut == std::string_view::npos || !fromHex(row.substr(1, cut - 1), alias) ||
      !fromHex(row.substr(cut + 1), player) || alias.empty() || player.empty()) {
    return;
  }
  aliases[alias] = player;
}

// Reads "fingerprint" or "fingerprint<TAB>flag" lines of the client's
// output into `counted` (and the fingerprints flagged 1 into `flagged`), and
// its alias rows into `aliases`. False when the file cannot be read.
bool readFingerprints(const char* name, std::unordered_set<std::string>& counted,
                      std::unordered_set<std::string>* flagged,
                      std::unordered_map<std::string, std::string>* aliases = nullptr) {
  std::FILE* list = std::fopen(name, "rb");
  if (list == nullptr) return false;
  FixedText line;
  while (readLine(list, line)) {
    stripNewLineChars(line);
    std::string_view row = line.view();
    // The heading is shorter, or holds no tab at the fingerprint's end; an
    // alias row begins with "-".
    if (row.starts_with("-")) {
      if (aliases != nullptr) readAliasRow(row, *aliases);
      continue;
    }
    if (row.size() != 64 && (row.size() < 66 || row[64] != '\t')) continue;
    counted.emplace(row.substr(0, 64));
    if (flagged != nullptr && row.size() >= 66 && row[65] == '1') flagged->emplace(row.substr(0, 64));
  }
  std::fclose(list);
  return true;
}

// Reads a script front to back and copies chosen lines of it.
class LineCopier {
 public:
  explicit LineCopier(std::FILE* from) : from_(from) {}
  // Copies lines [first, last) (numbered from 1; `last` 0: to the end) to
  // `to`; ranges must come in ascending order. False on a read or write error.
  bool copy(long first, long last, std::FILE* to) {
    int c;
    while ((last == 0 || line_ < last) && (c = std::fgetc(from_)) != EOF) {
      if (line_ >= first && std::fputc(c, to) == EOF) return false;
      if (c == '\n') ++line_;
    }
    return std::ferror(from_) == 0;
  }

 private:
  std::FILE* from_;
  long line_ = 1;
};

}  // namespace

ClientError parseClientError(const std::string& client_errors) {
  ClientError error;
  std::size_t at = client_errors.find("ERROR ");
  if (at != std::string::npos) error.code = static_cast<int>(std::strtol(client_errors.c_str() + at + 6, nullptr, 10));
  at = client_errors.find(" at line ");
  if (at != std::string::npos) error.line = std::strtol(client_errors.c_str() + at + 9, nullptr, 10);
  return error;
}

bool isLockConflict(int code) { return code == 1213 || code == 1205; }

void pauseBeforeRetry(int attempt) {
  static std::mt19937 random{std::random_device{}()};
  const int ms = std::uniform_int_distribution<int>(100, 500)(random) * attempt;
  std::printf(" - the database was busy (another client held a lock): trying again in %d ms\n", ms);
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int runTransactionScript(const SeasonConfig& config, const std::string& command, const char* errors_file,
                         std::string& client_errors) {
  for (int attempt = 1;; ++attempt) {
    int exit_status = runCommand(config, command + " 2> " + errors_file);
    client_errors = exit_status == 0 ? std::string() : readWholeFile(errors_file);
    if (exit_status == 0 || attempt >= kLockConflictAttempts || !isLockConflict(parseClientError(client_errors).code)) {
      return exit_status;
    }
    pauseBeforeRetry(attempt);
  }
}

DatabaseSession::~DatabaseSession() {
  if (script_ != nullptr) std::fclose(script_);
}

bool DatabaseSession::prepare(std::string_view log_name, RunStatus& status) {
  log_name_.assign(log_name);
  games_.clear();
  counted_.clear();
  owed_.clear();
  elsewhere_.clear();
  std::string script = schemaScript(config_);
  // Only this server makes the pages it owes: another server's games are
  // in that server's rotation.
  if (countGamesOnce()) {
    script += "SELECT fingerprint, pages=0 AND server='" + serverValue(config_) + "' AS owed FROM countedgames;\n";
  }
  script += "SELECT CONCAT('-', HEX(alias), '-', HEX(player)) FROM player_aliases;\n";
  if (!writeWholeFile(kSchemaScript, script)) {
    status.fail(Failure::kWrite, std::string("could not write ") + kSchemaScript);
    return false;
  }
  int exit_status = runCommand(config_, "mysql " + mysqlLogin(config_) + " < " + kSchemaScript + " > " + kCountedList);
  if (exit_status != 0) {
    status.fail(Failure::kDatabase, "could not reach the database " + std::string(config_.db_name.view()) +
                                        " on " + std::string(config_.db_host.view()) + " (mysql exit status " +
                                        std::to_string(exit_status) + "); " + log_name_ +
                                        " is left for the next run");
    return false;
  }
  return readCountedGames(status);
}

bool DatabaseSession::readCountedGames(RunStatus& status) {
  aliases_.clear();
  if (readFingerprints(kCountedList, counted_, &owed_, &aliases_)) return true;
  status.fail(Failure::kDatabase, std::string("could not read ") + kCountedList);
  return false;
}

bool DatabaseSession::isCounted(const std::string& fingerprint) const {
  return countGamesOnce() && counted_.count(fingerprint) > 0;
}

void DatabaseSession::write(std::string_view text) {
  if (script_ == nullptr) return;
  if (std::fwrite(text.data(), 1, text.size(), script_) != text.size()) write_failed_ = true;
  script_lines_ += std::count(text.begin(), text.end(), '\n');
}

void DatabaseSession::beginGame(const std::string& fingerprint, int game_id) {
  const std::string server = serverValue(config_);
  if (script_ == nullptr) {
    script_ = std::fopen(kGamesScript, "wb");
    script_lines_ = 0;
    write_failed_ = script_ == nullptr;
    // The pages of slots that the first game drops (the slot count was
    // lowered) are listed for deletion before the slots go.
    write("USE " + std::string(config_.db_name.view()) + ";\n");
    write("select html from gamestats where server='" + server + "' and slot>" +
          std::to_string(config_.no_of_game_stats) + ";\n");
  }
  games_.push_back({game_id, fingerprint, script_lines_ + 1});
  write("START TRANSACTION;\n");
  if (countGamesOnce()) {
    // Without page slots no pages are made: nothing is owed.
    const char* pages = config_.no_of_game_stats > 0 ? "0" : "1";
    write("INSERT INTO countedgames SET fingerprint='" + fingerprint + "', log='" +
          sqlTextValue(log_name_, kLogColumn) + "', counted=now(), server='" + server + "', pages=" + pages + ";\n");
    counted_.insert(fingerprint);
  }
  // The rest of the game goes to the server as one batch, in one round
  // trip instead of one per statement. The two statements above stay on
  // their own: the client names the line of the batch's start in an error,
  // and a game counted meanwhile by another run must be told by its line.
  write("DELIMITER " + std::string(kBatchEnd) + "\n");
}

void DatabaseSession::endGame() { write("COMMIT;" + std::string(kBatchEnd) + "\nDELIMITER ;\n"); }

bool DatabaseSession::closeScript() {
  bool written = script_ != nullptr && !write_failed_ && std::ferror(script_) == 0;
  if (script_ != nullptr && std::fclose(script_) != 0) written = false;
  script_ = nullptr;
  return written;
}

bool DatabaseSession::apply(RunStatus& status) {
  if (games_.empty()) return true;
  std::printf("\n - Applying %d game(s) of %s to the database\n", queuedGames(), log_name_.c_str());
  if (!closeScript()) {
    status.fail(Failure::kWrite, std::string("could not write ") + kGamesScript + "; the games of " + log_name_ +
                                     " are counted on the next run");
    return false;
  }
  crashPoint("games-written");
  ScriptGames script;
  for (std::size_t i = 0; i < games_.size(); ++i) {
    script.games.push_back(i);
    script.first_lines.push_back(games_[i].first_line);
  }
  const char* script_file = kGamesScript;
  int conflicts = 0;
  for (;;) {
    int exit_status = script.games.empty() ? 0
                                           : runCommand(config_, "mysql " + mysqlLogin(config_) + " < " + script_file +
                                                                     " >> db_cleanhtml.txt 2> " + kClientErrors);
    if (exit_status == 0) {
      crashPoint("games-committed");
      return true;
    }
    std::string client_errors = readWholeFile(kClientErrors);
    if (!resume(script, client_errors, conflicts)) {
      std::fputs(client_errors.c_str(), stderr);
      reportFailedGame(script, client_errors);
      status.fail(Failure::kDatabase, "the database update of " + log_name_ + " failed (mysql exit status " +
                                          std::to_string(exit_status) +
                                          "); the games not committed are counted on the next run");
      return false;
    }
    script_file = kRetryScript;
  }
}

// After the client stopped: when it stopped for a lock conflict, or at
// the fingerprint of a game that another run committed meanwhile, writes
// the script of the games still to commit and returns true.
bool DatabaseSession::resume(ScriptGames& script, const std::string& client_errors, int& conflicts) {
  const ClientError error = parseClientError(client_errors);
  std::size_t at = script.games.size();
  for (std::size_t i = 0; i < script.games.size(); ++i) {
    if (script.first_lines[i] <= error.line) at = i;
  }
  if (error.line <= 0 || at == script.games.size()) return false;
  if (isLockConflict(error.code)) {
    if (++conflicts >= kLockConflictAttempts) return false;
    pauseBeforeRetry(conflicts);
    return writeRetryScript(script, at);
  }
  // 1062: a duplicate key, at the statement that records the fingerprint.
  bool counted_meanwhile = error.code == 1062 && countGamesOnce() && error.line == script.first_lines[at] + 1;
  return counted_meanwhile && dropCountedMeanwhile(script, at) && writeRetryScript(script, at);
}

// Drops from the script, from game `from` on, the games the database holds
// now; true when it held the game at `from` (which stopped the client).
bool DatabaseSession::dropCountedMeanwhile(ScriptGames& script, std::size_t from) {
  const std::string query = "USE " + std::string(config_.db_name.view()) + ";\nSELECT fingerprint FROM countedgames;\n";
  std::unordered_set<std::string> now_counted;
  if (!writeWholeFile(kRecountScript, query) ||
      runCommand(config_, "mysql " + mysqlLogin(config_) + " < " + kRecountScript + " > " + kCountedList) != 0 ||
      !readFingerprints(kCountedList, now_counted, nullptr) ||
      now_counted.count(games_[script.games[from]].fingerprint) == 0) {
    return false;
  }
  ScriptGames kept;
  for (std::size_t i = 0; i < script.games.size(); ++i) {
    const QueuedGame& game = games_[script.games[i]];
    if (i >= from && now_counted.count(game.fingerprint) > 0) {
      std::printf(" - game %d of %s was counted meanwhile by another run: skipped\n", game.game_id, log_name_.c_str());
      elsewhere_.insert(game.fingerprint);
      continue;
    }
    kept.games.push_back(script.games[i]);
    kept.first_lines.push_back(script.first_lines[i]);
  }
  script = kept;
  return true;
}

// Writes the retry script: the transactions of the script's games from
// `from` on, copied from db_sql.txt. The games before are committed.
bool DatabaseSession::writeRetryScript(ScriptGames& script, std::size_t from) {
  std::FILE* games = std::fopen(kGamesScript, "rb");
  std::FILE* retry = std::fopen(kRetryScript, "wb");
  const std::string use = "USE " + std::string(config_.db_name.view()) + ";\n";
  bool ok = games != nullptr && retry != nullptr && std::fputs(use.c_str(), retry) != EOF;
  ScriptGames rest;
  LineCopier copier(games);
  long line = 2;  // the next line of the retry script
  for (std::size_t i = from; ok && i < script.games.size(); ++i) {
    const std::size_t game = script.games[i];
    const long first = games_[game].first_line;
    const long last = game + 1 < games_.size() ? games_[game + 1].first_line : 0;
    ok = copier.copy(first, last, retry);
    rest.games.push_back(game);
    rest.first_lines.push_back(line);
    line += last == 0 ? script_lines_ + 1 - first : last - first;
  }
  if (games != nullptr) std::fclose(games);
  if (retry != nullptr && std::fclose(retry) != 0) ok = false;
  if (ok) script = rest;
  return ok;
}

void DatabaseSession::reportFailedGame(const ScriptGames& script, const std::string& client_errors) const {
  long line = parseClientError(client_errors).line;
  if (line <= 0) return;
  const QueuedGame* failed = nullptr;
  for (std::size_t i = 0; i < script.games.size(); ++i) {
    if (script.first_lines[i] <= line) failed = &games_[script.games[i]];
  }
  if (failed != nullptr) {
    std::fflush(stdout);
    std::fprintf(stderr, "ERROR: the database stopped at game %d of %s\n", failed->game_id, log_name_.c_str());
  }
}

void sqlMake(Game& game, const SeasonConfig& config, DatabaseSession& session) {
  sqlVerifyData(game);
  const std::vector<PlayedAs> played_as = applyAliases(game, session.aliases());
  session.write(gameStatements(game, config));
  session.write(gameRecordStatements(game, config, GameOrigin{session.gameFingerprint(), session.logName(), played_as}));
  std::printf("\n - Updating database\n");
}

void removeSessionFiles() {
  for (const char* name : {kSchemaScript, kCountedList, kGamesScript, kClientErrors, kRetryScript, kRecountScript}) {
    std::remove(name);
  }
}

}  // namespace season
