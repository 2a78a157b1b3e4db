// A server's live ("realtime") log: it is read only when it holds a complete
// game, then copied to a snapshot, emptied, and the snapshot appended to an
// archive, so that every game is counted once.
#pragma once

#include <string>
#include <string_view>

namespace season {

// Ends the program with status 0, leaving the log untouched, when the log
// holds no complete game ("ShutdownGame:" on or after the first "InitGame:").
void verifyLogfile(std::string_view name);

// Copies the log (g_logfile) to its snapshot, truncates the log and appends
// the snapshot to the archive. Returns the snapshot's name, or "" when the
// copy failed; the live log is then left as it was.
std::string snapshotRealtimeLog();

// Truncates a file to zero length.
void deleteFile(const char* name);

}  // namespace season
