#include "server_settings.h"

#include "platform.h"

namespace cvarsmith {

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
