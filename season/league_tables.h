// The tables a league's administration keeps beside the season's, made by
// every season run (schemaScript) and by kestrostats-admin:
//
//   player_aliases   a merged name and the player it now counts for, with
//                    what an unmerge needs (the target's streaks before, the
//                    newest game then)
//   merged_players   the merged player's totals row as it was (playerstats'
//                    own columns)
//   merged_kills     the game_kills rows of the merged player's games that
//                    the merge rewrote, as they were
//   hidden_players   players who asked to be shown as "hidden player"
//   admin_log        every action: what, on what, when, by which system user
//
// and two columns: countedgames.deleted (1: the game was deleted, its
// fingerprint stays so that its log does not bring it back) and
// game_players.played_as (the name the player played under when an alias
// mapped it to another player; NULL when the same).
#pragma once

#include <string>

namespace season {

std::string leagueTablesScript();

}  // namespace season
