#include "game_pages.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "crash_point.h"
#include "database_session.h"
#include "game.h"
#include "player_sql.h"
#include "players.h"
#include "run_summary.h"
#include "season_config.h"
#include "season_run.h"
#include "shell_command.h"
#include "sql_literal.h"
#include "text.h"

namespace season {

namespace {

constexpr const char* kConvertedLog = "kestro-s.log";
constexpr const char* kPagesLog = "kestro-s-pages.log";
constexpr const char* kPageStatements = "db_sql_gamestats.txt";  // kestrostats-c's own
constexpr const char* kRotationScript = "db_sql_rotation.txt";
constexpr const char* kRotationOutput = "db_delhtml.txt";
constexpr const char* kRotationErrors = "db_rotation_errors.txt";
constexpr std::size_t kHtmlColumn = 255;
// Fingerprints per statement that records games as having their pages.
constexpr std::size_t kMarksPerStatement = 200;

// One shell command line must stay below the system's limit for a single
// argument (128 KiB); the names of a log's displaced pages nearly always
// fit in one.
constexpr std::size_t kMaxDeleteCommand = 100 * 1024;

// Adds a main page, its weapon page ("_main." becomes "_wpn.") and its
// JSON file ("<stem>game.json") to the pages to delete, each only when it
// exists: placeholders such as "1001.html" never had a page.
void addPageAndTwin(std::string name, std::vector<std::string>& pages) {
  // Page names never hold a "/": a name that does cannot be one of ours, and
  // deleting it could reach outside html/.
  if (name.empty() || contains(name, "/")) return;
  auto add = [&pages](const std::string& page) {
    if (std::filesystem::is_regular_file("html/" + page)) pages.push_back(page);
  };
  add(name);
  std::size_t at = name.find("_main.");
  if (at == std::string::npos) return;
  add(name.substr(0, at + 1) + "game.json");
  name.replace(at, 6, "_wpn.");
  add(name);
}

// Adds the pages of dropped slots that the games script listed
// ("db_cleanhtml.txt": a heading "html", then one name a line).
void addDroppedSlotPages(std::vector<std::string>& pages) {
  std::FILE* file = std::fopen("db_cleanhtml.txt", "rb");
  if (file == nullptr) return;
  FixedText line;
  while (readLine(file, line)) {
    stripNewLineChars(line);
    if (line.view() != "html") addPageAndTwin(std::string(line.view()), pages);
  }
  std::fclose(file);
}

// Deletes the pages with as few commands as their names allow (one for a
// log, as a rule), in the configured command form.
void deletePages(const SeasonConfig& config, std::vector<std::string> pages, RunStatus& status) {
  std::sort(pages.begin(), pages.end());
  pages.erase(std::unique(pages.begin(), pages.end()), pages.end());
  std::size_t next = 0;
  while (next < pages.size()) {
    std::string command = "rm -f --";
    while (next < pages.size() && command.size() < kMaxDeleteCommand) {
      command += " \"html/" + escapeForDoubleQuotes(pages[next]) + "\"";
      ++next;
    }
    command += " >tmp-s";
    if (int exit_status = runCommand(config, command); exit_status != 0) {
      status.fail(Failure::kProgram, "could not delete old pages in html/ (rm exit status " +
                                         std::to_string(exit_status) + ")");
    }
  }
}

// Which games get pages now, and which are left out of kestrostats-c's input.
PagesPlan planPages(const SeasonRun& s) {
  PagesPlan plan;
  for (const GameSpan& game : s.input_games.games()) {
    if (game.needs_pages && !s.database.countedElsewhere(game.fingerprint)) {
      ++plan.wanted;
      plan.made.push_back(game.fingerprint);
    } else {
      plan.left_out.push_back(&game);
    }
  }
  // An input whose positions are unknown goes to kestrostats-c whole.
  if (!s.input_games.known()) plan.left_out.clear();
  for (const std::string& fingerprint : s.input_games.settled()) {
    if (!s.database.countedElsewhere(fingerprint)) plan.made.push_back(fingerprint);
  }
  if (!s.config.count_games_once) plan.made.clear();
  return plan;
}

bool writeAll(std::FILE* to, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), to) == bytes.size();
}

