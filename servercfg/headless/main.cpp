// Cvarsmith, the server configuration generator, started from a shell.
#include <iostream>
#include <string>
#include <vector>

#include "command_line_platform.h"
#include "headless_front.h"
#include "qprocess_runner.h"
#include "qsettings_store.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  cvarsmith::QSettingsStore store;
  cvarsmith::SystemClock clock;
  cvarsmith::QProcessRunner runner;
  cvarsmith::HeadlessServices services{store, clock, runner,
                                       cvarsmith::installerExecutablePath()};
  return cvarsmith::runHeadless(args, services, std::cout, std::cerr);
}
