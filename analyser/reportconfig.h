// The report configuration file of kestrostats-c: page extension, stylesheet,
// header and footer files, and the yes/no switches of the report.
#pragma once

#include "run_status.h"
#include "text.h"

struct ReportConfig {
  FixedText path;  // the configuration file
  FixedText file_extension;
  FixedText stylesheet;
  FixedText make_weapon_stats;
  FixedText use_weapon_colors;
  FixedText use_name_colors;
  FixedText display_unknown_team_players;
  FixedText header_file;
  FixedText footer_file;
  FixedText make_json_stats;  // "yes": a JSON file of the game beside its pages
  FixedText show_quotes;      // "yes" (the default): each player's card shows the last quote

  // Every setting at its default (the configuration of an empty file).
  ReportConfig();
};

// Reads the file at config.path over the defaults and prints the
// configuration block. A usage failure, after "ERROR: could not open config
// file" (or "could not read") on standard output, when the file cannot be
// opened (a folder cannot) or read to its end; the caller names it on
// standard error.
Error readConfig(ReportConfig& config);
