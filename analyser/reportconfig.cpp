#include "reportconfig.h"

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "config_file.h"

namespace {

std::array<TextSetting, 10> settingsOf(ReportConfig& c) {
  return {{
      {"file_extension:", &c.file_extension, "html"},
      {"stylesheet:", &c.stylesheet, "c-kestro.css"},
      {"make_weapon_stats:", &c.make_weapon_stats_text, "yes", &c.make_weapon_stats},
      {"use_weapon_colors:", &c.use_weapon_colors_text, "yes", &c.use_weapon_colors},
      {"use_name_colors:", &c.use_name_colors_text, "yes", &c.use_name_colors},
      {"display_unknown_team_players:", &c.display_unknown_team_players_text, "no", &c.display_unknown_team_players},
      {"header_file:", &c.header_file, "c-header.html"},
      {"footer_file:", &c.footer_file, "c-footer.html"},
      {"make_json_stats:", &c.make_json_stats_text, "no", &c.make_json_stats},
      {"show_quotes:", &c.show_quotes_text, "yes", &c.show_quotes},
  }};
}

void printConfigBlock(const ReportConfig& c) {
  const char* rule = "     ------------------------------------------------------------\n";
  std::fputs(rule, stdout);
  std::printf("                             Configuration\n");
  std::fputs(rule, stdout);
  std::printf("                       config file: %s\n", c.path.c_str());
  std::printf("                    file extension: %s\n", c.file_extension.c_str());
  std::printf("                        stylesheet: %s\n", c.stylesheet.c_str());
  std::printf("                make weapon stats?: %s\n", c.make_weapon_stats_text.c_str());
  std::printf("     display unknown team players?: %s\n", c.display_unknown_team_players_text.c_str());
  std::printf("                       header file: %s\n", c.header_file.c_str());
  std::printf("                       footer file: %s\n", c.footer_file.c_str());
  std::fputs(rule, stdout);
}

}  // namespace

ReportConfig::ReportConfig() { setDefaults(settingsOf(*this)); }

Error readConfig(ReportConfig& config) {
  const auto settings = settingsOf(config);
  setDefaults(settings);
  std::string message;
  switch (readConfigFile(config.path.c_str(), settings)) {
    case ConfigRead::kRead:
      printConfigBlock(config);
      return {};
    case ConfigRead::kCannotOpen:
      message = "could not open config file \"" + std::string(config.path.view()) + "\"";
      break;
    case ConfigRead::kCannotRead:
      message = "could not read config file \"" + std::string(config.path.view()) + "\"";
      break;
  }
  std::printf("ERROR: %s\n", message.c_str());
  return failWith(Failure::kUsage, message);
}
