// Cvarsmith without its dialog: the options are parsed completely first (a
// usage error changes nothing), then act in the order given on one set of
// settings that starts as the dialog's would.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "mode_presets.h"

namespace cvarsmith {

class SettingsStore;
class Clock;

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a file could not be written
inline constexpr int kExitUsage = 2;

struct HeadlessAction {
  enum class Kind { Preset, Executable, Write, Explain };
  Kind kind;
  std::string argument;
  ModePreset preset = ModePreset::Ffa;  // for Kind::Preset
};

struct ParsedOptions {
  std::vector<HeadlessAction> actions;
  bool showHelp = false;
  std::optional<std::string> error;  // a usage error, already worded
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

void printUsage(std::ostream& out);

// Runs the program for `args` (without the program name); returns the exit status.
int runHeadless(const std::vector<std::string>& args, SettingsStore& store, Clock& clock,
                std::ostream& out, std::ostream& err);

}  // namespace cvarsmith
