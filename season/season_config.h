// The season configuration file and its settings.
#pragma once

#include "text.h"

namespace season {

extern FixedText g_config;  // path of the season configuration file
extern FixedText g_config_pre_command;
extern char g_config_command_enclosing_character;
extern FixedText g_config_realtime_log;
extern FixedText g_config_backup_dir;
extern FixedText g_config_no_of_game_stats;
extern int g_no_of_game_stats;
extern FixedText g_game_stats_config_file;
extern FixedText g_config_db_host;
extern FixedText g_config_db_name;
extern FixedText g_config_db_user;
extern FixedText g_config_db_pass;
extern FixedText g_config_detect_clan_tag;
extern FixedText g_config_process_clan_tag_auto;
extern FixedText g_config_process_clan_tag_add;
extern FixedText g_config_process_clan_tag_del;
extern FixedText g_config_clan_tag_min_length;
extern FixedText g_config_clan_tag_min_matches;
extern FixedText g_config_clan_tag_min_condition;
// "yes" (the default): every game is counted once, by its fingerprint, however
// often its log is read; anything else adds a game again each time it is read.
extern FixedText g_config_count_games_once;
// Seconds a run waits for another run in the same working directory to
// finish before it gives up (text; read into g_lock_wait_seconds).
extern FixedText g_config_lock_wait_seconds;
extern int g_lock_wait_seconds;

// Sets the defaults, reads g_config and prints the configuration listing.
// Ends the program with status 1 when the file cannot be opened, when the
// database host or name is missing, or when the database name is not a
// plain identifier.
void readConfig();

// True when the database name is a plain identifier (letters, digits, "_",
// "$"): it is written into SQL scripts and commands unquoted.
bool isPlainDatabaseName(std::string_view name);

}  // namespace season
