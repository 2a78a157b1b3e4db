// Where the game's executable lives: the platform defaults for it, the names
// of the three values kept in the settings store between runs, and the path
// arithmetic on them. Setting, saving and loading the Command Line page's
// paths are with the page's record (server_settings.h).
#pragma once

#include <string>

namespace cvarsmith {

#ifdef _WIN32
inline constexpr const char* kDefaultExecutablePath = "C:\\Program Files\\Quake III Arena\\quake3.exe";
inline constexpr const char* kDefaultInstallationDirectory = "C:\\Program Files\\Quake III Arena";
inline constexpr const char* kDefaultExecutableName = "quake3.exe";
#else
// A dedicated server binary in the traditional install location.
inline constexpr const char* kDefaultExecutablePath = "/usr/local/games/quake3/ioq3ded";
inline constexpr const char* kDefaultInstallationDirectory = "/usr/local/games/quake3";
inline constexpr const char* kDefaultExecutableName = "ioq3ded";
#endif

// Names of the stored values.
inline constexpr const char* kStoredExecutablePath = "Q3EXEPATH";
inline constexpr const char* kStoredExecutableName = "Q3EXE";
inline constexpr const char* kStoredInstallationDirectory = "Q3PATH";

// Both the backslash and "/" separate path components on every platform, so
// a Windows path typed on Linux and a Linux path both split as expected.
constexpr bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

struct SplitPath {
  std::string directory;  // before the last separator ("" when there is none)
  std::string fileName;   // after it (the whole path when there is none)
};
SplitPath splitExecutablePath(const std::string& executablePath);

// Shortens a file name chosen inside the active game directory of the
// installation to a name relative to that directory. The prefix is the
// installation directory, a separator, the game directory and a separator;
// each separator of the prefix matches either separator of the name. When the
// prefix occurs in the name, the text that follows its first occurrence is
// returned; otherwise the name is returned unchanged.
std::string relativisePath(const std::string& name, const std::string& installationDirectory,
                           const std::string& gameDirectory);

}  // namespace cvarsmith
