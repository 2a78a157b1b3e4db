#include "server_settings.h"

#include "platform.h"

namespace cvarsmith {

void setExecutablePath(CommandLinePage& page, const std::string& executablePath) {
  SplitPath split = splitExecutablePath(executablePath);
  page.executablePath = executablePath;
  page.installationDirectory = split.directory;
  page.executableName = split.fileName;
}

void saveInstallPaths(CommandLinePage& page, SettingsStore& store) {
  setExecutablePath(page, page.executablePath);
  if (!store.keyExists()) return;
  store.writeValue(kStoredExecutableName, page.executableName, false);
  store.writeValue(kStoredExecutablePath, page.executablePath, false);
  store.writeValue(kStoredInstallationDirectory, page.installationDirectory, false);
}

void loadInstallPaths(CommandLinePage& page, SettingsStore& store) {
  if (auto value = store.readValue(kStoredExecutablePath)) page.executablePath = *value;
  if (auto value = store.readValue(kStoredInstallationDirectory)) page.installationDirectory = *value;
  if (auto value = store.readValue(kStoredExecutableName)) page.executableName = *value;
}

void resetToDefaults(ServerSettings& settings, SettingsStore& store) {
  settings = ServerSettings{};
  loadInstallPaths(settings.commandLine, store);
}

ServerSettings startUpSettings(SettingsStore& store) {
  ServerSettings settings;
  resetToDefaults(settings, store);
  synchroniseDuplicatedFileNames(settings, Page::Files);
  return settings;
}

void synchroniseDuplicatedFileNames(ServerSettings& settings, Page editedPage) {
  FilesPage& files = settings.files;
  switch (editedPage) {
    case Page::Files:
      settings.voting.modeFile = files.modeFile;
      settings.other.mapFile = files.mapFile;
      settings.motd.motdFile = files.motdFile;
      break;
    case Page::Server:
      files.motdFile = settings.motd.motdFile;
      break;
    case Page::Voting:
      files.modeFile = settings.voting.modeFile;
      break;
    case Page::Other:
      files.mapFile = settings.other.mapFile;
      break;
    default:
      break;
  }
}

void carryOverLeftPage(ServerSettings& settings, Page leftPage, SettingsStore& store) {
  if (leftPage == Page::CommandLine) {
    saveInstallPaths(settings.commandLine, store);
  } else {
    synchroniseDuplicatedFileNames(settings, leftPage);
  }
}

}  // namespace cvarsmith
