// The start scripts: the one "Generate Batch File" saves, which starts a
// server with the Command Line page's settings, and the temporary one that
// starts a listen server. On Windows they are batch files run by the command
// interpreter; elsewhere POSIX shell scripts. Both enter the installation
// directory and run the executable with the same command-line pieces.
#pragma once

#include <optional>
#include <string>

#include "server_settings.h"

namespace cvarsmith {

enum class ScriptDialect { WindowsBatch, PosixShell };

#ifdef _WIN32
inline constexpr ScriptDialect kNativeScriptDialect = ScriptDialect::WindowsBatch;
#else
inline constexpr ScriptDialect kNativeScriptDialect = ScriptDialect::PosixShell;
#endif

// The script's file-name conventions in one dialect.
struct ScriptNaming {
  const char* defaultBatchName;    // initial name of the save prompt
  const char* filterDescription;   // e.g. "Batch File (*.bat)"
  const char* filterPattern;       // e.g. "*.bat"
  const char* extension;           // default extension, without the dot
  const char* listenScriptName;    // the temporary listen-server script
};
ScriptNaming scriptNaming(ScriptDialect dialect);

// A script, or the setting that a script of this dialect cannot carry.
struct RenderedScript {
  std::string text;
  std::optional<std::string> refusedCaption;  // e.g. "Active Game Directory:"
};

// The saved start script. The command is one line of pieces, each followed
// by one blank: the executable, "+cvar_restart" with "Reset Cvars",
// "+set com_hunkmegs", "+set fs_game", "+set dedicated 1|2" unless Listen,
// "+exec" with a non-empty config file name, "+set net_IP" and "+set
// net_Port" when checked. A batch file starts with a drive line when the
// executable path names a drive; a shell script stops if the directory
// cannot be entered.
RenderedScript renderServerBatch(const CommandLinePage& page, ScriptDialect dialect);

// The listen-server script: always "+cvar_restart", the hunk size, the game
// directory and "+exec" of `configName`, every value quoted; no dedicated,
// net_IP or net_Port setting; no final line feed in a batch file.
RenderedScript renderListenScript(const CommandLinePage& page, const std::string& configName,
                                  ScriptDialect dialect);

// A refusal's message, e.g. for a value holding a double quote.
std::string refusedScriptMessage(const std::string& caption);

}  // namespace cvarsmith
