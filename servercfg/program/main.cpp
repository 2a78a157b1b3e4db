// Cvarsmith, the server configuration generator. Without options it opens
// its dialog (when built with one); with options it runs from the shell.
// The program sits above both fronts, which know nothing of each other.
#include <iostream>
#include <string>
#include <vector>

#include "headless_front.h"
#include "qprocess_runner.h"
#include "qsettings_store.h"
#include "system_clock.h"

#ifdef CVARSMITH_WITH_DIALOG
#include "headless_options.h"
#include "run_dialog.h"
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef CVARSMITH_WITH_DIALOG
  if (args.empty()) {
    if (cvarsmith::displayAvailable()) return cvarsmith::runDialog(argc, argv);
    std::cerr << "Cvarsmith: there is no display to open the dialog on; "
                 "use the options below.\n\n";
    cvarsmith::printUsage(std::cerr);
    return cvarsmith::kExitUsage;
  }
#endif
  cvarsmith::QSettingsStore store;
  cvarsmith::SystemClock clock;
  cvarsmith::QProcessRunner runner;
  cvarsmith::HeadlessServices services{store, clock, runner,
                                       cvarsmith::installerExecutablePath()};
  return cvarsmith::runHeadless(args, services, std::cout, std::cerr);
}
