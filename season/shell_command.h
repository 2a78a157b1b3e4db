// Every program the season driver starts goes through the shell in one
// form: the configured pre-command, a blank, the enclosing character, the
// command, the enclosing character. Each command redirects its output into a
// file that the next step reads; its exit status tells the caller whether
// the step worked.
#pragma once

#include <string>
#include <string_view>

#include "season_config.h"
#include "shell_launch.h"

namespace season {

// The command in the configured form.
std::string commandForm(const SeasonConfig& config, std::string_view command);

// Runs the command in the configured form (standard output is flushed first
// so the run's own messages keep their order). Returns the command's exit
// status as runShellCommand() does.
int runCommand(const SeasonConfig& config, std::string_view command);

// Starts the command in the configured form in the background; collect it
// with waitForCommand().
BackgroundCommand startCommand(const SeasonConfig& config, std::string_view command);


// The client's connection options "-h HOST -u USER" (with "-P PORT" and
// "-S SOCKET" when configured), followed by the password only when a
// pre-command is configured. Without one the password never appears on a
// command line, where every user of the machine could read it:
// passPasswordThroughEnvironment() hands it to the client. With one, a
// plain password is passed as "-pPASSWORD" as before (the pre-command may
// start the client elsewhere); any other would not survive the pre-command's
// own quoting, so it goes into an option file only this user can read
// (kPasswordOptionFile, made by passPasswordThroughEnvironment()). "-p" is
// left out for an empty password, since "-p" alone makes the client read
// the password from standard input.
std::string mysqlLogin(const SeasonConfig& config);

constexpr const char* kPasswordOptionFile = "kestro-client.cnf";

// Hands the configured password to the client as mysqlLogin() expects: in
// MYSQL_PWD without a pre-command, in the option file for a password that
// is not plain with one. False when the option file could not be written.
// Call once after reading the configuration; removePasswordOptionFile()
// at the end of the run.
bool passPasswordThroughEnvironment(const SeasonConfig& config);
void removePasswordOptionFile();

}  // namespace season
