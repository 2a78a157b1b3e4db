#include "game_pages.h"

#include <cstdio>
#include <string>

#include "game_state.h"
#include "season_config.h"
#include "shell_command.h"
#include "run_summary.h"
#include "text.h"

namespace season {

namespace {

void deletePage(const std::string& name) { runCommand("rm  \"html/" + quotedValue(name) + "\" >tmp-s"); }

// Deletes a main page and its weapon page ("_main." becomes "_wpn.").
void deletePageAndTwin(std::string name) {
  // Page names never hold a "/": a name that does cannot be one of ours, and
  // deleting it could reach outside html/.
  if (contains(name, "/")) return;
  deletePage(name);
  std::size_t at = name.find("_main.");
  if (at != std::string::npos) name.replace(at, 6, "_wpn.");
  deletePage(name);
}

// Deletes the pages listed in a mysql output file, skipping lines for which
// `is_heading` holds. A missing file lists nothing.
template <typename Predicate>
void deleteListedPages(const char* list, Predicate is_heading) {
  std::FILE* file = std::fopen(list, "rb");
  if (file == nullptr) return;
  FixedText line;
  while (readLine(file, line)) {
    stripNewLineChars(line);
    if (!is_heading(line.view())) deletePageAndTwin(std::string(line.view()));
  }
  std::fclose(file);
}

void makeNewPages() {
  std::printf(" Generating game stats (html) for %s\n", g_logfile.c_str());
  std::printf("%s\n", kRule);
  std::printf("  - this may take a while...\n");
  std::FILE* rotation = std::fopen("db_sql_gamestats.txt", "w");
  if (rotation != nullptr) {
    std::fprintf(rotation, "USE %s;\n", g_config_db_name.c_str());
    std::fclose(rotation);
  }
  std::string report_config = quotedValue(g_game_stats_config_file);
  if (g_log_type == 1) {
    runCommand("./kestrostats-c kestro-s.log \"" + report_config + "\" >temp-s");
  } else {
    runCommand("./kestrostats-c \"" + quotedValue(g_logfile) + "\" \"" + report_config + "\" >temp-s");
  }
  std::printf("  - updating database...\n");
  runCommand("mysql " + mysqlLogin() + " < db_sql_gamestats.txt > db_delhtml.txt");
  std::printf("  - deleting old html stats...\n");
  // Each SELECT of the rotation script prints a heading holding ":".
  deleteListedPages("db_delhtml.txt", [](std::string_view line) { return contains(line, ":"); });
}

}  // namespace

void generateGameStats() {
  std::printf("%s\n", kRule);
  if (g_no_of_game_stats > 0) makeNewPages();
  std::printf("  - deleting leftover html game stats (if any)...\n");
  deleteListedPages("db_cleanhtml.txt", [](std::string_view line) { return line == "html"; });
  std::printf("%s\n", kRule);
}

}  // namespace season