// Lines that set what kestrostats-c carries from game to game (the OSP
// client's banner and the renderer's shutdown, which clears it) are kept
// from a game that is left out.
bool carriesRunState(const std::string& line) {
  FixedText stripped;
  stripColorCodes(line, stripped);
  return contains(stripped.view(), "Loaded OSP Client Version:") || contains(stripped.view(), "RE_Shutdown( 0 )");
}

// Copies the input from its position up to `end` to `to`; with
// `run_state_only`, only the lines that carry run state. False on a read or
// write error, or when the input ends before `end`.
bool copyUpTo(std::FILE* from, long long end, bool run_state_only, std::FILE* to) {
  std::string line;
  long long at = std::ftell(from);
  while (at < end) {
    int c = std::fgetc(from);
    if (c == EOF) return false;
    ++at;
    line += static_cast<char>(c);
    if (c != '\n' && at < end) continue;
    if ((!run_state_only || carriesRunState(line)) && !writeAll(to, line)) return false;
    line.clear();
  }
  return true;
}

bool copyRest(std::FILE* from, std::FILE* to) {
  char chunk[65536];
  std::size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, from)) > 0) {
    if (!writeAll(to, std::string_view(chunk, n))) return false;
  }
  return std::ferror(from) == 0;
}

// Writes kestro-s-pages.log: the input without the games left out.
bool writePagesLog(const std::string& input, const PagesPlan& plan) {
  std::FILE* from = std::fopen(input.c_str(), "rb");
  std::FILE* to = std::fopen(kPagesLog, "wb");
  bool ok = from != nullptr && to != nullptr;
  for (std::size_t i = 0; ok && i < plan.left_out.size(); ++i) {
    ok = copyUpTo(from, plan.left_out[i]->begin, false, to) && copyUpTo(from, plan.left_out[i]->end, true, to);
  }
  ok = ok && copyRest(from, to) && std::fflush(to) == 0;
  if (from != nullptr) std::fclose(from);
  if (to != nullptr && std::fclose(to) != 0) ok = false;
  return ok;
}

bool startPageStatements(const SeasonConfig& config, RunStatus& status) {
  std::FILE* rotation = std::fopen(kPageStatements, "w");
  bool ok = rotation != nullptr && std::fprintf(rotation, "USE %s;\n", config.db_name.c_str()) > 0;
  if (rotation != nullptr && std::fclose(rotation) != 0) ok = false;
  if (!ok) status.fail(Failure::kWrite, std::string("could not write ") + kPageStatements);
  return ok;
}

// The page names of kestrostats-c's rotation statements, in its order.
std::vector<std::string> writtenPages() {
  constexpr std::string_view kBefore = "UPDATE gamestats SET html='";
  constexpr std::string_view kAfter = "' WHERE html=@oldestHtml LIMIT 1;";
  std::vector<std::string> pages;
  std::FILE* file = std::fopen(kPageStatements, "rb");
  if (file == nullptr) return pages;
  FixedText line;
  while (readLine(file, line)) {
    stripNewLineChars(line);
    std::string_view text = line.view();
    if (text.size() > kBefore.size() + kAfter.size() && text.starts_with(kBefore) && text.ends_with(kAfter)) {
      pages.emplace_back(text.substr(kBefore.size(), text.size() - kBefore.size() - kAfter.size()));
    }
  }
  std::fclose(file);
  return pages;
}

