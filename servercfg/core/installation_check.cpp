#include "installation_check.h"

#include "install_paths.h"
#include "platform.h"
#include "server_settings.h"

namespace cvarsmith {

InstallationCheck checkInstallation(CommandLinePage& page, SettingsStore& store,
                                    const std::optional<std::string>& installerExecutablePath,
                                    FirstUseDialog& dialog) {
  if (store.keyExists()) {
    loadInstallPaths(page, store);
    return InstallationCheck::Stored;
  }
  if (installerExecutablePath) page.executablePath = *installerExecutablePath;
  std::optional<std::string> confirmed = dialog.confirmExecutablePath(page.executablePath);
  if (!confirmed) return InstallationCheck::ExitProgram;

  setExecutablePath(page, *confirmed);
  store.writeValue(kStoredExecutablePath, page.executablePath, true);
  store.writeValue(kStoredExecutableName, page.executableName, true);
  store.writeValue(kStoredInstallationDirectory, page.installationDirectory, true);
  return InstallationCheck::Recorded;
}

}  // namespace cvarsmith
