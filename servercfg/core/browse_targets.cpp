#include "browse_targets.h"

#include "install_paths.h"

namespace cvarsmith {

namespace {

const FileFilter kAllFiles{"All Files (*.*)", "*.*"};
const FileFilter kLogFiles{"Log File (*.log)", "*.log"};
const FileFilter kTextFiles{"Text File (*.txt)", "*.txt"};
const FileFilter kExecutables{"Executable File (*.exe)", "*.exe"};
const FileFilter kConfigFiles{"Config File (*.cfg)", "*.cfg"};

// The target's own filter; nothing for targets that offer all files only.
const FileFilter* ownFilter(BrowseTarget target) {
  switch (target) {
    case BrowseTarget::LogFile:
    case BrowseTarget::AdminLog: return &kLogFiles;
    case BrowseTarget::FilterFile:
    case BrowseTarget::FilesMapFile:
    case BrowseTarget::OtherMapFile: return &kTextFiles;
    case BrowseTarget::Executable: return &kExecutables;
    case BrowseTarget::ServerConfigFile: return &kConfigFiles;
    default: return nullptr;
  }
}

// The setting a game file target fills; null for the Command Line targets.
std::string* gameFileSetting(ServerSettings& s, BrowseTarget target) {
  switch (target) {
    case BrowseTarget::LogFile: return &s.files.logFileName;
    case BrowseTarget::AdminLog: return &s.files.adminLogName;
    case BrowseTarget::FilterFile: return &s.files.filterFile;
    case BrowseTarget::FilesMapFile: return &s.files.mapFile;
    case BrowseTarget::GfxFile: return &s.files.gfxFile;
    case BrowseTarget::PlayerFile: return &s.files.playerFile;
    case BrowseTarget::FilesMotdFile: return &s.files.motdFile;
    case BrowseTarget::FilesModeFile: return &s.files.modeFile;
    case BrowseTarget::OtherMapFile: return &s.other.mapFile;
    case BrowseTarget::VotingModeFile: return &s.voting.modeFile;
    case BrowseTarget::MotdDialogFile: return &s.motd.motdFile;
    default: return nullptr;
  }
}

}  // namespace

FilePromptRequest browseRequest(BrowseTarget target) {
  FilePromptRequest request;
  if (const FileFilter* own = ownFilter(target)) request.filters.push_back(*own);
  request.filters.push_back(kAllFiles);
  return request;
}

void storeBrowsedFile(ServerSettings& settings, BrowseTarget target, const ChosenFile& chosen,
                      SettingsStore& store) {
  CommandLinePage& commandLine = settings.commandLine;
  if (target == BrowseTarget::Executable) {
    setExecutablePath(commandLine, chosen.fullPath);
    return;
  }
  if (target == BrowseTarget::ServerConfigFile) {
    commandLine.configFileName = relativisePath(chosen.fullPath, commandLine.installationDirectory,
                                                commandLine.gameDirectory);
    return;
  }
  const std::string installation =
      store.readValue(kStoredInstallationDirectory).value_or(commandLine.installationDirectory);
  *gameFileSetting(settings, target) =
      relativisePath(chosen.fullPath, installation, commandLine.gameDirectory);
}

bool browseForFile(ServerSettings& settings, BrowseTarget target, FilePrompts& prompts,
                   SettingsStore& store) {
  std::optional<ChosenFile> chosen = prompts.promptOpenFile(browseRequest(target));
  if (!chosen) return false;
  storeBrowsedFile(settings, target, *chosen, store);
  return true;
}

}  // namespace cvarsmith
