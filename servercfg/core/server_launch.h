// What Cvarsmith does with the game's executable: "Generate Batch File"
// saves a start script for a server with the Command Line page's settings,
// and "Spawn Listen" starts a listen server with the current settings and
// waits for it to end.
#pragma once

#include <optional>

#include "server_script.h"
#include "server_settings.h"

namespace cvarsmith {

struct Platform;
struct ConfigWriterMemory;
class ProcessRunner;

inline constexpr const char* kExecutableMissingText =
    "Cvarsmith was unable to locate the Quake3.exe\n"
    "Please specify the location of the quake3.exe file on the Command Line Options tab.";
inline constexpr const char* kExecutableMissingCaption = "Error: Unable to locate quake3.exe";
inline constexpr const char* kLaunchFailedCaption = "Error: Unable to start the server";

enum class BatchOutcome { Written, Cancelled, Refused, OpenFailed, WriteFailed };

// "Generate Batch File": saves the installation paths, shortens "Server
// Config File Name:" with relativisePath (and keeps it so), asks where to
// save the script, and writes it. Failures are reported in a message box; a
// cancelled prompt changes nothing further.
BatchOutcome writeServerBatch(ServerSettings& settings, Platform& platform,
                              ScriptDialect dialect = kNativeScriptDialect);

enum class LaunchOutcome {
  Finished,           // the server ran and ended; the temporary files are gone
  ExecutableMissing,  // the executable path cannot be read; nothing written
  ConfigNotWritten,   // the temporary .cfg could not be written; nothing started
  ScriptNotWritten,   // the temporary script could not be written; nothing started
  StartFailed,        // the script could not be started
};

// "Spawn Listen": writes the settings as the temporary .cfg in the game
// directory (launch mode of writeConfig, which first carries over
// `editedPage`), writes the temporary script in the installation directory,
// runs it there and waits, then deletes both files. Every failure is
// reported in a message box and starts nothing.
LaunchOutcome spawnListenServer(ServerSettings& settings, ConfigWriterMemory& memory,
                                std::optional<Page> editedPage, Platform& platform,
                                ProcessRunner& runner,
                                ScriptDialect dialect = kNativeScriptDialect);

}  // namespace cvarsmith
