#include "database_session.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "crash_point.h"
#include "player_sql.h"
#include "season_config.h"
#include "shell_command.h"
#include "sql_literal.h"
#include "text.h"

namespace season {

namespace {

constexpr const char* kSchemaScript = "db_sql_schema.txt";
constexpr const char* kCountedList = "db_counted.txt";
constexpr const char* kGamesScript = "db_sql.txt";
constexpr const char* kClientErrors = "db_sql_errors.txt";
constexpr std::size_t kLogColumn = 255;

// Writes a whole file; false when any part of the write failed.
bool writeWholeFile(const char* name, const std::string& text) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

std::string readWholeFile(const char* name) {
  std::string text;
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return text;
  char chunk[4096];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, n);
  std::fclose(file);
  return text;
}

// The line number in the client's "ERROR 1064 (42000) at line 12: ..."
// message, or 0 when it names none.
long errorLine(const std::string& client_errors) {
  std::size_t at = client_errors.find(" at line ");
  if (at == std::string::npos) return 0;
  return std::strtol(client_errors.c_str() + at + 9, nullptr, 10);
}

}  // namespace

DatabaseSession::~DatabaseSession() {
  if (script_ != nullptr) std::fclose(script_);
}

bool DatabaseSession::prepare(std::string_view log_name, RunStatus& status) {
  log_name_.assign(log_name);
  games_.clear();
  counted_.clear();
  std::string script = schemaScript(config_);
  if (countGamesOnce()) script += "SELECT fingerprint FROM countedgames;\n";
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
  std::FILE* list = std::fopen(kCountedList, "rb");
  if (list == nullptr) {
    status.fail(Failure::kDatabase, std::string("could not read ") + kCountedList);
    return false;
  }
  FixedText line;
  while (readLine(list, line)) {
    stripNewLineChars(line);
    if (line.size() == 64) counted_.emplace(line.view());  // the heading is shorter
  }
  std::fclose(list);
  return true;
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
  if (script_ == nullptr) {
    script_ = std::fopen(kGamesScript, "wb");
    script_lines_ = 0;
    write_failed_ = script_ == nullptr;
    // The pages of slots that the first game drops (the slot count was
    // lowered) are listed for deletion before the slots go.
    write("USE " + std::string(config_.db_name.view()) + ";\n");
    write("select html from gamestats where slot>" + std::to_string(config_.no_of_game_stats) + ";\n");
  }
  games_.push_back({game_id, script_lines_ + 1});
  write("START TRANSACTION;\n");
  if (countGamesOnce()) {
    write("INSERT INTO countedgames SET fingerprint='" + fingerprint + "', log='" +
          sqlTextValue(log_name_, kLogColumn) + "', counted=now();\n");
    counted_.insert(fingerprint);
  }
}

void DatabaseSession::endGame() { write("COMMIT;\n"); }

bool DatabaseSession::apply(RunStatus& status) {
  if (games_.empty()) return true;
  std::printf("\n - Applying %d game(s) of %s to the database\n", queuedGames(), log_name_.c_str());
  bool written = script_ != nullptr && !write_failed_ && std::ferror(script_) == 0;
  if (script_ != nullptr && std::fclose(script_) != 0) written = false;
  script_ = nullptr;
  if (!written) {
    status.fail(Failure::kWrite, std::string("could not write ") + kGamesScript + "; the games of " + log_name_ +
                                     " are counted on the next run");
    return false;
  }
  crashPoint("games-written");
  int exit_status = runCommand(config_, "mysql " + mysqlLogin(config_) + " < " + kGamesScript +
                                            " >> db_cleanhtml.txt 2> " + kClientErrors);
  if (exit_status == 0) {
    crashPoint("games-committed");
    return true;
  }
  std::string client_errors = readWholeFile(kClientErrors);
  std::fputs(client_errors.c_str(), stderr);
  reportFailedGame(client_errors);
  status.fail(Failure::kDatabase, "the database update of " + log_name_ + " failed (mysql exit status " +
                                      std::to_string(exit_status) +
                                      "); the games not committed are counted on the next run");
  return false;
}

void DatabaseSession::reportFailedGame(const std::string& client_errors) const {
  long line = errorLine(client_errors);
  if (line <= 0) return;
  const QueuedGame* failed = nullptr;
  for (const QueuedGame& game : games_) {
    if (game.first_line <= line) failed = &game;
  }
  if (failed != nullptr) {
    std::fflush(stdout);
    std::fprintf(stderr, "ERROR: the database stopped at game %d of %s\n", failed->game_id, log_name_.c_str());
  }
}

void sqlMake(Game& game, const SeasonConfig& config, DatabaseSession& session) {
  session.write(gameStatements(game, config));
  std::printf("\n - Updating database\n");
}

void removeSessionFiles() {
  for (const char* name : {kSchemaScript, kCountedList, kGamesScript, kClientErrors}) std::remove(name);
}

}  // namespace season
