// The statements of kestrostats-admin's actions, each one transaction that
// ends by recording the action in admin_log (league_tables.h). Names go in
// as hexadecimal literals (X'..'), so that no byte of a name, whatever it
// holds, can end its literal; game IDs are numbers the program has read.
//
// What each keeps true: every player's totals are the sums of what the
// records hold (and of the games counted before there were records), the
// maxima the largest recorded, head_to_head the sum of game_kills.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace admin {

// Who did it, and from which working directory's server.
struct ActionBy {
  std::string user;
  std::string server;
};

// X'..' of the bytes of `text` (X'' for the empty text).
std::string hexLiteral(std::string_view text);

// Deletes game `id`: its figures come off each of its players' totals (a
// player left with no game loses the row), the streaks are the largest of
// the player's remaining records (kept as they are for a player who also
// has games without a record, whose largest is unknown), head_to_head loses
// its kills, and the record goes. The fingerprint stays in countedgames,
// marked deleted, so that reading the log again does not count the game
// again; with `recount` it goes too, and the next read counts it anew.
std::string deleteGameScript(std::int64_t id, bool recount, const ActionBy& by);

// Merges player `from` into `into`: the totals add up (the streaks are the
// larger), from's records and kills name `into`, and from becomes an alias
// whose later games count for `into`. What an unmerge needs is kept:
// from's totals row, the kill rows the merge rewrote, into's streaks.
// Aliases of `from` become aliases of `into`. Both players must have rows.
std::string mergeScript(std::string_view from, std::string_view into, const ActionBy& by);

// Undoes the merge of alias `from` into `into`, which must have counted no
// game of `from` since (the program checks): into's totals lose what from
// brought, from's row and kills come back, the alias goes.
std::string unmergeScript(std::string_view from, std::string_view into, const ActionBy& by);

// Hides or shows again a player's name on the site.
std::string hideScript(std::string_view raw_name, const ActionBy& by);
std::string unhideScript(std::string_view raw_name, const ActionBy& by);

}  // namespace admin
