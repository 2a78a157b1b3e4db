// Cvarsmith, the server configuration generator, started from a shell.
#include <iostream>
#include <string>
#include <vector>

#include "command_line_platform.h"
#include "headless_front.h"
#include "qsettings_store.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  cvarsmith::QSettingsStore store;
  cvarsmith::SystemClock clock;
  return cvarsmith::runHeadless(args, store, clock, std::cout, std::cerr);
}
