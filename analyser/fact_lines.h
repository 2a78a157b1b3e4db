// The lines in which the console form states a fact of a game that no event
// line can express: when it was played, how long it ran, how it ended, the
// server's final team score. ks-preparse writes them into a converted server
// log; the log readers take them back.
//
// A fact line is the whole line
//   \kestro-fact\played\YYYY-MM-DD HH:MM:SS
//   \kestro-fact\duration\SECONDS
//   \kestro-fact\ended\WORD            (lower-case letters: "timelimit", ...)
//   \kestro-fact\score\RED\BLUE
//   \kestro-fact\bot\NAME               (a player the server ran as a bot)
// and nothing else. No client console writes a line that begins with a
// backslash (a typed command echoes as "]\..."), and a server log's player
// name can hold no backslash, so a converted name or chat line never begins
// so. The form holds none of the readers' keywords, and since it must match
// whole, a name or chat text that merely contains it is no fact line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// What fact lines state about one game; unknown values stay empty or -1.
struct StatedFacts {
  std::string played;  // "YYYY-MM-DD HH:MM:SS"
  int duration = -1;   // seconds, 0 or more
  std::string ended;   // lower-case word
  int red_score = -1;  // both known or both -1
  int blue_score = -1;
  // The raw names of the players the server ran as bots, in the order
  // first seen; no name twice.
  std::vector<std::string> bots;
};

// The fact lines for every known value, each ending in "\n"; "" when
// nothing is known. A value out of form (a played text that is no date, a
// negative number, an ended word with anything but a-z, a bot name that is
// empty or holds a backslash or a control character) is left out.
std::string factLines(const StatedFacts& facts);

// Reads one line (its line end may still be on it) into `facts`. True when
// the line is a fact line of the form above; the one value it states is set
// (a bot name is added to the list) and nothing else changes. False, and `facts` unchanged, for every other line.
bool readFactLine(std::string_view line, StatedFacts& facts);

// "YYYY-MM-DD HH:MM:SS" from a server's 14-digit stamp "YYYYMMDDHHMMSS";
// "" when the stamp is not 14 digits of a plausible date and time.
std::string playedFromStamp(std::string_view stamp);

// "YYYY-MM-DD HH:MM:SS" from a console's "logfile opened on Www Mmm dd
// hh:mm:ss yyyy" line (its line end may still be on it); "" for any other line.
std::string playedFromLogfileOpened(std::string_view line);
