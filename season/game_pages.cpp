#include "game_pages.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "game.h"
#include "run_summary.h"
#include "season_config.h"
#include "shell_command.h"
#include "text.h"

namespace season {

namespace {

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

// Adds the pages listed in a mysql output file, skipping lines for which
// `is_heading` holds. A missing file lists nothing.
template <typename Predicate>
void addListedPages(const char* list, Predicate is_heading, std::vector<std::string>& pages) {
  std::FILE* file = std::fopen(list, "rb");
  if (file == nullptr) return;
  FixedText line;
  while (readLine(file, line)) {
    stripNewLineChars(line);
    if (!is_heading(line.view())) addPageAndTwin(std::string(line.view()), pages);
  }
  std::fclose(file);
}

// Deletes the pages with as few commands as their names allow (one for a
// log, as a rule), in the configured command form.
void deletePages(const SeasonConfig& config, const std::vector<std::string>& pages, RunStatus& status) {
  std::size_t next = 0;
  while (next < pages.size()) {
    std::string command = "rm -f --";
    while (next < pages.size() && command.size() < kMaxDeleteCommand) {
      command += " \"html/" + quotedValue(pages[next]) + "\"";
      ++next;
    }
    command += " >tmp-s";
    if (int exit_status = runCommand(config, command); exit_status != 0) {
      status.fail(Failure::kProgram, "could not delete old pages in html/ (rm exit status " +
                                         std::to_string(exit_status) + ")");
    }
  }
}

bool startRotationScript(const SeasonConfig& config, RunStatus& status) {
  std::FILE* rotation = std::fopen("db_sql_gamestats.txt", "w");
  bool ok = rotation != nullptr && std::fprintf(rotation, "USE %s;\n", config.db_name.c_str()) > 0;
  if (rotation != nullptr && std::fclose(rotation) != 0) ok = false;
  if (!ok) status.fail(Failure::kWrite, "could not write db_sql_gamestats.txt");
  return ok;
}

// Has kestrostats-c write the log's pages, applies their rotation and lists
// the pages it displaced.
void makeNewPages(const SeasonConfig& config, const Run& run, RunStatus& status,
                  std::vector<std::string>& displaced) {
  std::printf(" Generating game stats (html) for %s\n", run.logfile.c_str());
  std::printf("%s\n", kRule);
  std::printf("  - this may take a while...\n");
  if (!startRotationScript(config, status)) return;
  std::string report_config = quotedValue(config.game_stats_config_file);
  std::string command = run.log_type == 1
                            ? "./kestrostats-c kestro-s.log \"" + report_config + "\" >temp-s"
                            : "./kestrostats-c \"" + quotedValue(run.logfile) + "\" \"" + report_config + "\" >temp-s";
  // A failed page leaves no rotation statement behind, so the rotation of
  // the pages that were written still goes ahead.
  if (int exit_status = runCommand(config, command); exit_status != 0) {
    status.fail(Failure::kProgram, "./kestrostats-c could not write every page of " +
                                       std::string(run.logfile.view()) + " (exit status " +
                                       std::to_string(exit_status) + "; its messages are in temp-s)");
  }
  std::printf("  - updating database...\n");
  if (int exit_status = runCommand(config, "mysql " + mysqlLogin(config) + " < db_sql_gamestats.txt > db_delhtml.txt");
      exit_status != 0) {
    status.fail(Failure::kDatabase, "could not rotate the game pages (mysql exit status " +
                                        std::to_string(exit_status) + ")");
    return;
  }
  std::printf("  - deleting old html stats...\n");
  // Each SELECT of the rotation script prints a heading holding ":".
  addListedPages("db_delhtml.txt", [](std::string_view line) { return contains(line, ":"); }, displaced);
}

}  // namespace

void generateGameStats(const SeasonConfig& config, const Run& run, RunStatus& status, bool new_games) {
  std::printf("%s\n", kRule);
  std::vector<std::string> pages;
  if (config.no_of_game_stats > 0 && new_games) makeNewPages(config, run, status, pages);
  std::printf("  - deleting leftover html game stats (if any)...\n");
  addListedPages("db_cleanhtml.txt", [](std::string_view line) { return line == "html"; }, pages);
  deletePages(config, pages, status);
  std::printf("%s\n", kRule);
}

}  // namespace season
