// Reads a server .cfg file (one the writer wrote, or one edited by hand) back
// into ServerSettings, as "Load .cfg" does.
//
// Two passes over the file. The first looks only for mode_start lines and
// offers the preset each one names, so a preset's values come first; the
// second applies every recognised line in file order, so a variable set
// twice keeps its last value. Lines that cannot be applied are collected in
// a problem listing for the "Import" dialog.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "loader_table.h"
#include "server_settings.h"

namespace cvarsmith {

struct Platform;
class MessageBoxes;

inline constexpr const char* kOpenReadFailedText = "Error Opening File.";
inline constexpr const char* kOpenReadFailedCaption = "File Read Error";
inline constexpr const char* kImportProblemsCaption =
    "There were problems importing the following lines:";

// A line is read up to and including its line feed, but at most this many
// characters; the rest of a longer line is read as the next line.
inline constexpr std::size_t kConfigLinePieceLength = 1023;

enum class LoadOutcome { Loaded, Cancelled, OpenFailed };

struct LoadReport {
  LoadOutcome outcome = LoadOutcome::Cancelled;
  // Every line not applied, each as "%3d: %s\r\n" with its line number;
  // empty when all went well (the "Import" dialog is then not shown).
  std::string problems;
  // Pages whose enabled controls depend on a value that was loaded (a
  // refresh row or a decoded row that greys controls), in the order met.
  std::vector<Page> enablingChanged;
};

// Appends one entry to a problem listing, in the form "%s%3d: %s\r\n".
void appendProblemLine(std::string& listing, int lineNumber, std::string_view line);

// "Load .cfg": asks for the file (nothing happens when cancelled), reports
// "Error Opening File." when it is not a regular file that can be read to
// its end (the settings then stay as they were), otherwise loads it. The
// caller shows a non-empty problem listing in the "Import" dialog and
// refreshes every page from the settings.
LoadReport loadConfig(ServerSettings& settings, Platform& platform);

// Loads the named file as loadConfig does after its prompt. The mode_start
// question goes to `messages`; presets restore defaults from `store`.
LoadReport loadConfigFile(ServerSettings& settings, const std::string& path,
                          MessageBoxes& messages, SettingsStore& store);

// The effect of the line set NAME "VALUE" in the second pass: Refused when
// the variable is unknown or the value cannot be applied (nothing changes
// then), Shortened when a text was cut to its box. Only a line that was
// Applied stays out of the problem listing.
ValueOutcome applyConfigVariable(ServerSettings& settings, std::string_view name,
                                 std::string_view value,
                                 std::vector<Page>* enablingChanged = nullptr);

}  // namespace cvarsmith
