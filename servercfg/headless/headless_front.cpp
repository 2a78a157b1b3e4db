#include "headless_front.h"

#include <ostream>

#include "command_line_platform.h"
#include "config_writer.h"
#include "help_catalogue.h"
#include "install_paths.h"
#include "server_settings.h"

namespace cvarsmith {

namespace {

std::optional<HeadlessAction::Kind> optionKind(const std::string& option) {
  if (option == "--preset") return HeadlessAction::Kind::Preset;
  if (option == "--exe") return HeadlessAction::Kind::Executable;
  if (option == "--write") return HeadlessAction::Kind::Write;
  if (option == "--explain") return HeadlessAction::Kind::Explain;
  return std::nullopt;
}

// Checks an option's argument; the error text when it is not acceptable.
std::optional<std::string> checkArgument(HeadlessAction& action, const std::string& option) {
  switch (action.kind) {
    case HeadlessAction::Kind::Preset:
      if (auto preset = presetFromName(action.argument)) {
        action.preset = *preset;
        return std::nullopt;
      }
      return "unknown mode '" + action.argument + "' for " + option + " (ffa, 1v1, tdm, ctf, ca)";
    case HeadlessAction::Kind::Explain:
      if (explainName(ServerSettings{}, action.argument).empty()) {
        return "no help entry for '" + action.argument + "'";
      }
      return std::nullopt;
    case HeadlessAction::Kind::Executable:
    case HeadlessAction::Kind::Write:
      if (action.argument.empty()) return option + " needs a non-empty argument";
      return std::nullopt;
  }
  return std::nullopt;
}

void explain(const ServerSettings& settings, const std::string& name, std::ostream& out) {
  bool first = true;
  for (const HelpEntry& entry : explainName(settings, name)) {
    if (!first) out << '\n';
    out << entry.syntax << '\n' << entry.help << '\n';
    first = false;
  }
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
    std::optional<HeadlessAction::Kind> kind = optionKind(option);
    if (!kind) {
      parsed.error = "unknown option '" + option + "'";
      return parsed;
    }
    if (i + 1 >= args.size()) {
      parsed.error = "option " + option + " needs an argument";
      return parsed;
    }
    HeadlessAction action{*kind, args[++i]};
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
         "Edits the server variables of an OSP Quake III Arena server and writes its .cfg file.\n"
         "Without options the configuration dialog opens; this build has none yet.\n"
         "\n"
         "  --preset MODE   reset every setting to the defaults of MODE (ffa, 1v1, tdm,\n"
         "                  ctf or ca); the executable path returns to the stored one\n"
         "  --exe PATH      set the game's executable path; its directory becomes the\n"
         "                  installation directory\n"
         "  --write FILE    write the server configuration to FILE\n"
         "  --explain NAME  print the syntax line and help text of a variable or of a\n"
         "                  dialog button such as \"Generate .cfg\"\n"
         "  --help          print this help and exit\n"
         "\n"
         "Options act in the order given. Exit status: 0 done, 1 a file could not be\n"
         "written, 2 a usage error.\n";
}

int runHeadless(const std::vector<std::string>& args, SettingsStore& store, Clock& clock,
                std::ostream& out, std::ostream& err) {
  ParsedOptions parsed = parseOptions(args);
  if (parsed.error) {
    err << "Cvarsmith: " << *parsed.error << "\nTry 'Cvarsmith --help'.\n";
    return kExitUsage;
  }
  if (parsed.showHelp) {
    printUsage(out);
    return kExitSuccess;
  }
  if (parsed.actions.empty()) {
    err << "Cvarsmith: the configuration dialog is not part of this build; "
           "use the options below.\n\n";
    printUsage(err);
    return kExitUsage;
  }

  StreamMessages messages(out, err);
  PresetFilePrompts files;
  Platform platform{messages, files, store, clock};
  ServerSettings settings = startUpSettings(store);
  ConfigWriterMemory memory;

  for (const HeadlessAction& action : parsed.actions) {
    switch (action.kind) {
      case HeadlessAction::Kind::Preset:
        applyModePreset(settings, action.preset, PresetCaller::Dialog, messages, store);
        break;
      case HeadlessAction::Kind::Executable:
        setExecutablePath(settings.commandLine, action.argument);
        break;
      case HeadlessAction::Kind::Explain:
        explain(settings, action.argument, out);
        break;
      case HeadlessAction::Kind::Write: {
        files.answerWith(action.argument);
        WriteOutcome outcome =
            writeConfig(settings, memory, WriteMode::Prompted, std::nullopt, platform);
        files.answerWith(std::nullopt);
        if (outcome != WriteOutcome::Written) return kExitFailure;
        break;
      }
    }
  }
  return kExitSuccess;
}

}  // namespace cvarsmith
