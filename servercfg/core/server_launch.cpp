#include "server_launch.h"

#include <cstdio>
#include <filesystem>

#include "config_writer.h"
#include "install_paths.h"
#include "platform.h"

namespace cvarsmith {

namespace {

// Creates `path` (text mode, replacing an old file) with `text`.
enum class FileWrite { Written, OpenFailed, WriteFailed };
FileWrite writeTextFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return FileWrite::OpenFailed;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed ? FileWrite::Written : FileWrite::WriteFailed;
}

// A shell script is made runnable for everyone who may read it.
void makeRunnable(const std::string& path, ScriptDialect dialect) {
  if (dialect != ScriptDialect::PosixShell) return;
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::perms perms = fs::status(path, error).permissions();
  if (error) return;
  fs::perms runnable = fs::perms::none;
  if ((perms & fs::perms::owner_read) != fs::perms::none) runnable |= fs::perms::owner_exec;
  if ((perms & fs::perms::group_read) != fs::perms::none) runnable |= fs::perms::group_exec;
  if ((perms & fs::perms::others_read) != fs::perms::none) runnable |= fs::perms::others_exec;
  fs::permissions(path, runnable, fs::perm_options::add, error);
}

void removeFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

bool executableCanBeRead(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

std::string listenScriptPath(const CommandLinePage& page, ScriptDialect dialect) {
  return (std::filesystem::path(page.installationDirectory) /
          scriptNaming(dialect).listenScriptName)
      .string();
}

// The interpreter that runs a script, and its arguments.
struct ScriptCommand {
  std::string program;
  std::vector<std::string> arguments;
};
ScriptCommand scriptCommand(const std::string& scriptPath, ScriptDialect dialect) {
  if (dialect == ScriptDialect::PosixShell) return {"/bin/sh", {scriptPath}};
  return {"cmd.exe", {"/c", scriptPath}};
}

void reportLaunchFailure(MessageBoxes& messages, const std::string& text) {
  messages.showMessage(text + "  The server was not started.", kLaunchFailedCaption,
                       MessageIcon::Error);
}

}  // namespace

BatchOutcome writeServerBatch(ServerSettings& settings, Platform& platform,
                              ScriptDialect dialect) {
  CommandLinePage& page = settings.commandLine;
  saveInstallPaths(page, platform.store);
  page.configFileName =
      relativisePath(page.configFileName, page.installationDirectory, page.gameDirectory);

  // Checked before the prompt, so that a refused value leaves no file behind.
  RenderedScript script = renderServerBatch(page, dialect);
  if (script.refusedCaption) {
    platform.messages.showMessage(refusedScriptMessage(*script.refusedCaption),
                                  kWriteFailedCaption, MessageIcon::Error);
    return BatchOutcome::Refused;
  }

  const ScriptNaming naming = scriptNaming(dialect);
  FilePromptRequest request{naming.defaultBatchName,
                            {{naming.filterDescription, naming.filterPattern},
                             {"All Files (*.*)", "*.*"}},
                            naming.extension,
                            true};
  std::optional<ChosenFile> chosen = platform.files.promptSaveFile(request);
  if (!chosen) return BatchOutcome::Cancelled;
  switch (writeTextFile(chosen->fullPath, script.text)) {
    case FileWrite::OpenFailed:
      platform.messages.showMessage(kOpenFailedText, kWriteFailedCaption, MessageIcon::Error);
      return BatchOutcome::OpenFailed;
    case FileWrite::WriteFailed:
      platform.messages.showMessage(kWriteIncompleteText, kWriteFailedCaption, MessageIcon::Error);
      return BatchOutcome::WriteFailed;
    case FileWrite::Written:
      break;
  }
  makeRunnable(chosen->fullPath, dialect);
  return BatchOutcome::Written;
}

LaunchOutcome spawnListenServer(ServerSettings& settings, ConfigWriterMemory& memory,
                                std::optional<Page> editedPage, Platform& platform,
                                ProcessRunner& runner, ScriptDialect dialect) {
  MessageBoxes& messages = platform.messages;
  if (!executableCanBeRead(settings.commandLine.executablePath)) {
    messages.showMessage(kExecutableMissingText, kExecutableMissingCaption, MessageIcon::Error);
    return LaunchOutcome::ExecutableMissing;
  }

  const WriteOutcome written =
      writeConfig(settings, memory, WriteMode::Launch, editedPage, platform);
  const CommandLinePage& page = settings.commandLine;
  const std::string configPath = launchConfigPath(page);
  if (written != WriteOutcome::Written) {
    if (written == WriteOutcome::WriteFailed) removeFile(configPath);
    // A refusal has been reported by the writer already.
    if (written != WriteOutcome::Refused) {
      reportLaunchFailure(messages, "Unable to write the temporary configuration file " +
                                        configPath + ".");
    }
    return LaunchOutcome::ConfigNotWritten;
  }

  const std::string scriptPath = listenScriptPath(page, dialect);
  RenderedScript script = renderListenScript(page, kLaunchConfigFileName, dialect);
  if (script.refusedCaption) {
    removeFile(configPath);
    messages.showMessage(refusedScriptMessage(*script.refusedCaption), kLaunchFailedCaption,
                         MessageIcon::Error);
    return LaunchOutcome::ScriptNotWritten;
  }
  if (writeTextFile(scriptPath, script.text) != FileWrite::Written) {
    removeFile(scriptPath);
    removeFile(configPath);
    reportLaunchFailure(messages, "Unable to write the start script " + scriptPath + ".");
    return LaunchOutcome::ScriptNotWritten;
  }

  const ScriptCommand command = scriptCommand(scriptPath, dialect);
  const std::optional<int> status =
      runner.runAndWait(command.program, command.arguments, page.installationDirectory);
  removeFile(scriptPath);
  removeFile(configPath);
  if (!status) {
    reportLaunchFailure(messages, "Unable to run " + command.program + ".");
    return LaunchOutcome::StartFailed;
  }
  return LaunchOutcome::Finished;
}

}  // namespace cvarsmith
