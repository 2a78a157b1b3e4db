// Glicko-2 ratings (Mark E. Glickman, "Example of the Glicko-2 system",
// Boston University, 2013): a rating, its deviation (how sure it is) and a
// volatility (how much the player's strength moves), updated once per
// rating period from the period's results against rated opponents.
//
// The season treats every game as one rating period of the players in it.
// Everything here is plain arithmetic on doubles: the same games in the
// same order give the same ratings on every machine this builds on.
#pragma once

#include <vector>

namespace site {

struct Glicko2Settings {
  double tau = 0.5;               // the system constant: how far volatility may move in a period
  double start_rating = 1500;
  double start_deviation = 350;
  double start_volatility = 0.06;
};

struct Glicko2Rating {
  double rating = 1500;
  double deviation = 350;
  double volatility = 0.06;
};

// One result of a period: against an opponent rated as given (their rating
// before the period), `score` 1 for a win, 0.5 for a draw, 0 for a loss.
struct Glicko2Result {
  Glicko2Rating opponent;
  double score = 0;
};

// The player's rating after a period with these results; with none, only
// the deviation grows (the player was not seen).
Glicko2Rating glicko2Update(const Glicko2Rating& player, const std::vector<Glicko2Result>& results,
                            const Glicko2Settings& settings = {});

}  // namespace site
