#include "install_paths.h"

namespace cvarsmith {

SplitPath splitExecutablePath(const std::string& executablePath) {
  for (std::size_t i = executablePath.size(); i > 0; --i) {
    if (isPathSeparator(executablePath[i - 1])) {
      return {executablePath.substr(0, i - 1), executablePath.substr(i)};
    }
  }
  return {"", executablePath};
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
