// The report of one game: both pages, written through one object.
//
// Fragments are printf formats: "%%" comes out as one "%", and values go in
// with the usual conversions. Text from outside the program (names, quotes,
// the map name, header and footer lines) never becomes a format: it is
// written with wrText() or passed as a "%s" argument.
//
// The pages are built in memory: the main page, the weapon page written in
// the middle of it, then the rest of the main page (game_report.h puts them
// together and writes them).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "game.h"
#include "reportconfig.h"

// The header and footer of the pages, read once per run (a file that cannot
// be opened gives nothing).
struct SiteFiles {
  std::string header;
  std::string footer;
};
SiteFiles loadSiteFiles(const ReportConfig& config);

class Report {
 public:
  // Names both pages: "kestrostats_<time>_<game>_<clans>_main.<ext>" and
  // "..._wpn.<ext>" ("kestrostats_realtime_..." in realtime mode).
  Report(const Game& game, const Run& run, const ReportConfig& config, const SiteFiles& site);
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  const Game& game;
  const Run& run;
  const ReportConfig& config;
  const SiteFiles& site;
  // File names (without directory) of the main and the weapon page.
  std::string out_filename_stats;
  std::string out_filename_wepns;
  std::string out_filename_json;  // "<stem>game.json", written when make_json_stats: is "yes"

  // Writes a fragment to the current page; returns the number of bytes.
  int wr(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Writes text verbatim to the current page.
  void wrText(std::string_view text);
  // The weapon page is written in the middle of the main page.
  void switchToWeaponPage() { current_ = &weapon_page_; }
  void switchBackToMainPage() { current_ = &main_page_; }

  const std::string& mainPage() const { return main_page_; }
  const std::string& weaponPage() const { return weapon_page_; }

 private:
  std::string main_page_;
  std::string weapon_page_;
  std::string* current_ = &main_page_;
};

// Writes a player name with its colour codes turned into font tags.
void htmlWriteQ3String(Report& r, std::string_view name);

void htmlReadHeader(Report& r);
void htmlReadFooter(Report& r);
void htmlTitleTable(Report& r);
void htmlPrintMapImage(Report& r);
void htmlDrawCreditsTable(Report& r);
// The stylesheet link of both pages.
void htmlWriteStylesheetLink(Report& r);
