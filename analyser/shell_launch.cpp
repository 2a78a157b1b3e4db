#include "shell_launch.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

bool isPlainShellWord(std::string_view value) {
  for (char c : value) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                 c == '_' || c == '-' || c == '/' || c == ':' || c == '@';
    if (!plain) return false;
  }
  return true;
}

namespace {

int exitStatusOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return status;
}

}  // namespace

int runShellCommand(const std::string& command) {
  std::fflush(stdout);
  int status = std::system(command.c_str());
  return status == -1 ? -1 : exitStatusOf(status);
}

BackgroundCommand startShellCommand(const std::string& command) {
  std::fflush(stdout);
  BackgroundCommand started;
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) == 0) started.pid = pid;
  return started;
}

int waitForCommand(BackgroundCommand& command) {
  if (command.pid < 0) return -1;
  int status = 0;
  pid_t done;
  do {
    done = waitpid(command.pid, &status, 0);
  } while (done < 0 && errno == EINTR);
  command.pid = -1;
  return done < 0 ? -1 : exitStatusOf(status);
}

std::string escapeForDoubleQuotes(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    if (c == '\\' || c == '"' || c == '$' || c == '`') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

std::string shellWord(std::string_view value) {
  if (isPlainShellWord(value) && !value.empty()) return std::string(value);
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}
