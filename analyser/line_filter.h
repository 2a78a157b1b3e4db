// The first test every log line passes: is it worth analysing?
#pragma once

#include <string_view>

#include "keywords.h"

// True when the line holds a raw server-log keyword.
bool hasAServerKeyword(std::string_view line);

// 1 when the line is to be analysed: 2..500 characters, and the first entry
// of `valid` (in table order) that it contains accepts it. An entry never
// accepts a line holding a server keyword, and " ate " accepts only a line
// that names a rocket or a grenade.
int validLine(std::string_view line, KeywordTable valid);
