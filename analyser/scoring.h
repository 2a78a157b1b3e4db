// Ratings and scores: the weapon factors, the end-of-game totals, the order
// of the player table and the team sums the report asks for.
#pragma once

#include <string_view>

// Weapon factor of the kestro points (single precision); 0 for non-weapons.
float getKestroPoints(int weapon);

// End-of-game totals, scores and rating corrections; once per written game.
void addUpTables();

// Orders the live players by skill, highest first (a stable bubble sort).
// The per-opponent columns of every record move with their players; the
// totals column stays where it is.
void sort();
