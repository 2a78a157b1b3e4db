// Turns ServerSettings into a server .cfg file: a banner with the date, seven
// sections of "set" lines, the optional map line and a closing block. The
// loader reads this form back.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "server_settings.h"

namespace cvarsmith {

struct Platform;

inline constexpr const char* kLaunchConfigFileName = "temp-cfg-file-000111.cfg";
inline constexpr const char* kWriteSucceededText = "Config File Generated Successfully";
inline constexpr const char* kWriteSucceededCaption = "Done";
inline constexpr const char* kOpenFailedText = "Unable to open output file.";
inline constexpr const char* kWriteFailedCaption = "Error writing file.";
inline constexpr const char* kWriteIncompleteText =
    "Unable to write the output file completely; it may be damaged.";

// A text value that the file cannot carry: the game and the loader would read
// a line holding a double quote (or a line break) differently.
struct RefusedText {
  std::string variable;  // as written in the file, e.g. "sv_hostname"
  std::string caption;   // the control that holds it, e.g. "Hostname:"
};
std::string refusedTextMessage(const RefusedText& refused);

struct RenderedConfig {
  std::string text;                     // empty when refused
  std::optional<RefusedText> refused;   // the first value that could not be written
};

// The whole file for the settings at local time `now`. The map line is
// written when the Other page's "Starting Map:" is checked or `forceMapLine`
// is set (the launch mode always starts a map).
RenderedConfig renderConfig(const ServerSettings& settings, const std::tm& now, bool forceMapLine);

// What the writer remembers between runs: the file name last saved (the next
// save prompt's initial name) and its full path.
struct ConfigWriterMemory {
  std::string lastFileName = "server.cfg";
  std::string lastFullPath;
};

enum class WriteMode {
  Prompted,  // "Generate .cfg": the user picks the file
  Launch,    // listen-server start: temp-cfg-file-000111.cfg in the game directory
};

// Where launch mode writes: the game directory inside the installation
// directory, then kLaunchConfigFileName.
std::string launchConfigPath(const CommandLinePage& page);

enum class WriteOutcome {
  Written,
  Cancelled,      // the save prompt was cancelled; nothing written, nothing shown
  Refused,        // a text value holds a double quote or line break; nothing written
  OpenFailed,     // the file (or in launch mode its directory) could not be opened
  WriteFailed,    // the file was opened but not completely written
};

// Writes the .cfg as "Generate .cfg" (Prompted) or the listen-server start
// (Launch) does. `editedPage` is the page whose controls were last committed,
// if any: its duplicated file names are carried over first (and from the
// Command Line page the installation paths are saved). The eight file names
// of the Files page are then shortened with relativisePath, and stay so.
// Prompted mode reports the result in a message box; launch mode shows
// nothing but a refusal (the launcher reports the rest) and creates its file
// by full path, leaving the current directory alone.
WriteOutcome writeConfig(ServerSettings& settings, ConfigWriterMemory& memory, WriteMode mode,
                         std::optional<Page> editedPage, Platform& platform);

}  // namespace cvarsmith
