// The report configuration file of kestrostats-c: page extension, stylesheet,
// header and footer files, and the yes/no switches of the report.
#pragma once

#include "run_status.h"
#include "text.h"

// A yes/no setting comes twice: its text as written (`..._text`, for the
// configuration block) and its switch, on exactly when the text is "yes".
struct ReportConfig {
  FixedText path;  // the configuration file
  FixedText file_extension;
  FixedText stylesheet;
  FixedText make_weapon_stats_text;
  bool make_weapon_stats = false;
  FixedText use_weapon_colors_text;
  bool use_weapon_colors = false;
  FixedText use_name_colors_text;
  bool use_name_colors = false;
  FixedText display_unknown_team_players_text;
  bool display_unknown_team_players = false;
  FixedText header_file;
  FixedText footer_file;
  FixedText make_json_stats_text;  // "yes": a JSON file of the game beside its pages
  bool make_json_stats = false;
  FixedText show_quotes_text;      // "yes" (the default): each player's card shows the last quote
  bool show_quotes = false;

  // Every setting at its default (the configuration of an empty file).
  ReportConfig();
};

// Reads the file at config.path over the defaults and prints the
// configuration block. A usage failure, after "ERROR: could not open config
// file" (or "could not read") on standard output, when the file cannot be
// opened (a folder cannot) or read to its end; the caller names it on
// standard error.
Error readConfig(ReportConfig& config);
