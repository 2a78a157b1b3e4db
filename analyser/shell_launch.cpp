#include "shell_launch.h"

#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>

namespace {

bool isPlain(std::string_view value) {
  for (char c : value) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                 c == '_' || c == '-' || c == '/' || c == ':' || c == '@';
    if (!plain) return false;
  }
  return true;
}

}  // namespace

int runShellCommand(const std::string& command) {
  std::fflush(stdout);
  int status = std::system(command.c_str());
  if (status == -1) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return status;
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
  if (isPlain(value) && !value.empty()) return std::string(value);
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}
