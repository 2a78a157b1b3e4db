// The season configuration file and its settings.
#pragma once

#include <string>
#include <string_view>

#include "config_file.h"
#include "run_status.h"
#include "text.h"

namespace season {

// A yes/no setting comes twice: its text as written (`..._text`, for the
// listing) and its switch, on exactly when the text is "yes"; a number
// likewise has its text and its value.
struct SeasonConfig {
  FixedText path;  // the season configuration file
  FixedText pre_command;
  char command_enclosing_character = ' ';
  FixedText realtime_log_text;
  bool realtime_log = false;
  FixedText backup_dir;
  FixedText no_of_game_stats_text;
  int no_of_game_stats = 0;  // read from no_of_game_stats_text
  FixedText game_stats_config_file;
  FixedText db_host;
  FixedText db_name;
  FixedText db_user;
  FixedText db_pass;
  // The server's TCP port (empty: the client's default, or MYSQL_TCP_PORT)
  // and, for a server on this machine, its socket file.
  FixedText db_port;
  FixedText db_socket;
  FixedText detect_clan_tag_text;
  bool detect_clan_tag = false;
  FixedText process_clan_tag_auto_text;
  bool process_clan_tag_auto = false;
  FixedText process_clan_tag_add_text;
  bool process_clan_tag_add = false;
  FixedText process_clan_tag_del_text;
  bool process_clan_tag_del = false;
  FixedText clan_tag_min_length;
  FixedText clan_tag_min_matches;
  FixedText clan_tag_min_condition;
  // "yes" (the default): every game is counted once, by its fingerprint,
  // however often its log is read; anything else adds a game again each
  // time it is read.
  FixedText count_games_once_text;
  bool count_games_once = false;
  // Seconds a run waits for another run in the same working directory to
  // finish before it gives up.
  FixedText lock_wait_seconds_text;
  // "yes" (the default): a successful run ends by having ./kestrostats-site
  // write the season site from the database.
  FixedText make_season_site_text;
  bool make_season_site = false;
  int lock_wait_seconds = 300;  // read from lock_wait_seconds_text
  // "yes": only errors and one summary line (as the -q option).
  FixedText quiet_text;
  bool quiet = false;
  // The game server this working directory feeds (server_name:): its games
  // and its own page rotation are recorded under this name, so that several
  // servers can share one database. Empty: the working directory's name.
  FixedText server_name;
  // What is counted. "yes" (the default) for each: the bots a server log
  // names, and games that ended without the server's end of game (a vote,
  // a map change, a restart) count like any other. ignore_names: a file of
  // raw names (one a line, as the log writes them) never to count; a
  // missing file names none.
  FixedText count_bots_text;
  bool count_bots = false;
  FixedText count_aborted_games_text;
  bool count_aborted_games = false;
  FixedText ignore_names;
  // "yes" (the default): the site shows the players' last quotes.
  FixedText show_quotes_text;
  bool show_quotes = false;
  std::string server;  // the name in use (seasonServerName of server_name)

  // Every setting at its default.
  SeasonConfig();
};

// Reads the file at config.path over the defaults, printing nothing.
ConfigRead loadConfig(SeasonConfig& config);

// Reads the file at config.path over the defaults and prints the
// configuration listing. A usage failure, after its console text on
// standard output, when the file cannot be opened or read, when the
// database host or name is missing, when the database name is not a plain
// identifier, or when db_port: is not a port number; the caller names it on
// standard error.
Error readConfig(SeasonConfig& config);

// True when the database name is a plain identifier (letters, digits, "_",
// "$"): it is written into SQL scripts and commands unquoted.
bool isPlainDatabaseName(std::string_view name);

}  // namespace season
