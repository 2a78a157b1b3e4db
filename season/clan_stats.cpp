#include "clan_stats.h"

#include <cstdio>
#include <string>

#include "season_config.h"
#include "shell_command.h"
#include "run_summary.h"
#include "sql_literal.h"
#include "text.h"

namespace season {

namespace {

// Width of the tag column; a tag stands in statements cut to it and escaped.
constexpr std::size_t kTagColumn = 50;

std::string tagValue(std::string_view tag) { return sqlTextValue(tag, kTagColumn); }

// The tag as a LIKE pattern that matches only itself: "_" and "%" are the
// pattern's wildcards and "\\" its escape, so each is escaped, and the
// pattern is then escaped again for its literal.
std::string tagPattern(std::string_view tag) {
  tag = tag.substr(0, kTagColumn);
  std::string pattern;
  for (char c : tag) {
    if (c == '_' || c == '%' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return sqlTextValue(pattern, pattern.size());
}

// Runs a mysql command; a failure is recorded with `what` it was for.
bool runClient(const SeasonConfig& config, const std::string& command, const char* what, RunStatus& status) {
  int exit_status = runCommand(config, "mysql " + mysqlLogin(config) + " " + command);
  if (exit_status == 0) return true;
  status.fail(Failure::kDatabase, std::string("could not ") + what + " (mysql exit status " +
                                      std::to_string(exit_status) + ")");
  return false;
}

// Calls `use` with every line of a file (line ends cut); a missing file has
// no lines.
template <typename Use>
void forEachLine(const char* name, Use use) {
  std::FILE* file = std::fopen(name, "rb");
  if (file == nullptr) return;
  FixedText line;
  while (readLine(file, line)) {
    stripNewLineChars(line);
    use(line.view());
  }
  std::fclose(file);
}

// Writes one statement per tag of a file.
void writeTagStatements(std::FILE* script, const char* list, const char* format) {
  forEachLine(list, [&](std::string_view tag) { std::fprintf(script, format, tagValue(tag).c_str()); });
}

bool fetchNameLists(const SeasonConfig& config, RunStatus& status) {
  std::string db = escapeForDoubleQuotes(config.db_name);
  std::string condition = escapeForDoubleQuotes(config.clan_tag_min_condition);
  return runClient(config, "-e \"use " + db + "; SELECT raw_name from playerstats WHERE " + condition +
                       " ORDER BY raw_name;\" > players.txt",
                   "list the players' names for tag detection", status) &&
         runClient(config, "-e \"use " + db + "; SELECT REVERSE(raw_name) from playerstats WHERE " + condition +
                       " ORDER BY REVERSE(raw_name);\" > players-r.txt",
                   "list the players' reversed names for tag detection", status);
}

// Closes a script; false (recorded) when it was not written completely.
bool closeScript(std::FILE* script, const char* name, RunStatus& status) {
  bool ok = std::ferror(script) == 0;
  if (std::fclose(script) != 0) ok = false;
  if (!ok) status.fail(Failure::kWrite, std::string("could not write ") + name);
  return ok;
}

void updateTags(const SeasonConfig& config, RunStatus& status) {
  std::FILE* script = std::fopen("db_sql_updatetags.txt", "w");
  if (script == nullptr) {
    status.fail(Failure::kWrite, "could not write db_sql_updatetags.txt");
    return;
  }
  std::fprintf(script, "use %s;\n", config.db_name.c_str());
  if (config.process_clan_tag_auto) {
    std::printf("  - auto-detecting tags...\n");
    if (fetchNameLists(config, status)) {
      int exit_status = runCommand(config, "./TagSift -s -l " + shellWord(config.clan_tag_min_length) + " -m " +
                                   shellWord(config.clan_tag_min_matches) + " -w");
      if (exit_status != 0) {
        status.fail(Failure::kProgram, "./TagSift failed (exit status " + std::to_string(exit_status) + ")");
      } else {
        writeTagStatements(script, "tags.txt", "INSERT IGNORE INTO clanstats SET tag='%s';\n");
      }
    }
  }
  if (config.process_clan_tag_add) {
    std::printf("  - processing custom tags_add.txt...\n");
    writeTagStatements(script, "tags_add.txt", "INSERT IGNORE INTO clanstats SET tag='%s';\n");
  }
  if (config.process_clan_tag_del) {
    std::printf("  - processing custom tags_del.txt...\n");
    writeTagStatements(script, "tags_del.txt", "DELETE FROM clanstats WHERE tag='%s';\n");
  }
  if (!closeScript(script, "db_sql_updatetags.txt", status)) return;
  std::printf("  - updating database...\n");
  runClient(config, "< db_sql_updatetags.txt > tmp-s", "update the clan tags", status);
}

// The stat of every tag: sum of skill / sum of (games + STD of games) over
// the players whose raw name contains the tag.
bool writeStatScript(const SeasonConfig& config, RunStatus& status) {
  std::FILE* tags = std::fopen("db_tags.txt", "rb");
  std::FILE* script = std::fopen("db_sql_clanstats.txt", "w");
  bool ok = tags != nullptr && script != nullptr;
  if (ok) {
    FixedText line;
    readLine(tags, line);  // the heading
    std::fprintf(script, "USE %s;\n", config.db_name.c_str());
    std::fprintf(script, "SELECT @avggames:=STD(games) from playerstats;\n");
    while (readLine(tags, line)) {
      stripNewLineChars(line);
      std::string tag = tagValue(line);
      std::fprintf(script,
                   "select @totalstat:=(SUM(skill)/SUM(games+@avggames)) from playerstats where BINARY raw_name "
                   "like '%%%s%%';\n",
                   tagPattern(line).c_str());
      std::fprintf(script, "update ignore clanstats SET stat:=@totalstat where tag=\"%s\";\n", tag.c_str());
    }
  }
  if (tags != nullptr) std::fclose(tags);
  if (script != nullptr && !closeScript(script, "db_sql_clanstats.txt", status)) return false;
  if (!ok) status.fail(Failure::kWrite, "could not write db_sql_clanstats.txt");
  return ok;
}

}  // namespace

void generateClanStats(const SeasonConfig& config, RunStatus& status) {
  if (!config.detect_clan_tag) return;
  std::printf("\n%s\n", kRule);
  std::printf(" Generating clan stats\n");
  std::printf("%s\n", kRule);
  updateTags(config, status);
  if (runClient(config, "-e \"use " + escapeForDoubleQuotes(config.db_name) + "; SELECT tag from clanstats;\" > db_tags.txt",
                "list the clan tags", status) &&
      writeStatScript(config, status)) {
    runClient(config, "< db_sql_clanstats.txt > tmp-s", "rate the clan tags", status);
  }
  std::printf("%s\n\n", kRule);
}

}  // namespace season
