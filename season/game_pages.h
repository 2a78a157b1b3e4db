// The per-game pages of the season: kestrostats-c writes them, this
// server's gamestats slots keep the newest no_of_game_stats of them, and the
// pages that fall out are deleted.
//
// Only games that are owed pages get them: the games newly counted from the
// log, and games this server counted in a run that ended before their pages
// were made. When the log holds other counted games (it grew since it was
// last read), kestrostats-c is given the log without their lines
// ("kestro-s-pages.log"); otherwise it is given the log as always.
// kestrostats-c's rotation statements are translated into one transaction
// on this server's slots that also records that the games have their pages,
// so a run killed at any moment leaves either the old rotation with the
// games still owed their pages, or the new one with none owed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "season_config.h"
#include "season_run.h"
#include "shell_launch.h"

namespace season {

// Which games of the log get pages: those owed them, and the counted games
// kestrostats-c is not to see.
struct PagesPlan {
  std::vector<const GameSpan*> left_out;  // counted games that have their pages (or are another run's)
  std::vector<std::string> made;          // fingerprints to record as having their pages
  std::size_t wanted = 0;                 // games to be given pages
};

// kestrostats-c making a log's pages in the background, while the log's
// games are applied to the database:
//
//   startGamePages ──► kestrostats-c running (attempted, started)
//        │ games committed                  │ games not committed
//   generateGameStats: wait, rotate    dropGamePages: wait, its pages removed
//
// Its pages reach the rotation only after the games are committed, so a run
// that fails or is killed before that leaves them unheld: the next run
// removes them (and, since kestrostats-c inherits the season lock, starts
// only once it is done).
struct GamePages {
  bool attempted = false;     // kestrostats-c was to be started for `plan`
  bool started = false;       // it was started and not yet collected
  PagesPlan plan;
  BackgroundCommand report;
};

// Starts kestrostats-c on the pages the log's games are owed, when slots
// are kept and there are any.
GamePages startGamePages(SeasonRun& s);

// After a log's games are committed: waits for kestrostats-c (started now
// when it was not, or started again when the games owed pages changed
// meanwhile), applies the rotation, then deletes in one command the pages
// it displaced, those of dropped slots ("db_cleanhtml.txt") and season pages
// in html/ that no slot holds (left by a killed run). Pages that do not
// exist (placeholders) are left alone.
void generateGameStats(SeasonRun& s, GamePages& started);

// When the games were not committed: waits for kestrostats-c and removes
// the pages it wrote.
void dropGamePages(SeasonRun& s, GamePages& pages);

// The rotation transaction for `pages` (main page names, in the order
// kestrostats-c wrote them): each takes this server's slot holding the
// smallest name, under a lock on all of this server's slots; those of this
// server's games whose fingerprints are in `made` are recorded as having
// their pages, and their records name the pages (the weapon page when one
// is in html/). The client (run
// with -N) prints "displaced<TAB>name" per page and "kept<TAB>name" for
// every slot of every server afterwards.
std::string rotationScript(const SeasonConfig& config, const std::vector<std::string>& pages,
                           const std::vector<std::string>& made);

// The stem ("kestrostats_<date>_<time>_..._") of a file kestrostats-c writes
// for a season game: a main page, a weapon page, a JSON file, or one of them
// still under its temporary ".part" name (then `temporary` is set). Empty
// for every other name, realtime pages included.
std::string seasonPageStem(std::string_view name, bool& temporary);

// Removes the temporary files of the page steps.
void removePageFiles();

}  // namespace season
