#include "shell_command.h"

#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "season_config.h"
#include "shell_launch.h"
#include "text.h"

namespace season {

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
  return runShellCommand(commandForm(config, command));
}

BackgroundCommand startCommand(const SeasonConfig& config, std::string_view command) {
  return startShellCommand(commandForm(config, command));
}

bool passwordInOptionFile(const SeasonConfig& config) {
  return !config.pre_command.empty() && !config.db_pass.empty() && !isPlainShellWord(config.db_pass);
}

std::string mysqlLogin(const SeasonConfig& config) {
  // An option file must be the client's first option.
  std::string login = passwordInOptionFile(config) ? std::string("--defaults-extra-file=") + kPasswordOptionFile + " "
                                                   : std::string();
  login += "-h " + shellWord(config.db_host) + " -u " + shellWord(config.db_user);
  if (!config.db_port.empty()) login += " -P " + shellWord(config.db_port);
  if (!config.db_socket.empty()) login += " -S " + shellWord(config.db_socket);
  if (!config.pre_command.empty() && !config.db_pass.empty() && !passwordInOptionFile(config)) {
    login += " -p" + shellWord(config.db_pass);
  }
  return login;
}

bool passPasswordThroughEnvironment(const SeasonConfig& config) {
  if (config.pre_command.empty() && !config.db_pass.empty()) {
    setenv("MYSQL_PWD", config.db_pass.c_str(), 1);
  } else {
    unsetenv("MYSQL_PWD");
  }
  if (!passwordInOptionFile(config)) return true;
  // The option file's value in double quotes, with its escapes.
  std::string text = "[client]\npassword=\"";
  for (char c : config.db_pass.view()) {
    if (c == '\\' || c == '"') text += '\\';
    text += c;
  }
  text += "\"\n";
  std::remove(kPasswordOptionFile);
  int fd = open(kPasswordOptionFile, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  if (close(fd) != 0) ok = false;
  return ok;
}

void removePasswordOptionFile() { std::remove(kPasswordOptionFile); }

}  // namespace season
