#include "reportconfig.h"

#include "config_file.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

FixedText g_config;
FixedText g_config_file_extension;
FixedText g_config_stylesheet;
FixedText g_config_make_weapon_stats;
FixedText g_config_use_weapon_colors;
FixedText g_config_use_name_colors;
FixedText g_config_display_unknown_team_players;
FixedText g_config_header_file;
FixedText g_config_footer_file;

namespace {

const TextSetting kSettings[] = {
    {"file_extension:", &g_config_file_extension, "html"},
    {"stylesheet:", &g_config_stylesheet, "c-kestro.css"},
    {"make_weapon_stats:", &g_config_make_weapon_stats, "yes"},
    {"use_weapon_colors:", &g_config_use_weapon_colors, "yes"},
    {"use_name_colors:", &g_config_use_name_colors, "yes"},
    {"display_unknown_team_players:", &g_config_display_unknown_team_players, "no"},
    {"header_file:", &g_config_header_file, "c-header.html"},
    {"footer_file:", &g_config_footer_file, "c-footer.html"},
};

void printConfigBlock() {
  const char* rule = "     ------------------------------------------------------------\n";
  std::fputs(rule, stdout);
  std::printf("                             Configuration\n");
  std::fputs(rule, stdout);
  std::printf("                       config file: %s\n", g_config.c_str());
  std::printf("                    file extension: %s\n", g_config_file_extension.c_str());
  std::printf("                        stylesheet: %s\n", g_config_stylesheet.c_str());
  std::printf("                make weapon stats?: %s\n", g_config_make_weapon_stats.c_str());
  std::printf("     display unknown team players?: %s\n", g_config_display_unknown_team_players.c_str());
  std::printf("                       header file: %s\n", g_config_header_file.c_str());
  std::printf("                       footer file: %s\n", g_config_footer_file.c_str());
  std::fputs(rule, stdout);
}

}  // namespace

void readConfig() {
  setDefaults(kSettings);
  std::FILE* file = std::fopen(g_config.c_str(), "r");
  if (file == nullptr) {
    std::printf("ERROR: could not open config file \"%s\"\n", g_config.c_str());
    std::exit(1);
  }
  readSettings(file, kSettings);
  printConfigBlock();
  std::fclose(file);
}
