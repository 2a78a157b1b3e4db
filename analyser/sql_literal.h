// Text values in SQL scripts.
//
// Every text that a script carries (player names, models, quotes, clan tags)
// goes through sqlTextValue: cut to its column first, then escaped, so that
// the value can never end the literal it stands in, whichever quote
// character surrounds it. Cutting after escaping could leave a lone
// backslash at the end, which would swallow the closing quote.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The first `column` bytes of `text`, escaped for a MariaDB string literal
// in single or double quotes: backslash, both quote characters, NUL, line
// feed, carriage return, tab, backspace and Ctrl-Z get their backslash
// forms. The result goes between the quotes as it is.
std::string sqlTextValue(std::string_view text, std::size_t column);
