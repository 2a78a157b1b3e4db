// The command line of kestrostats-site and the settings it takes from the
// season configuration.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "database_reader.h"
#include "run_status.h"

namespace site {

struct CommandLine {
  std::string config = "s-default.cfg";
  std::filesystem::path out = "html/season";
  std::optional<std::filesystem::path> pages;  // default: the parent of `out`
  std::optional<std::int64_t> min_games;       // overrides site_min_games:
  bool help = false;
};

// Reads `kestrostats-site [--out DIR] [--pages DIR] [--min-games N] [season.cfg]`
// (and -h/--help). False with the reason in `error` for anything else.
bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);

// The usage text.
const char* usage();

struct SiteSettings {
  DatabaseLogin login;                   // db_host:, db_name:, db_user:, db_pass:, db_port:, db_socket:
  bool detect_clans = false;             // detect_clan_tag: "yes"
  std::int64_t min_games = 2;            // site_min_games:
  std::int64_t award_min_attempts = 100; // site_award_min_attempts:
  std::string server_name;               // server_name:, as the season resolves it (seasonServerName)
  std::string site_title;                // site_title: the league's or server's name; empty: none
  bool show_quotes = true;               // show_quotes: "yes" (the default)
};

// Reads the season configuration (the shared key/value format). A usage
// failure with its reason when it cannot be read (a folder too), when the
// database host or name is missing, or when a site_ setting is not a
// whole number of 0 or more, or when db_port: is not a port number. Without
// db_port: the port is 0 (MYSQL_TCP_PORT may give one, see parsePort).
Error readSiteSettings(const std::string& path, SiteSettings& settings);

// The port as the mysql client takes it from MYSQL_TCP_PORT: unset or empty
// gives 0 (the library's default). A usage failure for anything but 1 to
// 65535.
Error parsePort(const char* text, unsigned& port);

}  // namespace site
