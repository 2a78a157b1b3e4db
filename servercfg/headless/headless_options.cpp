#include "headless_options.h"

#include <charconv>
#include <ostream>

#include "config_loader.h"
#include "help_catalogue.h"
#include "server_settings.h"

namespace cvarsmith {

namespace {

using Kind = HeadlessAction::Kind;

struct KnownOption {
  const char* option;
  Kind kind;
  bool takesArgument;
};

constexpr KnownOption kOptions[] = {
    {"--preset", Kind::Preset, true},          {"--exe", Kind::Executable, true},
    {"--write", Kind::Write, true},            {"--explain", Kind::Explain, true},
    {"--load", Kind::Load, true},              {"--set", Kind::Set, true},
    {"--batch", Kind::Batch, true},            {"--spawn-listen", Kind::SpawnListen, false},
    {"--dedicated", Kind::Dedicated, true},    {"--net-ip", Kind::NetIp, true},
    {"--net-port", Kind::NetPort, true},       {"--hunkmegs", Kind::HunkMegs, true},
    {"--fs-game", Kind::GameDirectory, true},  {"--config-name", Kind::ConfigName, true},
    {"--cvar-restart", Kind::CvarRestart, false}, {"--no-start-map", Kind::NoStartMap, false},
    {"--start-map", Kind::StartMap, true},     {"--no-log", Kind::NoLog, false},
    {"--admin-log", Kind::AdminLog, true},
};

const KnownOption* findOption(const std::string& option) {
  for (const KnownOption& known : kOptions) {
    if (option == known.option) return &known;
  }
  return nullptr;
}

// A whole argument that is a decimal integer from `low` to `high`.
std::optional<int> integerArgument(const std::string& text, int low, int high) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end || value < low || value > high) return std::nullopt;
  return value;
}

// Four decimal numbers 0 to 255 separated by dots.
bool parseIpAddress(const std::string& text, std::array<std::uint8_t, 4>& ip) {
  std::size_t start = 0;
  for (std::size_t part = 0; part < ip.size(); ++part) {
    const std::size_t dot = part + 1 < ip.size() ? text.find('.', start) : text.size();
    if (dot == std::string::npos) return false;
    std::optional<int> byte = integerArgument(text.substr(start, dot - start), 0, 255);
    if (!byte) return false;
    ip[part] = static_cast<std::uint8_t>(*byte);
    start = dot + 1;
  }
  return true;
}

std::optional<std::string> checkSet(HeadlessAction& action) {
  const std::size_t equals = action.argument.find('=');
  if (equals == std::string::npos || equals == 0) {
    return "--set needs NAME=VALUE, not '" + action.argument + "'";
  }
  action.variable = action.argument.substr(0, equals);
  action.value = action.argument.substr(equals + 1);
  ServerSettings scratch;
  if (applyConfigVariable(scratch, action.variable, action.value) != ValueOutcome::Applied) {
    return "cannot set '" + action.variable + "' to '" + action.value +
           "' (not a .cfg variable, a replace_ value that is not a power of two up to 8192, "
           "a text with a double quote or a carriage return, or a text longer than its box)";
  }
  return std::nullopt;
}

std::optional<std::string> checkDedicated(HeadlessAction& action) {
  if (action.argument == "listen") {
    action.number = static_cast<int>(Dedicated::Listen);
  } else if (action.argument == "private") {
    action.number = static_cast<int>(Dedicated::Private);
  } else if (action.argument == "public") {
    action.number = static_cast<int>(Dedicated::Public);
  } else {
    return "unknown server kind '" + action.argument + "' for --dedicated (listen, private, public)";
  }
  return std::nullopt;
}

std::optional<std::string> checkNumber(HeadlessAction& action, const std::string& option, int low,
                                       int high) {
  std::optional<int> number = integerArgument(action.argument, low, high);
  if (!number) {
    return option + " needs a whole number from " + std::to_string(low) + " to " +
           std::to_string(high) + ", not '" + action.argument + "'";
  }
  action.number = *number;
  return std::nullopt;
}

