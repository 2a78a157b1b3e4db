#include "site_config.h"

#include <charconv>
#include <cstring>

#include "config_file.h"
#include "text.h"

namespace site {

namespace {

bool readCount(std::string_view text, std::int64_t& value) {
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size() || v < 0) return false;
  value = v;
  return true;
}

// Takes the value of an option given as "--name VALUE" or "--name=VALUE".
bool optionValue(int argc, const char* const* argv, int& i, std::string_view name, std::string& value) {
  std::string_view arg = argv[i];
  if (arg == name) {
    if (i + 1 >= argc) return false;
    value = argv[++i];
    return true;
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

bool fail(std::string& error, std::string message) {
  error = std::move(message);
  return false;
}

}  // namespace

const char* usage() {
  return "usage: kestrostats-site [--out DIR] [--pages DIR] [--min-games N] [season.cfg]\n"
         "  Writes the season site from the season database named in season.cfg\n"
         "  (default s-default.cfg).\n"
         "  --out DIR        the site's folder (default html/season)\n"
         "  --pages DIR      the folder of the game pages, stylesheet and images\n"
         "                   (default: the folder above --out)\n"
         "  --min-games N    games a player needs for the leaderboard\n"
         "                   (default: site_min_games: of the configuration, else 2)\n";
}

bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error) {
  line = CommandLine();
  bool have_config = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string value;
    if (arg == "-h" || arg == "--help") {
      line.help = true;
    } else if (optionValue(argc, argv, i, "--out", value)) {
      if (value.empty()) return fail(error, "--out needs a folder");
      line.out = value;
    } else if (optionValue(argc, argv, i, "--pages", value)) {
      if (value.empty()) return fail(error, "--pages needs a folder");
      line.pages = value;
    } else if (optionValue(argc, argv, i, "--min-games", value)) {
      std::int64_t n = 0;
      if (!readCount(value, n)) return fail(error, "--min-games needs a whole number of 0 or more");
      line.min_games = n;
    } else if (arg.starts_with("-") && arg != "-") {
      error = "unknown or incomplete option " + std::string(arg);
      return false;
    } else if (!have_config) {
      line.config = arg;
      have_config = true;
    } else {
      error = "more than one configuration file given";
      return false;
    }
  }
  return true;
}

Error readSiteSettings(const std::string& path, SiteSettings& settings) {
  FixedText host, name, user, pass, port, socket, clans, min_games, min_attempts, server, title, quotes;
  bool detect_clans = false;
  bool show_quotes = true;
  const TextSetting table[] = {
      {"db_host:", &host, ""},
      {"db_name:", &name, ""},
      {"db_user:", &user, ""},
      {"db_pass:", &pass, ""},
      {"db_port:", &port, ""},
      {"db_socket:", &socket, ""},
      {"detect_clan_tag:", &clans, "no", &detect_clans},
      {"site_min_games:", &min_games, "2"},
      {"site_award_min_attempts:", &min_attempts, "100"},
      {"server_name:", &server, ""},
      {"site_title:", &title, ""},
      {"show_quotes:", &quotes, "yes", &show_quotes},
  };
  setDefaults(table);
  switch (readConfigFile(path, table)) {
    case ConfigRead::kRead:
      break;
    case ConfigRead::kCannotOpen:
      return failWith(Failure::kUsage, "could not open the configuration file \"" + path + "\"");
    case ConfigRead::kCannotRead:
      return failWith(Failure::kUsage, "could not read the configuration file \"" + path + "\"");
  }
  if (host.empty() || name.empty()) {
    return failWith(Failure::kUsage, "the configuration \"" + path + "\" names no database (db_host: and db_name:)");
  }
  settings = SiteSettings();
  settings.login = DatabaseLogin{std::string(host.view()), std::string(name.view()), std::string(user.view()),
                                 std::string(pass.view()), 0, std::string(socket.view())};
  if (!port.empty() && parsePort(port.c_str(), settings.login.port).failed()) {
    return failWith(Failure::kUsage, "db_port: is not a port number: \"" + std::string(port.view()) + "\"");
  }
  settings.detect_clans = detect_clans;
  settings.server_name = seasonServerName(server.view());
  settings.site_title = std::string(title.view());
  settings.show_quotes = show_quotes;
  if (!readCount(min_games.view(), settings.min_games)) {
    return failWith(Failure::kUsage, "site_min_games: must be a whole number of 0 or more, not \"" +
                                         std::string(min_games.view()) + "\"");
  }
  if (!readCount(min_attempts.view(), settings.award_min_attempts)) {
    return failWith(Failure::kUsage, "site_award_min_attempts: must be a whole number of 0 or more, not \"" +
                                         std::string(min_attempts.view()) + "\"");
  }
  return {};
}

Error parsePort(const char* text, unsigned& port) {
  port = 0;
  if (text == nullptr || *text == '\0') return {};
  std::int64_t value = 0;
  if (!readCount(text, value) || value < 1 || value > 65535) {
    return failWith(Failure::kUsage, std::string("MYSQL_TCP_PORT is not a port number: \"") + text + "\"");
  }
  port = static_cast<unsigned>(value);
  return {};
}

}  // namespace site
