#include "season_config.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "config_file.h"

namespace season {

namespace {

std::array<TextSetting, 27> settingsOf(SeasonConfig& c) {
  return {{
      {"pre_command:", &c.pre_command, ""},
      {"realtime_log:", &c.realtime_log_text, "no", &c.realtime_log},
      {"backup_dir:", &c.backup_dir, ""},
      {"no_of_game_stats:", &c.no_of_game_stats_text, ""},
      {"game_stats_config_file:", &c.game_stats_config_file, "c-default.cfg"},
      {"db_host:", &c.db_host, ""},
      {"db_name:", &c.db_name, ""},
      {"db_user:", &c.db_user, ""},
      {"db_pass:", &c.db_pass, ""},
      {"db_port:", &c.db_port, ""},
      {"db_socket:", &c.db_socket, ""},
      {"detect_clan_tag:", &c.detect_clan_tag_text, "no", &c.detect_clan_tag},
      {"process_clan_tag_auto:", &c.process_clan_tag_auto_text, "no", &c.process_clan_tag_auto},
      {"process_clan_tag_add:", &c.process_clan_tag_add_text, "no", &c.process_clan_tag_add},
      {"process_clan_tag_del:", &c.process_clan_tag_del_text, "no", &c.process_clan_tag_del},
      {"clan_tag_min_length:", &c.clan_tag_min_length, "6"},
      {"clan_tag_min_matches:", &c.clan_tag_min_matches, "5"},
      {"clan_tag_min_condition:", &c.clan_tag_min_condition, "games>1"},
      {"count_games_once:", &c.count_games_once_text, "yes", &c.count_games_once},
      {"lock_wait_seconds:", &c.lock_wait_seconds_text, "300"},
      {"make_season_site:", &c.make_season_site_text, "yes", &c.make_season_site},
      {"quiet:", &c.quiet_text, "no", &c.quiet},
      {"server_name:", &c.server_name, ""},
      {"count_bots:", &c.count_bots_text, "yes", &c.count_bots},
      {"count_aborted_games:", &c.count_aborted_games_text, "yes", &c.count_aborted_games},
      {"ignore_names:", &c.ignore_names, "ignore_names"},
      {"show_quotes:", &c.show_quotes_text, "yes", &c.show_quotes},
  }};
}

constexpr std::string_view kEnclosingKey = "command_enclosing_character:";

void printListing(const SeasonConfig& c) {
  const char* rule = "     ------------------------------------------------------------\n";
  std::fputs(rule, stdout);
  std::printf("                             Configuration\n");
  std::fputs(rule, stdout);
  std::printf("           config file: %s\n", c.path.c_str());
  std::printf("         realtime log?: %s\n", c.realtime_log_text.c_str());
  std::printf("            backup dir: %s\n", c.backup_dir.c_str());
  std::printf("     no. of game stats: %d\n", c.no_of_game_stats);
  std::printf("     game stats config: %s\n", c.game_stats_config_file.c_str());
  std::printf("               db host: %s\n", c.db_host.c_str());
  std::printf("               db name: %s\n", c.db_name.c_str());
  std::printf("               db user: %s\n", c.db_user.c_str());
  std::printf("               db pass: %s\n", "********");
  if (!c.db_port.empty()) std::printf("               db port: %s\n", c.db_port.c_str());
  if (!c.db_socket.empty()) std::printf("             db socket: %s\n", c.db_socket.c_str());
  std::printf("          detect tags?: %s\n", c.detect_clan_tag_text.c_str());
  std::printf("            auto tags?: %s\n", c.process_clan_tag_auto_text.c_str());
  std::printf("        min. tag cond.: %s\n", c.clan_tag_min_condition.c_str());
  std::printf("       min. tag length: %s\n", c.clan_tag_min_length.c_str());
  std::printf("      min. tag matches: %s\n", c.clan_tag_min_matches.c_str());
  std::printf("      custom add tags?: %s\n", c.process_clan_tag_add_text.c_str());
  std::printf("      custom del tags?: %s\n", c.process_clan_tag_del_text.c_str());
  std::printf("           pre-command: %s\n", c.pre_command.c_str());
  std::printf("        enclosing char: %c\n", c.command_enclosing_character);
  std::printf("     count games once?: %s\n", c.count_games_once_text.c_str());
  std::printf("     lock wait seconds: %d\n", c.lock_wait_seconds);
  std::printf("           server name: %s\n", c.server.c_str());
  std::printf("           count bots?: %s\n", c.count_bots_text.c_str());
  std::printf("  count aborted games?: %s\n", c.count_aborted_games_text.c_str());
  std::printf("          ignore names: %s\n", c.ignore_names.c_str());
  std::fputs(rule, stdout);
}

}  // namespace

SeasonConfig::SeasonConfig() {
  setDefaults(settingsOf(*this));
  server = seasonServerName(server_name.view());
}

bool isPlainDatabaseName(std::string_view name) {
  for (char c : name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
    if (!plain) return false;
  }
  return !name.empty();
}

namespace {

bool isPortNumber(std::string_view text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  int port = std::atoi(std::string(text).c_str());
  return port >= 1 && port <= 65535;
}

}  // namespace

ConfigRead loadConfig(SeasonConfig& config) {
  const auto settings = settingsOf(config);
  setDefaults(settings);
  config.command_enclosing_character = ' ';
  // The enclosing character is the first character of its value line; an
  // empty line keeps the blank.
  const ConfigRead read = readConfigFile(config.path.c_str(), settings, [&config](std::string_view key, std::FILE* from) {
    if (key != kEnclosingKey) return false;
    FixedText value;
    if (readValueLine(from, value) && !value.empty()) config.command_enclosing_character = value[0];
    return true;
  });
  if (read != ConfigRead::kRead) return read;
  // Read as a decimal number; text that is no number gives 0.
  config.no_of_game_stats = std::atoi(config.no_of_game_stats_text.c_str());
  config.lock_wait_seconds = std::max(0, std::atoi(config.lock_wait_seconds_text.c_str()));
  config.server = seasonServerName(config.server_name.view());
  return ConfigRead::kRead;
}

namespace {

// A configuration that cannot be used: the console text on standard output,
// as the run has always printed it, and the failure for standard error.
Error refuse(const char* console_text, std::string message) {
  std::printf("%s", console_text);
  return failWith(Failure::kUsage, std::move(message));
}

Error refuse(std::string message) {
  std::printf("ERROR: %s\n", message.c_str());
  return failWith(Failure::kUsage, std::move(message));
}

}  // namespace

Error readConfig(SeasonConfig& config) {
  const std::string path(config.path.view());
  switch (loadConfig(config)) {
    case ConfigRead::kRead:
      break;
    case ConfigRead::kCannotOpen:
      return refuse("could not open config file \"" + path + "\"");
    case ConfigRead::kCannotRead:
      return refuse("could not read config file \"" + path + "\"");
  }
  printListing(config);
  if (config.db_host.empty() || config.db_name.empty()) {
    return refuse("db configuration is not specified in cfg.", "the configuration names no database (db_host:, db_name:)");
  }
  if (!isPlainDatabaseName(config.db_name)) {
    return refuse("db name \"" + std::string(config.db_name.view()) + "\" may hold only letters, digits, \"_\" and \"$\"");
  }
  if (!config.db_port.empty() && !isPortNumber(config.db_port)) {
    return refuse("db_port: \"" + std::string(config.db_port.view()) + "\" is not a port number (1 to 65535)");
  }
  return {};
}

}  // namespace season
