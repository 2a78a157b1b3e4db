// Every program the season driver starts goes through the shell in one
// form: the configured pre-command, a blank, the enclosing character, the
// command, the enclosing character. Exit statuses are not examined; each
// command redirects its output into a file that the next step reads.
#pragma once

#include <string>
#include <string_view>

namespace season {

// The command in the configured form.
std::string commandForm(std::string_view command);

// Runs the command in the configured form (standard output is flushed first
// so the run's own messages keep their order).
void runCommand(std::string_view command);

// A value as a shell word: plain values (letters, digits and ._-/:@) stay as
// they are, anything else is single-quoted, so no value can run a command
// of its own or lose a character such as "$".
std::string shellWord(std::string_view value);

// A value that stands between double quotes of a command: plain values stay
// as they are, anything else has \ " $ ` escaped.
std::string quotedValue(std::string_view value);

// The client's connection options "-h HOST -u USER -pPASSWORD"; "-p" is left
// out for an empty password, since "-p" alone makes the client read the
// password from standard input.
std::string mysqlLogin();

}  // namespace season
