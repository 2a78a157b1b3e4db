// Steps of the line pipeline that both drivers take the same way.
#pragma once

#include <string_view>

#include "keywords.h"
#include "text.h"

struct Game;
struct LineEvent;

// Cuts the line end and turns unsafe and non-printable characters into "_".
void cleanLine(FixedText& line, HighBytes high = HighBytes::kReplaced);

// A line in which the log states a fact of the game, taken as read (before
// cleaning): a converted log's fact line (fact_lines.h) or a console's
// "logfile opened on ..." line, which dates the game being read when the log
// opened. Sets the fact in `game.facts` and returns true: such a line is no
// event. False, and nothing changed, for every other line.
bool readStatedFact(Game& game, std::string_view line);

// Notes a console's own end of game in `game.facts.limit_hit`: a cleaned
// line that says a limit was hit ("Timelimit hit.", "Raven^7 hit the
// fraglimit."). A game that ends without one was ended otherwise (a vote,
// a map change, a disconnect).
void noteLimitHit(Game& game, std::string_view line);

// A player's chat line is only ever a quote: whatever its text says
// ("Timelimit hit.", "X entered the game"), it never ends a game, adds a
// player or counts as an event. Collects the quote and returns true for a
// chat line; returns false for any other line.
bool handleChatLine(Game& game, std::string_view line);

// A line the keyword tables rejected: "Round starts!" clears every flag
// carrier.
void handleRejectedLine(Game& game, std::string_view line);

// Adds the subject and then the second name of a line that introduces
// players (an entry of `add_player` in the colour-free line).
void addPlayersOfLine(Game& game, const LineEvent& event, KeywordTable add_player);
