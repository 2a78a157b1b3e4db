// The "Browse" buttons: which files each offers in its open-file prompt, and
// which setting receives the chosen file. File names inside the active game
// directory of the installation are stored relative to it, as the game looks
// them up there.
#pragma once

#include "platform.h"
#include "server_settings.h"

namespace cvarsmith {

enum class BrowseTarget {
  LogFile,          // Files page
  AdminLog,         // Files page
  FilterFile,       // Files page
  FilesMapFile,     // Files page
  GfxFile,          // Files page
  PlayerFile,       // Files page
  FilesMotdFile,    // Files page
  FilesModeFile,    // Files page
  OtherMapFile,     // Other page
  VotingModeFile,   // Voting page
  MotdDialogFile,   // "Message Of The Day" dialog
  Executable,       // Command Line page and the "First Use" dialog
  ServerConfigFile, // Command Line page
};

// The prompt's filters: the target's own, then "All Files (*.*)".
FilePromptRequest browseRequest(BrowseTarget target);

// Puts the chosen file into the target's setting. The executable sets the
// path, directory and name of the Command Line page; the server config file
// is shortened against the page's installation and game directories; every
// other file against the stored installation directory ("Q3PATH", the
// page's when none is stored) and the active game directory.
void storeBrowsedFile(ServerSettings& settings, BrowseTarget target, const ChosenFile& chosen,
                      SettingsStore& store);

// Shows the target's prompt and stores the answer; false when cancelled.
bool browseForFile(ServerSettings& settings, BrowseTarget target, FilePrompts& prompts,
                   SettingsStore& store);

}  // namespace cvarsmith
