// kestrostats-s: a season over many logs, with player totals in a database.
#pragma once

namespace season {

// The whole program; returns the exit status.
int kestrostatsS(int argc, char** argv);

// Removes the temporary files of the run (unless the environment variable
// KS_KEEP_TEMP_FILES is set, for a look at what the run did).
void cleanUpTempFiles();

}  // namespace season
