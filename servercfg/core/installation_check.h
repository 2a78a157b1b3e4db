// The check of the game's installation when the program starts: the stored
// installation paths are read, or, on first use, the user confirms where the
// executable is and the paths are stored for the next run.
#pragma once

#include <optional>
#include <string>

namespace cvarsmith {

class SettingsStore;
struct CommandLinePage;

// The "First Use" dialog: shows `suggestedPath` in its "Quake Executable
// Path:" box; returns the path confirmed with "OK", or nothing for "Exit
// Program".
class FirstUseDialog {
 public:
  virtual ~FirstUseDialog() = default;
  virtual std::optional<std::string> confirmExecutablePath(const std::string& suggestedPath) = 0;
};

enum class InstallationCheck {
  Stored,       // the store held the paths; they are in the page
  Recorded,     // first use: the confirmed paths are in the page and the store
  ExitProgram,  // first use ended with "Exit Program"
};

// When the store's key exists, reads the three paths into the page (a value
// that cannot be read leaves the page's). Otherwise suggests the game
// installer's executable path when there is one (else the page's path),
// and on "OK" sets the page's paths from the answer and creates the key
// with them.
InstallationCheck checkInstallation(CommandLinePage& page, SettingsStore& store,
                                    const std::optional<std::string>& installerExecutablePath,
                                    FirstUseDialog& dialog);

}  // namespace cvarsmith
