// Starting other programs through the shell, and the two ways a value is
// put into a command line. Every program of the suite starts its helpers
// (ks-preparse, the database client, kestrostats-c, kestrostats-site)
// through runShellCommand(), and quotes what it puts into the command with
// one of the two quoting functions, so that no value from a log, a
// configuration or a database can end its word and run a command of its own.
#pragma once

#include <string>
#include <string_view>

// Runs `command` with /bin/sh, after flushing standard output so that the
// caller's messages and the command's keep their order. Returns the
// command's exit status: 0 on success, 127 when the shell found no such
// program, 128 plus the signal number when it was killed, -1 when no shell
// could be started.
int runShellCommand(const std::string& command);

// A command started by startShellCommand(), running beside the caller
// until waitForCommand() collects it. It inherits the caller's open files
// (a lock held by the caller is held by it too).
struct BackgroundCommand {
  int pid = -1;  // -1: none was started
};

// Starts `command` with /bin/sh and returns at once (standard output is
// flushed first). The pid is -1 when no shell could be started.
BackgroundCommand startShellCommand(const std::string& command);

// Waits for the command to end and returns its exit status as
// runShellCommand() does (-1 for one that never started). The command is
// collected once; a second wait returns -1.
int waitForCommand(BackgroundCommand& command);

// A value for between double quotes of a command: \ " $ ` are escaped, so
// the value stays one word whatever it holds.
std::string escapeForDoubleQuotes(std::string_view text);

// True when every byte of `value` is a letter, a digit or one of ._-/:@,
// which the shell takes as they are.
bool isPlainShellWord(std::string_view value);

// A value as a shell word of its own: plain values (letters, digits and
// ._-/:@) stay as they are, anything else is single-quoted, so no value can
// run a command of its own or lose a character such as "$".
std::string shellWord(std::string_view value);