// Checks an option's argument; the error text when it is not acceptable.
std::optional<std::string> checkArgument(HeadlessAction& action, const std::string& option) {
  switch (action.kind) {
    case Kind::Preset:
      if (auto preset = presetFromName(action.argument)) {
        action.preset = *preset;
        return std::nullopt;
      }
      return "unknown mode '" + action.argument + "' for " + option + " (ffa, 1v1, tdm, ctf, ca)";
    case Kind::Explain:
      if (explainName(ServerSettings{}, action.argument).empty()) {
        return "no help entry for '" + action.argument + "'";
      }
      return std::nullopt;
    case Kind::Set:
      return checkSet(action);
    case Kind::Dedicated:
      return checkDedicated(action);
    case Kind::NetIp:
      if (parseIpAddress(action.argument, action.ip)) return std::nullopt;
      return "--net-ip needs an address A.B.C.D, not '" + action.argument + "'";
    case Kind::NetPort:
      return checkNumber(action, option, 1, 65535);
    case Kind::HunkMegs:
      return checkNumber(action, option, 1, 1 << 20);
    case Kind::ConfigName:  // empty: no +exec
    case Kind::SpawnListen:
    case Kind::CvarRestart:
    case Kind::NoStartMap:
    case Kind::NoLog:
      return std::nullopt;
    case Kind::Executable:
    case Kind::Write:
    case Kind::Load:
    case Kind::Batch:
    case Kind::GameDirectory:
    case Kind::StartMap:
    case Kind::AdminLog:
      if (action.argument.empty()) return option + " needs a non-empty argument";
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help") {
      parsed.showHelp = true;
      continue;
    }
    if (option == "--yes") {
      parsed.answerYes = true;
      continue;
    }
    const KnownOption* known = findOption(option);
    if (known == nullptr) {
      parsed.error = "unknown option '" + option + "'";
      return parsed;
    }
    HeadlessAction action;
    action.kind = known->kind;
    if (known->takesArgument) {
      if (i + 1 >= args.size()) {
        parsed.error = "option " + option + " needs an argument";
        return parsed;
      }
      action.argument = args[++i];
    }
    if (auto problem = checkArgument(action, option)) {
      parsed.error = *problem;
      return parsed;
    }
    parsed.actions.push_back(std::move(action));
  }
  return parsed;
}

void printUsage(std::ostream& out) {
  out << "Usage: Cvarsmith [OPTION]...\n"
         "Edits the server variables of an OSP Quake III Arena server, writes its .cfg\n"
         "file and its start script, and starts a listen server.\n"
         "Without options the configuration dialog opens; this build has none yet.\n"
         "\n"
         "Settings:\n"
         "  --preset MODE       reset every setting to the defaults of MODE (ffa, 1v1,\n"
         "                      tdm, ctf or ca); the executable path returns to the\n"
         "                      stored one\n"
         "  --load FILE         read a .cfg file into the settings (\"Load .cfg\"); lines\n"
         "                      that cannot be applied are listed on standard output.\n"
         "                      A file that sets mode_start loads that mode's defaults\n"
         "                      first only with --yes\n"
         "  --yes               answer OK to the mode_start question of --load\n"
         "  --set NAME=VALUE    set one .cfg variable as the line set NAME \"VALUE\" of a\n"
         "                      loaded file would (e.g. --set sv_hostname='My Server')\n"
         "  --start-map NAME    check \"Starting Map:\" and start on map NAME\n"
         "  --no-start-map      uncheck \"Starting Map:\" (no map line in the .cfg)\n"
         "  --no-log            uncheck \"Log File:\" (g_log is written empty)\n"
         "  --admin-log NAME    check \"Admin Log:\" and name its file\n"
         "\n"
         "Command line of the server:\n"
         "  --exe PATH          the game's executable; its directory becomes the\n"
         "                      installation directory. On the first run it is\n"
         "                      stored for later runs\n"
         "  --fs-game DIR       the active game directory (fs_game)\n"
         "  --hunkmegs N        the allocated memory in megabytes (com_hunkmegs)\n"
         "  --config-name NAME  the server config file the script executes; empty for\n"
         "                      none\n"
         "  --dedicated KIND    listen, private or public\n"
         "  --net-ip A.B.C.D    pass net_IP with this address\n"
         "  --net-port N        pass net_Port with this port\n"
         "  --cvar-restart      pass +cvar_restart (\"Reset Cvars\")\n"
         "\n"
         "Actions:\n"
         "  --write FILE        write the server configuration to FILE\n"
         "  --batch FILE        write the server start script to FILE (\"Generate Batch\n"
         "                      File\")\n"
         "  --spawn-listen      start a listen server with the current settings and wait\n"
         "                      until it ends (\"Spawn Listen\")\n"
         "  --explain NAME      print the syntax line and help text of a variable or of a\n"
         "                      dialog button such as \"Generate .cfg\"\n"
         "  --help              print this help and exit\n"
         "\n"
         "Options act in the order given. Exit status: 0 done, 1 a file could not be\n"
         "read or written or the server could not be started, 2 a usage error.\n";
}

}  // namespace cvarsmith
