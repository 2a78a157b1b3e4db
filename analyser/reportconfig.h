// The report configuration file of kestrostats-c: page extension, stylesheet,
// header and footer files, and the yes/no switches of the report.
#pragma once

#include "text.h"

extern FixedText g_config;  // path of the configuration file
extern FixedText g_config_file_extension;
extern FixedText g_config_stylesheet;
extern FixedText g_config_make_weapon_stats;
extern FixedText g_config_use_weapon_colors;
extern FixedText g_config_use_name_colors;
extern FixedText g_config_display_unknown_team_players;
extern FixedText g_config_header_file;
extern FixedText g_config_footer_file;

// Sets the defaults, reads g_config and prints the configuration block.
// A file that cannot be opened ends the program with exit status 1.
void readConfig();
