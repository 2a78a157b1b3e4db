#include "install_paths.h"

#include "platform.h"
#include "server_settings.h"

namespace cvarsmith {

SplitPath splitExecutablePath(const std::string& executablePath) {
  for (std::size_t i = executablePath.size(); i > 0; --i) {
    if (isPathSeparator(executablePath[i - 1])) {
      return {executablePath.substr(0, i - 1), executablePath.substr(i)};
    }
  }
  return {"", executablePath};
}

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

namespace {

bool prefixCharMatches(char expected, char actual) {
  return isPathSeparator(expected) ? isPathSeparator(actual) : expected == actual;
}

bool prefixMatchesAt(const std::string& name, std::size_t start, const std::string& prefix) {
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (!prefixCharMatches(prefix[i], name[start + i])) return false;
  }
  return true;
}

}  // namespace

std::string relativisePath(const std::string& name, const std::string& installationDirectory,
                           const std::string& gameDirectory) {
  const std::string prefix = installationDirectory + '\\' + gameDirectory + '\\';
  if (prefix.size() > name.size()) return name;
  for (std::size_t start = 0; start + prefix.size() <= name.size(); ++start) {
    if (prefixMatchesAt(name, start, prefix)) return name.substr(start + prefix.size());
  }
  return name;
}

}  // namespace cvarsmith
