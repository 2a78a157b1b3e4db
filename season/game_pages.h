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

namespace season {

// After a log's games are committed: has kestrostats-c write the pages the
// log's games are owed (when slots are kept), applies the rotation, then
// deletes in one command the pages it displaced, those of dropped slots
// ("db_cleanhtml.txt") and season pages in html/ that no slot holds (left by
// a killed run). Pages that do not exist (placeholders) are left alone.
void generateGameStats(SeasonRun& s);

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
