// The tables of the main page: the score block, the player list and, in team
// games, one stat card per player. They only read the player table.
#pragma once

class Report;

// The score block: team totals around the map picture, or the free-for-all banner.
void htmlDrawTeamStatTable(Report& r);
// Two team tables side by side (and the players without a team when so
// configured), or one ranked table in free-for-all.
void htmlDrawPlayerListTable(Report& r);
// One card per player of a team game, red on the left and blue on the right.
void htmlDrawPlayerStatTable(Report& r);