// Starts kestrostats-c on the pages of the planned games. False when its
// input could not be written (nothing was started). With `slots_known`,
// the rotation will hold exactly no_of_game_stats slots (the games applied
// meanwhile set them), and kestrostats-c writes only the pages it might
// keep (KS_KEPT_PAGES).
bool launchReport(SeasonRun& s, const PagesPlan& plan, GamePages& pages, bool slots_known) {
  // The season's own files are named as they are; a log's name is quoted.
  std::string input =
      s.run.log_type == LogForm::kServer ? kConvertedLog : "\"" + escapeForDoubleQuotes(s.run.logfile) + "\"";
  if (!plan.left_out.empty()) {
    if (!writePagesLog(s.run.log_type == LogForm::kServer ? kConvertedLog : std::string(s.run.logfile.view()), plan)) {
      s.status.fail(Failure::kWrite, std::string("could not write ") + kPagesLog + "; the pages of " +
                                         std::string(s.run.logfile.view()) + " are made the next time it is read");
      return false;
    }
    input = kPagesLog;
  }
  std::string report_config = escapeForDoubleQuotes(s.config.game_stats_config_file);
  const std::string kept = slots_known ? "KS_KEPT_PAGES=" + std::to_string(s.config.no_of_game_stats) + " " : "";
  pages.report = startCommand(s.config, kept + "./kestrostats-c " + input + " \"" + report_config + "\" >temp-s");
  pages.plan = plan;
  pages.started = true;
  return true;
}

// Waits for kestrostats-c. A failed page leaves no rotation statement
// behind, so the rotation of the pages that were written still goes ahead.
void awaitReport(SeasonRun& s, GamePages& pages) {
  if (int exit_status = waitForCommand(pages.report); exit_status != 0) {
    s.status.fail(Failure::kProgram, "./kestrostats-c could not write every page of " +
                                         std::string(s.run.logfile.view()) + " (exit status " +
                                         std::to_string(exit_status) + "; its messages are in temp-s)");
  }
}

// Waits for kestrostats-c and removes every page it wrote: the games they
// were made for are not the ones to get pages.
void discardReport(SeasonRun& s, GamePages& pages) {
  waitForCommand(pages.report);
  std::vector<std::string> written;
  for (std::string& page : writtenPages()) addPageAndTwin(std::move(page), written);
  deletePages(s.config, written, s.status);
  pages.started = false;
  pages.attempted = false;
}

// Reads the rotation's output: the displaced pages go to `pages`, the stems
// of the pages every slot holds now to `kept`.
void readRotationOutput(std::vector<std::string>& pages, std::set<std::string>& kept) {
  std::FILE* file = std::fopen(kRotationOutput, "rb");
  if (file == nullptr) return;
  FixedText line;
  while (readLine(file, line)) {
    stripNewLineChars(line);
    std::string_view text = line.view();
    if (text.starts_with("displaced\t")) addPageAndTwin(std::string(text.substr(10)), pages);
    bool temporary = false;
    if (text.starts_with("kept\t")) kept.insert(seasonPageStem(text.substr(5), temporary));
  }
  std::fclose(file);
}

// Adds the season pages in html/ that no slot holds (written by a run that
// was killed before its rotation, or displaced by one killed before the
// deletion), and pages left under their temporary names.
void addUnheldPages(const std::set<std::string>& kept, std::vector<std::string>& pages) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("html", error)) {
    std::error_code type_error;
    if (!entry.is_regular_file(type_error)) continue;
    const std::string name = entry.path().filename().string();
    bool temporary = false;
    const std::string stem = seasonPageStem(name, temporary);
    if (!stem.empty() && (temporary || kept.count(stem) == 0)) pages.push_back(name);
  }
}

// Applies the rotation of the pages kestrostats-c wrote and lists the pages
// to delete. False when the database refused it.
bool rotate(SeasonRun& s, const PagesPlan& plan, std::vector<std::string>& pages) {
  std::printf("  - updating database...\n");
  const std::string script = rotationScript(s.config, writtenPages(), plan.made);
  std::FILE* file = std::fopen(kRotationScript, "wb");
  bool written = file != nullptr && writeAll(file, script);
  if (file != nullptr && std::fclose(file) != 0) written = false;
  if (!written) {
    s.status.fail(Failure::kWrite, std::string("could not write ") + kRotationScript);
    return false;
  }
  std::string client_errors;
  const std::string command =
      "mysql -N " + mysqlLogin(s.config) + " < " + kRotationScript + " > " + kRotationOutput;
  if (int exit_status = runTransactionScript(s.config, command, kRotationErrors, client_errors); exit_status != 0) {
    std::fputs(client_errors.c_str(), stderr);
    s.status.fail(Failure::kDatabase, "could not rotate the game pages (mysql exit status " +
                                          std::to_string(exit_status) + "); they are made again the next time " +
                                          std::string(s.run.logfile.view()) + " is read");
    return false;
  }
  crashPoint("pages-rotated");
  std::printf("  - deleting old html stats...\n");
  std::set<std::string> kept;
  readRotationOutput(pages, kept);
  addUnheldPages(kept, pages);
  return true;
}

