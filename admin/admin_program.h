// kestrostats-admin: a league's corrections to the season database, from a
// season working directory (the same configuration as kestrostats-s).
//
//   kestrostats-admin [-c CONFIG] [--no-site] ACTION [ARGUMENTS]
//
//   list-games                 one line per recorded game: ID, played, log, map, type
//   show-game ID               the game's record
//   delete-game ID [--recount] takes the game out of the totals and the records
//   merge-players FROM INTO    FROM's games and totals count for INTO from now on
//   unmerge-player FROM        undoes a merge while FROM has played no game since
//   hide-player NAME           the site shows "hidden player" for NAME
//   unhide-player NAME
//   aliases                    the merged names
//   log                        every action taken, with when and by whom
//
// An action that changes the database holds the working directory's lock
// (kestrostats-s.lock) as a season run does, runs as one transaction and is
// recorded in admin_log; then the clan stats and the season site are made
// again (unless --no-site or make_season_site: no). An unknown ID or name
// changes nothing and exits 1.
#pragma once

namespace admin {

// Exit statuses as kestrostats-s: 0, 1 usage or unknown ID/name, 3 database,
// 4 another program (the site), 5 a file, 6 the lock.
int kestrostatsAdmin(int argc, const char* const* argv);

}  // namespace admin
