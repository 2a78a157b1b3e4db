#include "server_script.h"

#include <cstdio>

namespace cvarsmith {

namespace {

// Characters a shell word may hold without quotes.
bool isPlainShellCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string_view("_-./:+=@%,").find(c) != std::string_view::npos;
}

// Single quotes keep every character literal in a POSIX shell; a single
// quote itself is closed, escaped and reopened.
std::string shellQuoted(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// A shell word for a value: as it stands when that is safe, else quoted.
std::string shellWord(const std::string& value) {
  if (value.empty()) return "''";
  for (char c : value) {
    if (!isPlainShellCharacter(c)) return shellQuoted(value);
  }
  return value;
}

// Characters the command interpreter treats specially outside quotes.
bool isBatchOperator(char c) { return std::string_view(" \t&|<>^(),;=").find(c) != std::string_view::npos; }

// A batch file cannot carry a double quote or a line break in a value: the
// first ends the quoting, the second the command.
bool batchCanCarry(const std::string& value) {
  return value.find_first_of("\"\r\n") == std::string::npos;
}

// In a batch file "%" starts a variable even inside quotes; "%%" is a
// literal percent sign.
std::string batchEscaped(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return escaped;
}

std::string batchQuoted(const std::string& value) { return "\"" + batchEscaped(value) + "\""; }

// A batch word: as it stands unless it holds a blank or an operator.
std::string batchWord(const std::string& value) {
  for (char c : value) {
    if (isBatchOperator(c)) return batchQuoted(value);
  }
  return batchEscaped(value);
}

// Builds a script in one dialect, remembering the first value it cannot carry.
class ScriptText {
 public:
  explicit ScriptText(ScriptDialect dialect) : dialect_(dialect) {}

  // A value that may stand unquoted when nothing in it needs quoting.
  std::string word(const std::string& value, const char* caption) {
    if (!accept(value, caption)) return "";
    return dialect_ == ScriptDialect::PosixShell ? shellWord(value) : batchWord(value);
  }
  // A value that is always quoted.
  std::string quoted(const std::string& value, const char* caption) {
    if (!accept(value, caption)) return "";
    return dialect_ == ScriptDialect::PosixShell ? shellQuoted(value) : batchQuoted(value);
  }

  // The lines that enter the installation directory.
  void enterInstallation(const CommandLinePage& page) {
    if (dialect_ == ScriptDialect::PosixShell) {
      out_ += "#!/bin/sh\n";
      out_ += "cd " + quoted(page.installationDirectory, "Quake Executable Path:") + " || exit 1\n";
      return;
    }
    const std::string& path = page.executablePath;
    if (path.size() >= 2 && path[1] == ':') {
      char drive[8];
      std::snprintf(drive, sizeof drive, "%c%c\n", path[0], path[1]);
      out_ += drive;
    }
    out_ += "cd " + quoted(page.installationDirectory, "Quake Executable Path:") + "\n";
  }

  // The executable, run from the installation directory.
  std::string executable(const CommandLinePage& page) {
    const std::string& name = page.executableName;
    // A shell looks in the current directory only for a name with a slash.
    return quoted(dialect_ == ScriptDialect::PosixShell ? "./" + name : name,
                  "Quake Executable Path:");
  }

  void append(const std::string& text) { out_ += text; }

  RenderedScript finish() {
    if (refused_) return {"", refused_};
    return {std::move(out_), std::nullopt};
  }

 private:
  bool accept(const std::string& value, const char* caption) {
    if (dialect_ == ScriptDialect::PosixShell || batchCanCarry(value)) return true;
    if (!refused_) refused_ = caption;
    return false;
  }

  ScriptDialect dialect_;
  std::string out_;
  std::optional<std::string> refused_;
};

std::string ipAddressText(const std::array<std::uint8_t, 4>& ip) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", ip[0], ip[1], ip[2], ip[3]);
  return text;
}

}  // namespace

ScriptNaming scriptNaming(ScriptDialect dialect) {
  if (dialect == ScriptDialect::PosixShell) {
    return {"q3-server.sh", "Shell Script (*.sh)", "*.sh", "sh", "pellombatchfile-000.sh"};
  }
  return {"q3-server.bat", "Batch File (*.bat)", "*.bat", "bat", "pellombatchfile-000.bat"};
}

RenderedScript renderServerBatch(const CommandLinePage& page, ScriptDialect dialect) {
  ScriptText script(dialect);
  script.enterInstallation(page);
  script.append(script.executable(page) + " ");
  if (page.resetCvars) script.append("+cvar_restart ");
  script.append("+set com_hunkmegs " + std::to_string(page.hunkMegs) + " ");
  script.append("+set fs_game " + script.word(page.gameDirectory, "Active Game Directory:") + " ");
  if (page.dedicated == static_cast<int>(Dedicated::Private)) script.append("+set dedicated 1 ");
  if (page.dedicated == static_cast<int>(Dedicated::Public)) script.append("+set dedicated 2 ");
  if (!page.configFileName.empty()) {
    script.append("+exec " + script.word(page.configFileName, "Server Config File Name:") + " ");
  }
  if (page.netIpEnabled) script.append("+set net_IP " + ipAddressText(page.netIp) + " ");
  if (page.netPortEnabled) script.append("+set net_Port " + std::to_string(page.netPort) + " ");
  script.append("\n");
  return script.finish();
}

RenderedScript renderListenScript(const CommandLinePage& page, const std::string& configName,
                                  ScriptDialect dialect) {
  ScriptText script(dialect);
  script.enterInstallation(page);
  script.append(script.executable(page) + " +cvar_restart +set com_hunkmegs " +
                std::to_string(page.hunkMegs) + " +set fs_game " +
                script.quoted(page.gameDirectory, "Active Game Directory:") + " +exec " +
                script.quoted(configName, "Server Config File Name:"));
  // The command interpreter needs no final line feed; a shell script is
  // text, whose lines end with one.
  if (dialect == ScriptDialect::PosixShell) script.append("\n");
  return script.finish();
}

std::string refusedScriptMessage(const std::string& caption) {
  return "The value of \"" + caption +
         "\" holds a double quote or a line break, which a batch file cannot carry.  "
         "Nothing was written.";
}

}  // namespace cvarsmith
