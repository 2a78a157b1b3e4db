// The page writer: every page of a game report is written through it.
//
// Fragments are printf formats: "%%" comes out as one "%", and values go in
// with the usual conversions. Text from outside the program (names, quotes,
// the map name, header and footer lines) never becomes a format: it is
// written with wrText() or passed as a "%s" argument.
//
// The first wr() of a game names both pages and opens the main page. Pages
// are written as "html/<name>.part" and renamed to "html/<name>main.<ext>"
// and "..._wpn.<ext>" when both are complete; only then are the two rotation
// statements appended to "db_sql_gamestats.txt". A game whose pages could not
// be written completely leaves no page and no rotation statement behind.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The page being written; null between games.
extern std::FILE* fpw;
// The rotation file "db_sql_gamestats.txt", opened for appending by the
// driver for the whole run (null when it could not be opened).
extern std::FILE* fp_sql_gamestats;
// File names (without directory) of the current game's main and weapon page.
extern std::string out_filename_stats;
extern std::string out_filename_wepns;
// Number of games of this run whose pages or rotation statements could not
// be written; the program's exit status reports them.
extern int g_failed_games;

// Writes a fragment, opening the main page first when no page is open.
// Returns what the formatted write returns.
int wr(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes text verbatim to the open page.
void wrText(std::string_view text);

// Writes a player name with its colour codes turned into font tags.
void htmlWriteQ3String(std::string_view name);

// Copy the configured header or footer file into the page (nothing when it
// cannot be opened).
void htmlReadHeader();
void htmlReadFooter();

void htmlTitleTable();
void htmlPrintMapImage();
void htmlDrawCreditsTable();

// Closes the main page and creates the weapon page; reopens the main page for
// appending. Both end the program with "ERROR: couldnt open file to write"
// (status 1, the game's partial pages removed) when the file cannot be opened.
void switchToWeaponPage();
void switchBackToMainPage();

// The stylesheet link of both pages.
void htmlWriteStylesheetLink();

// Writes the whole report of the game in the player table, and enters it
// into the rotation when both pages are complete.
void makeHtml();
