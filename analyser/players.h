// The player table of a game and the handling of player names.
// The record itself, and how the table is laid out: player.h.
#pragma once

#include <string_view>

#include "player.h"
#include "text.h"

struct Game;

// Resets one record, or every record, to a free one (resetPlayer).
void initPlayer(Game& game, int index);
void initPlayers(Game& game);

// Number of live players: records from index 0 up to the first free one, at most 64.
int getTotalPlayers(const Game& game);
// Number of live players whose team equals `team`.
int getTeamTotalPlayers(const Game& game, Team team);
// First live index whose raw_name equals `raw_name` exactly, else kNobody.
int getPlayerIndex(const Game& game, std::string_view raw_name);
// First live index whose colour-free name equals `name`, else kNobody.
int getPlayerIndexUsingStrippedName(const Game& game, std::string_view name);
// True when `index` is a live player.
bool isLivePlayer(const Game& game, int index);

// Adds a player under its raw name. Ignores "", the no-quote marker and names
// already present. A full table evicts the least skilled disconnected player,
// or refuses the name when nobody has left.
void addPlayer(Game& game, std::string_view raw_name);
// Removes one player; the table stays without gaps and every per-opponent
// column keeps following its player.
void removePlayer(Game& game, int index);
// Orders the live players by skill, highest first (a stable bubble sort).
// The per-opponent columns of every record move with their players; the
// totals column stays where it is.
void sort(Game& game);
// "TOTAL PLAYERS -> n" and " - name" per live player.
void printPlayers(const Game& game);

// Copies `source` without colour codes ("^" and the character after it);
// "^^" is copied as one "^".
void stripColorCodes(std::string_view source, FixedText& destination);
// Undoes renames and markers: raw_name = original_name, name recomputed.
void restoreOriginalPlayerNames(Game& game);
// Marks players whose name is empty or only blanks, so they stay visible.
void fixPlayerNames(Game& game);
// The sender of a chat line, or kNobody when the line is no chat. A line is
// chat when the text before one of its "^7: " separators is a live player's
// raw name ("name^7: text"), or, in the team form "(name^7): text", the text
// between the "(" and one of its "^7): " separators. Names may hold the
// separator themselves, so every occurrence is tried from the left; a line
// whose prefix names nobody known (an obituary of a player named "a^7: b")
// is not chat.
int chatSender(const Game& game, std::string_view line);
// Collects a chat line as its sender's quote; other lines are ignored.
void scanForQuotes(Game& game, std::string_view line);