bool samePlan(const PagesPlan& a, const PagesPlan& b) {
  return a.made == b.made && a.left_out == b.left_out && a.wanted == b.wanted;
}

bool launchPages(SeasonRun& s, const PagesPlan& plan, GamePages& pages, bool slots_known) {
  return startPageStatements(s.config, s.status) && launchReport(s, plan, pages, slots_known);
}

// Rotates the pages kestrostats-c was started for, once it is done. When
// the games to get pages are no longer the ones it was started for (another
// run committed one of them meanwhile), its pages go and it is run again.
void makeNewPages(SeasonRun& s, const PagesPlan& plan, GamePages& started, std::vector<std::string>& pages) {
  std::printf(" Generating game stats (html) for %s\n", s.run.logfile.c_str());
  std::printf("%s\n", kRule);
  std::printf("  - this may take a while...\n");
  if (started.started && !samePlan(plan, started.plan)) discardReport(s, started);
  if (!started.attempted) {
    started.attempted = true;
    launchPages(s, plan, started, false);
  }
  if (!started.started) return;
  awaitReport(s, started);
  started.started = false;
  crashPoint("pages-made");
  rotate(s, plan, pages);
}

bool isDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The weapon page beside a main page, when kestrostats-c made one. A main
// page that is not in html/ was displaced within the run and never
// written: it had a weapon page when the written ones have them
// (`weapons_made`), as every page of one kestrostats-c run is made alike.
std::string weaponPageOf(const std::string& page, bool weapons_made) {
  constexpr std::string_view kMain = "_main.html";
  if (!page.ends_with(kMain)) return {};
  const std::string weapon = page.substr(0, page.size() - kMain.size()) + "_wpn.html";
  if (!std::filesystem::is_regular_file("html/" + page)) return weapons_made ? weapon : std::string();
  return std::filesystem::is_regular_file("html/" + weapon) ? weapon : std::string();
}

// Whether kestrostats-c made weapon pages: a written main page has one.
bool weaponPagesMade(const std::vector<std::string>& pages) {
  for (const std::string& page : pages) {
    if (std::filesystem::is_regular_file("html/" + page)) return !weaponPageOf(page, false).empty();
  }
  return false;
}

// The games' records name their pages. kestrostats-c writes one page per
// owed game, in the log's order, so the n-th page is the n-th game's; when
// the counts differ (a game it did not write) no page is named rather than
// a wrong one.
std::string recordPagesStatements(const std::string& server, const std::vector<std::string>& pages,
                                  const std::vector<std::string>& made) {
  if (pages.size() != made.size()) return {};
  const bool weapons_made = weaponPagesMade(pages);
  std::string out;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const std::string weapon = weaponPageOf(pages[i], weapons_made);
    out += "UPDATE games SET page='" + sqlTextValue(pages[i], kHtmlColumn) + "', weapon_page=" +
           (weapon.empty() ? std::string("NULL") : "'" + sqlTextValue(weapon, kHtmlColumn) + "'") +
           " WHERE server='" + server + "' AND fingerprint='" + sqlTextValue(made[i], 64) + "';\n";
  }
  return out;
}

}  // namespace

