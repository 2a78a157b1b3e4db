// What the core needs from its surroundings, as small interfaces. The dialog
// answers them with windows, the command-line front from its options, and the
// tests with fakes.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cvarsmith {

enum class MessageIcon { None, Exclamation, Error };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // An OK-only message.
  virtual void showMessage(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  // A question with OK and Cancel; true when OK was pressed.
  virtual bool askOkCancel(const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
};

struct FileFilter {
  std::string description;  // e.g. "Config File (*.cfg)"
  std::string pattern;      // e.g. "*.cfg"
};

struct FilePromptRequest {
  std::string initialName;
  std::vector<FileFilter> filters;
  std::string defaultExtension;  // appended by the prompt when none is typed
  bool confirmOverwrite = false;
};

struct ChosenFile {
  std::string fullPath;
  std::string fileName;  // the last component of fullPath
};

class FilePrompts {
 public:
  virtual ~FilePrompts() = default;
  // Both return nothing when the user cancels.
  virtual std::optional<ChosenFile> promptSaveFile(const FilePromptRequest& request) = 0;
  virtual std::optional<ChosenFile> promptOpenFile(const FilePromptRequest& request) = 0;
};

// The program's persistent key: on Windows the registry key
// HKEY_LOCAL_MACHINE\Software\Cvarsmith, elsewhere a file in the user's
// configuration directory. Values are strings.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual bool keyExists() = 0;
  // Nothing when the key or the value is missing or cannot be read.
  virtual std::optional<std::string> readValue(std::string_view name) = 0;
  // Writes into the key, creating it when `createKey` is set; false when the
  // key is missing (and not to be created) or cannot be written.
  virtual bool writeValue(std::string_view name, const std::string& value, bool createKey) = 0;
};

// Starts an outside program and waits until it ends.
class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Runs `program` with `arguments` (passed as they are, through no shell)
  // in `workingDirectory`, sharing the caller's terminal; returns its exit
  // status, or nothing when it could not be started.
  virtual std::optional<int> runAndWait(const std::string& program,
                                        const std::vector<std::string>& arguments,
                                        const std::string& workingDirectory) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::tm localNow() = 0;
};

// The services one operation of the core may use.
struct Platform {
  MessageBoxes& messages;
  FilePrompts& files;
  SettingsStore& store;
  Clock& clock;
};

}  // namespace cvarsmith
