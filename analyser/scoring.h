// Ratings and scores: the weapon factors, the end-of-game totals and the
// team sums the report asks for.
#pragma once

#include <string_view>

#include "player.h"

struct Game;

// The final score of team `team` (kRed, kBlue) as the pages show it: CTF
// captures, clan-arena rounds, otherwise the team's frags. When the events
// gave no score at all (0 : 0) and the server stated its own final score
// (GameFacts), the server's figures are the game's.
int teamScore(const Game& game, Team team);

// Ratings (skill and combat) stay within plus or minus this bound. Every
// kill adds a share of the victim's rating to the killer's, so in a long
// duel both grow geometrically and reach infinity after some thousands of
// kills; no page or database can take that. No real game comes near it.
inline constexpr float kRatingLimit = 1.0e6f;

// The rating cut to [-kRatingLimit, kRatingLimit]; a rating that is not a
// number becomes 0.
float clampRating(float rating);

// Weapon factor of the kestro points (single precision); 0 for non-weapons.
float getKestroPoints(int weapon);

// End-of-game totals, scores and rating corrections; once per written game,
// after merging and before the awards.
void addUpTables(Game& game);


// Sum of a field over one team's live players, by key ("caps_red",
// "frags_noteam", ...); 0 for an unknown key.
int getStats(const Game& game, std::string_view key);
// Sum of skill ("kestro", "kestro_red", ...) or combat ("combat_blue", ...)
// in double precision; 0 for an unknown key.
double getStatsDouble(const Game& game, std::string_view key);

// The opponent who killed `player` most often (the player itself when nobody
// beat its suicides), and the one it killed most often. Ties go to the lower
// index.
int getWorstEnemy(const Game& game, int player);
int getEasiestPrey(const Game& game, int player);
