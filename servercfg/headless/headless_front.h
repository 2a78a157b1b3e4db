// Cvarsmith without its dialog: the options (headless_options.h) act in the
// order given on one set of settings that starts as the dialog's would.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "headless_options.h"

namespace cvarsmith {

class SettingsStore;
class Clock;
class ProcessRunner;

inline constexpr int kExitSuccess = 0;
// A file could not be read or written, or the server could not be started.
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// What the program uses of its surroundings.
struct HeadlessServices {
  SettingsStore& store;
  Clock& clock;
  ProcessRunner& runner;
  // The first guess of the executable path on first use (see installation_check.h).
  std::optional<std::string> installerExecutablePath;
};

// Runs the program for `args` (without the program name); returns the exit status.
int runHeadless(const std::vector<std::string>& args, HeadlessServices& services,
                std::ostream& out, std::ostream& err);

}  // namespace cvarsmith
