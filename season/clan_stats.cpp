#include "clan_stats.h"

#include <cstdio>
#include <string>

#include "season_config.h"
#include "shell_command.h"
#include "run_summary.h"
#include "text.h"

namespace season {

namespace {

// Tags stand inside quotes of SQL statements: a tag holding a quote or a
// backslash would break or change the script, so it is left out. No player
// name can hold one of them anyway (the log reader turns them into "_").
bool isSafeTag(std::string_view tag) {
  return tag.find_first_of("'\"\\") == std::string_view::npos;
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

// Writes one statement per safe tag of a file.
void writeTagStatements(std::FILE* script, const char* list, const char* format) {
  forEachLine(list, [&](std::string_view tag) {
    if (!isSafeTag(tag)) {
      std::printf("  - skipping tag with a quote or backslash: %s\n", std::string(tag).c_str());
      return;
    }
    std::fprintf(script, format, std::string(tag).c_str());
  });
}

void fetchNameLists() {
  std::string db = quotedValue(g_config_db_name);
  std::string condition = quotedValue(g_config_clan_tag_min_condition);
  runCommand("mysql " + mysqlLogin() + " -e \"use " + db + "; SELECT raw_name from playerstats WHERE " + condition +
             " ORDER BY raw_name;\" > players.txt");
  runCommand("mysql " + mysqlLogin() + " -e \"use " + db + "; SELECT REVERSE(raw_name) from playerstats WHERE " +
             condition + " ORDER BY REVERSE(raw_name);\" > players-r.txt");
}

void updateTags() {
  std::FILE* script = std::fopen("db_sql_updatetags.txt", "w");
  if (script == nullptr) return;
  std::fprintf(script, "use %s;\n", g_config_db_name.c_str());
  if (isYes(g_config_process_clan_tag_auto)) {
    std::printf("  - auto-detecting tags...\n");
    fetchNameLists();
    runCommand("./TagSift -s -l " + shellWord(g_config_clan_tag_min_length) + " -m " +
               shellWord(g_config_clan_tag_min_matches) + " -w");
    writeTagStatements(script, "tags.txt", "INSERT IGNORE INTO clanstats SET tag='%s';\n");
  }
  if (isYes(g_config_process_clan_tag_add)) {
    std::printf("  - processing custom tags_add.txt...\n");
    writeTagStatements(script, "tags_add.txt", "INSERT IGNORE INTO clanstats SET tag='%s';\n");
  }
  if (isYes(g_config_process_clan_tag_del)) {
    std::printf("  - processing custom tags_del.txt...\n");
    writeTagStatements(script, "tags_del.txt", "DELETE FROM clanstats WHERE tag='%s';\n");
  }
  std::fclose(script);
  std::printf("  - updating database...\n");
  runCommand("mysql " + mysqlLogin() + " < db_sql_updatetags.txt > tmp-s");
}

// The stat of every tag: sum of skill / sum of (games + STD of games) over
// the players whose raw name contains the tag.
void writeStatScript() {
  std::FILE* tags = std::fopen("db_tags.txt", "rb");
  std::FILE* script = std::fopen("db_sql_clanstats.txt", "w");
  if (tags != nullptr && script != nullptr) {
    FixedText line;
    readLine(tags, line);  // the heading
    std::fprintf(script, "USE %s;\n", g_config_db_name.c_str());
    std::fprintf(script, "SELECT @avggames:=STD(games) from playerstats;\n");
    while (readLine(tags, line)) {
      stripNewLineChars(line);
      if (!isSafeTag(line)) continue;
      std::fprintf(script,
                   "select @totalstat:=(SUM(skill)/SUM(games+@avggames)) from playerstats where BINARY raw_name "
                   "like '%%%s%%';\n",
                   line.c_str());
      std::fprintf(script, "update ignore clanstats SET stat:=@totalstat where tag=\"%s\";\n", line.c_str());
    }
  }
  if (tags != nullptr) std::fclose(tags);
  if (script != nullptr) std::fclose(script);
}

}  // namespace

void generateClanStats() {
  if (!isYes(g_config_detect_clan_tag)) return;
  std::printf("\n%s\n", kRule);
  std::printf(" Generating clan stats\n");
  std::printf("%s\n", kRule);
  updateTags();
  runCommand("mysql " + mysqlLogin() + " -e \"use " + quotedValue(g_config_db_name) +
             "; SELECT tag from clanstats;\" > db_tags.txt");
  writeStatScript();
  runCommand("mysql " + mysqlLogin() + " < db_sql_clanstats.txt > tmp-s");
  std::printf("%s\n\n", kRule);
}

}  // namespace season
