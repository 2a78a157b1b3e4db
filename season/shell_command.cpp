#include "shell_command.h"

#include <cstdio>
#include <cstdlib>

#include <sys/wait.h>

#include "season_config.h"
#include "text.h"

namespace season {

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

std::string commandForm(const SeasonConfig& config, std::string_view command) {
  char enclosing = config.command_enclosing_character;
  std::string form(config.pre_command.view());
  form += ' ';
  form += enclosing;
  form += command;
  form += enclosing;
  return form;
}

int runCommand(const SeasonConfig& config, std::string_view command) {
  std::fflush(stdout);
  int status = std::system(commandForm(config, command).c_str());
  if (status == -1) return -1;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return status;
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

std::string quotedValue(std::string_view value) {
  return isPlain(value) ? std::string(value) : escapeForDoubleQuotes(value);
}

std::string mysqlLogin(const SeasonConfig& config) {
  std::string login = "-h " + shellWord(config.db_host) + " -u " + shellWord(config.db_user);
  if (!config.pre_command.empty() && !config.db_pass.empty()) login += " -p" + shellWord(config.db_pass);
  return login;
}

void passPasswordThroughEnvironment(const SeasonConfig& config) {
  if (config.pre_command.empty() && !config.db_pass.empty()) {
    setenv("MYSQL_PWD", config.db_pass.c_str(), 1);
  } else {
    unsetenv("MYSQL_PWD");
  }
}

}  // namespace season
