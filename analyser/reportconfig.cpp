#include "reportconfig.h"

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

struct Setting {
  std::string_view key;
  FixedText* value;
  std::string_view default_value;
};

const Setting kSettings[] = {
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
  for (const Setting& s : kSettings) s.value->assign(s.default_value);
  std::FILE* file = std::fopen(g_config.c_str(), "r");
  if (file == nullptr) {
    std::printf("ERROR: could not open config file \"%s\"\n", g_config.c_str());
    std::exit(1);
  }
  FixedText line;
  while (readLine(file, line)) {
    if (line[0] == '#') continue;
    stripNewLineChars(line);
    for (const Setting& s : kSettings) {
      if (line.view() != s.key) continue;
      // The next line, whatever it holds, is the value; a key on the last
      // line keeps its default.
      FixedText value;
      if (readLine(file, value)) {
        stripNewLineChars(value);
        *s.value = value;
      }
      break;
    }
  }
  printConfigBlock();
  std::fclose(file);
}
