#include "season_config.h"

#include "config_file.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace season {

FixedText g_config;
FixedText g_config_pre_command;
char g_config_command_enclosing_character = ' ';
FixedText g_config_realtime_log;
FixedText g_config_backup_dir;
FixedText g_config_no_of_game_stats;
int g_no_of_game_stats = 0;
FixedText g_game_stats_config_file;
FixedText g_config_db_host;
FixedText g_config_db_name;
FixedText g_config_db_user;
FixedText g_config_db_pass;
FixedText g_config_detect_clan_tag;
FixedText g_config_process_clan_tag_auto;
FixedText g_config_process_clan_tag_add;
FixedText g_config_process_clan_tag_del;
FixedText g_config_clan_tag_min_length;
FixedText g_config_clan_tag_min_matches;
FixedText g_config_clan_tag_min_condition;
FixedText g_config_count_games_once;
FixedText g_config_lock_wait_seconds;
int g_lock_wait_seconds = 300;

namespace {

const TextSetting kTextSettings[] = {
    {"pre_command:", &g_config_pre_command, ""},
    {"realtime_log:", &g_config_realtime_log, "no"},
    {"backup_dir:", &g_config_backup_dir, ""},
    {"no_of_game_stats:", &g_config_no_of_game_stats, ""},
    {"game_stats_config_file:", &g_game_stats_config_file, "c-default.cfg"},
    {"db_host:", &g_config_db_host, ""},
    {"db_name:", &g_config_db_name, ""},
    {"db_user:", &g_config_db_user, ""},
    {"db_pass:", &g_config_db_pass, ""},
    {"detect_clan_tag:", &g_config_detect_clan_tag, "no"},
    {"process_clan_tag_auto:", &g_config_process_clan_tag_auto, "no"},
    {"process_clan_tag_add:", &g_config_process_clan_tag_add, "no"},
    {"process_clan_tag_del:", &g_config_process_clan_tag_del, "no"},
    {"clan_tag_min_length:", &g_config_clan_tag_min_length, "6"},
    {"clan_tag_min_matches:", &g_config_clan_tag_min_matches, "5"},
    {"clan_tag_min_condition:", &g_config_clan_tag_min_condition, "games>1"},
    {"count_games_once:", &g_config_count_games_once, "yes"},
    {"lock_wait_seconds:", &g_config_lock_wait_seconds, "300"},
};

constexpr std::string_view kEnclosingKey = "command_enclosing_character:";

// The enclosing character is the first character of its value line; an
// empty line keeps the blank.
bool readEnclosingCharacter(std::string_view key, std::FILE* file) {
  if (key != kEnclosingKey) return false;
  FixedText value;
  if (readValueLine(file, value) && !value.empty()) g_config_command_enclosing_character = value[0];
  return true;
}

void printListing() {
  const char* rule = "     ------------------------------------------------------------\n";
  std::fputs(rule, stdout);
  std::printf("                             Configuration\n");
  std::fputs(rule, stdout);
  std::printf("           config file: %s\n", g_config.c_str());
  std::printf("         realtime log?: %s\n", g_config_realtime_log.c_str());
  std::printf("            backup dir: %s\n", g_config_backup_dir.c_str());
  std::printf("     no. of game stats: %d\n", g_no_of_game_stats);
  std::printf("     game stats config: %s\n", g_game_stats_config_file.c_str());
  std::printf("               db host: %s\n", g_config_db_host.c_str());
  std::printf("               db name: %s\n", g_config_db_name.c_str());
  std::printf("               db user: %s\n", g_config_db_user.c_str());
  std::printf("               db pass: %s\n", "********");
  std::printf("          detect tags?: %s\n", g_config_detect_clan_tag.c_str());
  std::printf("            auto tags?: %s\n", g_config_process_clan_tag_auto.c_str());
  std::printf("        min. tag cond.: %s\n", g_config_clan_tag_min_condition.c_str());
  std::printf("       min. tag length: %s\n", g_config_clan_tag_min_length.c_str());
  std::printf("      min. tag matches: %s\n", g_config_clan_tag_min_matches.c_str());
  std::printf("      custom add tags?: %s\n", g_config_process_clan_tag_add.c_str());
  std::printf("      custom del tags?: %s\n", g_config_process_clan_tag_del.c_str());
  std::printf("           pre-command: %s\n", g_config_pre_command.c_str());
  std::printf("        enclosing char: %c\n", g_config_command_enclosing_character);
  std::printf("     count games once?: %s\n", g_config_count_games_once.c_str());
  std::printf("     lock wait seconds: %d\n", g_lock_wait_seconds);
  std::fputs(rule, stdout);
}

}  // namespace

bool isPlainDatabaseName(std::string_view name) {
  for (char c : name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
    if (!plain) return false;
  }
  return !name.empty();
}

void readConfig() {
  setDefaults(kTextSettings);
  g_config_command_enclosing_character = ' ';
  std::FILE* file = std::fopen(g_config.c_str(), "r");
  if (file == nullptr) {
    std::printf("ERROR: could not open config file \"%s\"\n", g_config.c_str());
    std::exit(1);
  }
  readSettings(file, kTextSettings, readEnclosingCharacter);
  std::fclose(file);
  // Read as a decimal number; text that is no number gives 0.
  g_no_of_game_stats = std::atoi(g_config_no_of_game_stats.c_str());
  g_lock_wait_seconds = std::max(0, std::atoi(g_config_lock_wait_seconds.c_str()));
  printListing();
  if (g_config_db_host.empty() || g_config_db_name.empty()) {
    std::printf("db configuration is not specified in cfg.");
    std::exit(1);
  }
  if (!isPlainDatabaseName(g_config_db_name)) {
    std::printf("ERROR: db name \"%s\" may hold only letters, digits, \"_\" and \"$\"\n", g_config_db_name.c_str());
    std::exit(1);
  }
}

}  // namespace season