std::string rotationScript(const SeasonConfig& config, const std::vector<std::string>& pages,
                           const std::vector<std::string>& made) {
  const std::string server = serverValue(config);
  const std::string own = " FROM gamestats WHERE server='" + server + "'";
  std::string out = "USE " + std::string(config.db_name.view()) + ";\nSTART TRANSACTION;\n";
  // Locking every slot of this server first makes the steps below one
  // atomic step against any other client rotating the same slots.
  out += "SELECT COUNT(*) INTO @ks_slots" + own + " FOR UPDATE;\n";
  for (const std::string& page : pages) {
    out += "SET @ks_slot=NULL, @oldestHtml=NULL;\n";
    out += "SELECT slot, html INTO @ks_slot, @oldestHtml" + own + " ORDER BY html, slot LIMIT 1;\n";
    out += "UPDATE gamestats SET html='" + sqlTextValue(page, kHtmlColumn) + "' WHERE server='" + server +
           "' AND slot=@ks_slot;\n";
    out += "SELECT 'displaced', @oldestHtml FROM DUAL WHERE @oldestHtml IS NOT NULL;\n";
  }
  for (std::size_t i = 0; i < made.size(); i += kMarksPerStatement) {
    // Only this server's games: another server's are in its own rotation.
    out += "UPDATE countedgames SET pages=1 WHERE server='" + server + "' AND fingerprint IN (";
    for (std::size_t j = i; j < std::min(made.size(), i + kMarksPerStatement); ++j) {
      out += (j == i ? "'" : ", '") + sqlTextValue(made[j], 64) + "'";
    }
    out += ");\n";
  }
  out += recordPagesStatements(server, pages, made);
  out += "SELECT 'kept', html FROM gamestats;\nCOMMIT;\n";
  return out;
}

std::string seasonPageStem(std::string_view name, bool& temporary) {
  constexpr std::string_view kPrefix = "kestrostats_";
  temporary = name.ends_with(".part");
  if (temporary) name.remove_suffix(5);
  // "kestrostats_2024_06_12_20_15_03_": the run's date and time.
  if (!name.starts_with(kPrefix) || name.size() < kPrefix.size() + 20 || contains(name, "/")) return {};
  std::string_view time = name.substr(kPrefix.size(), 20);
  for (std::size_t at : {4u, 7u, 10u, 13u, 16u, 19u}) {
    if (time[at] != '_') return {};
  }
  for (std::size_t at : {0u, 5u, 8u, 11u, 14u, 17u}) {
    if (!isDigits(time.substr(at, at == 0 ? 4 : 2))) return {};
  }
  std::size_t end = std::string_view::npos;
  for (std::string_view kind : {"_main.", "_wpn."}) {
    std::size_t at = name.rfind(kind);
    if (at != std::string_view::npos && (end == std::string_view::npos || at > end)) end = at;
  }
  if (name.ends_with("_game.json")) end = name.size() - 10;
  if (end == std::string_view::npos || end < kPrefix.size() + 19) return {};
  return std::string(name.substr(0, end + 1));
}

GamePages startGamePages(SeasonRun& s) {
  GamePages pages;
  if (s.config.no_of_game_stats <= 0) return pages;
  const PagesPlan plan = planPages(s);
  if (plan.wanted == 0) return pages;
  pages.attempted = true;
  // Every game applied sets this server's slots to no_of_game_stats.
  launchPages(s, plan, pages, s.database.queuedGames() > 0);
  return pages;
}

void dropGamePages(SeasonRun& s, GamePages& pages) {
  if (pages.started) discardReport(s, pages);
}

void generateGameStats(SeasonRun& s, GamePages& started) {
  std::printf("%s\n", kRule);
  std::vector<std::string> pages;
  if (s.config.no_of_game_stats > 0) {
    const PagesPlan plan = planPages(s);
    if (plan.wanted > 0) makeNewPages(s, plan, started, pages);
  }
  dropGamePages(s, started);
  std::printf("  - deleting leftover html game stats (if any)...\n");
  addDroppedSlotPages(pages);
  deletePages(s.config, pages, s.status);
  std::printf("%s\n", kRule);
}

void removePageFiles() {
  for (const char* name : {kPagesLog, kRotationScript, kRotationErrors}) std::remove(name);
}

}  // namespace season
