// The first test every log line passes: is it worth analysing?
#pragma once

#include <string_view>

#include "keyword_index.h"
#include "keywords.h"

// True when the line holds a raw server-log keyword.
bool hasAServerKeyword(const LineScan& line);

// True when the line is to be analysed: 2..500 characters, and the first entry
// of `valid` (in table order) that it contains accepts it. An entry never
// accepts a line holding a server keyword, and " ate " accepts only a line
// that names a rocket or a grenade.
bool validLine(const LineScan& line, KeywordTable valid);

// True for a dedicated server's "InitGame: " line: a time stamp such as
// "  0:00 " or "15.6 " (digits, ":" or ".", digits, blanks), then
// "InitGame: " and the server's info string, which starts with a backslash.
// Only such a line switches a log to server-log conversion; a chat line or
// a name that quotes "InitGame: " never does. The line is taken as read,
// before cleaning turns the backslash into "_".
bool isServerInitGameLine(std::string_view line);

// True when a server log line's event is `keyword`: the line starts with it
// after leading blanks and an optional time stamp. A keyword inside a name or
// a chat text is not the line's event.
bool isServerEventLine(std::string_view line, std::string_view keyword);
