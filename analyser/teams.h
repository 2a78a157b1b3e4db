// Teams and identity merging: teams taken from the lines, teams guessed for
// the rest, cut 29-character names merged into their full names, and the
// match label made of the teams' clan tags.
#pragma once

#include <string>
#include <string_view>

#include "player.h"

struct Game;
struct LineEvent;

// Takes the subject's team from a team, entry or flag line.
void assignTeam(Game& game, const LineEvent& event);

// Guesses a team for players without one from whom they killed or died to.
void assignTeamToUnknownPlayers(Game& game);

// Merges the cut record `index` (a 29-character raw name) into the one full
// name that contains it. Returns the merged record's index, or kNobody.
int mergeIdenticalPlayerChopped(Game& game, int index);
// Merges into `index` the cut record whose name it contains. Returns the
// merged record's index, or kNobody.
int mergeIdenticalPlayerNonChopped(Game& game, int index);
// Merges every cut record that has exactly one full name.
void mergeAllIdenticalPlayers(Game& game);

// True when every live player of `team` has `text` in its name (also when
// the team has nobody).
bool allMatched(const Game& game, Team team, std::string_view text);

// The match label ("FFA_PUB", "CTF_<red tag>_vs_<blue tag>", ...).
void detectClans(const Game& game, std::string& destination);
