#include "headless_front.h"

#include <ostream>

#include "command_line_platform.h"
#include "config_loader.h"
#include "config_writer.h"
#include "help_catalogue.h"
#include "install_paths.h"
#include "installation_check.h"
#include "server_launch.h"
#include "server_settings.h"

namespace cvarsmith {

namespace {

using Kind = HeadlessAction::Kind;

void explain(const ServerSettings& settings, const std::string& name, std::ostream& out) {
  bool first = true;
  for (const HelpEntry& entry : explainName(settings, name)) {
    if (!first) out << '\n';
    out << entry.syntax << '\n' << entry.help << '\n';
    first = false;
  }
}

// The "First Use" dialog answered by the first --exe of the command line.
class ExecutableOptionAnswer final : public FirstUseDialog {
 public:
  explicit ExecutableOptionAnswer(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> confirmExecutablePath(const std::string&) override { return path_; }

 private:
  std::string path_;
};

// On the first run (no stored key) an --exe on the line is what the "First
// Use" dialog would have asked for: it is stored for later runs. Without
// one the run goes on with the defaults and stores nothing.
void checkInstallationFromOptions(const ParsedOptions& parsed, ServerSettings& settings,
                                  HeadlessServices& services) {
  if (services.store.keyExists()) return;  // read by startUpSettings already
  for (const HeadlessAction& action : parsed.actions) {
    if (action.kind != Kind::Executable) continue;
    ExecutableOptionAnswer answer(action.argument);
    checkInstallation(settings.commandLine, services.store, services.installerExecutablePath,
                      answer);
    return;
  }
}

// The problem listing as lines of standard output.
void printProblems(const std::string& listing, std::ostream& out) {
  out << kImportProblemsCaption << '\n';
  for (std::size_t start = 0; start < listing.size();) {
    std::size_t end = listing.find("\r\n", start);
    if (end == std::string::npos) end = listing.size();
    out << listing.substr(start, end - start) << '\n';
    start = end + 2;
  }
}

// One run: the settings and everything the actions share.
class HeadlessRun {
 public:
  HeadlessRun(const ParsedOptions& parsed, HeadlessServices& services, std::ostream& out,
              std::ostream& err)
      : parsed_(parsed),
        services_(services),
        out_(out),
        err_(err),
        messages_(out, err),
        platform_{messages_, files_, services.store, services.clock},
        settings_(startUpSettings(services.store)) {
    checkInstallationFromOptions(parsed, settings_, services);
  }

  int run() {
    for (const HeadlessAction& action : parsed_.actions) {
      if (!act(action)) return kExitFailure;
    }
    return kExitSuccess;
  }

 private:
  // Carries out one action; false when it failed and the run stops.
  bool act(const HeadlessAction& action) {
    CommandLinePage& commandLine = settings_.commandLine;
    switch (action.kind) {
      case Kind::Preset:
        applyModePreset(settings_, action.preset, PresetCaller::Dialog, messages_,
                        services_.store);
        return true;
      case Kind::Executable: setExecutablePath(commandLine, action.argument); return true;
      case Kind::Explain: explain(settings_, action.argument, out_); return true;
      case Kind::Write: return write(action.argument);
      case Kind::Load: return load(action.argument);
      case Kind::Set:
        applyConfigVariable(settings_, action.variable, action.value);
        synchroniseDuplicatedFileNames(settings_, Page::Files);
        return true;
      case Kind::Batch: return writeBatch(action.argument);
      case Kind::SpawnListen:
        return spawnListenServer(settings_, memory_, std::nullopt, platform_,
                                 services_.runner) == LaunchOutcome::Finished;
      case Kind::Dedicated: commandLine.dedicated = action.number; return true;
      case Kind::NetIp:
        commandLine.netIpEnabled = true;
        commandLine.netIp = action.ip;
        return true;
      case Kind::NetPort:
        commandLine.netPortEnabled = true;
        commandLine.netPort = action.number;
        return true;
      case Kind::HunkMegs: commandLine.hunkMegs = action.number; return true;
      case Kind::GameDirectory: commandLine.gameDirectory = action.argument; return true;
      case Kind::ConfigName: commandLine.configFileName = action.argument; return true;
      case Kind::CvarRestart: commandLine.resetCvars = true; return true;
      case Kind::NoStartMap: settings_.other.startingMapEnabled = false; return true;
      case Kind::StartMap:
        settings_.other.startingMapEnabled = true;
        settings_.other.startingMap = action.argument;
        return true;
      case Kind::NoLog: settings_.files.logFileEnabled = false; return true;
      case Kind::AdminLog:
        settings_.files.adminLogEnabled = true;
        settings_.files.adminLogName = action.argument;
        return true;
    }
    return true;
  }

  bool write(const std::string& path) {
    files_.answerWith(path);
    WriteOutcome outcome =
        writeConfig(settings_, memory_, WriteMode::Prompted, std::nullopt, platform_);
    files_.answerWith(std::nullopt);
    return outcome == WriteOutcome::Written;
  }

  bool load(const std::string& path) {
    // The mode_start question is answered OK only when --yes is given.
    StreamMessages loaderMessages(out_, err_, parsed_.answerYes);
    LoadReport report = loadConfigFile(settings_, path, loaderMessages, services_.store);
    if (report.outcome != LoadOutcome::Loaded) return false;
    if (!report.problems.empty()) printProblems(report.problems, out_);
    return true;
  }

  bool writeBatch(const std::string& path) {
    files_.answerWith(path);
    BatchOutcome outcome = writeServerBatch(settings_, platform_);
    files_.answerWith(std::nullopt);
    return outcome == BatchOutcome::Written;
  }

  const ParsedOptions& parsed_;
  HeadlessServices& services_;
  std::ostream& out_;
  std::ostream& err_;
  StreamMessages messages_;
  PresetFilePrompts files_;
  Platform platform_;
  ServerSettings settings_;
  ConfigWriterMemory memory_;
};

}  // namespace

int runHeadless(const std::vector<std::string>& args, HeadlessServices& services,
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
  HeadlessRun run(parsed, services, out, err);
  return run.run();
}

}  // namespace cvarsmith
