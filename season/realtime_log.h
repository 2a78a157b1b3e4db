// A server's live ("realtime") log: it is read only when it holds a complete
// game; it is then copied to a snapshot, appended to the archive and
// emptied, and the snapshot is converted and counted.
//
// No line of the live log is lost, whatever fails and whenever the run is
// killed. The snapshot stays "pending" until every one of its games is in
// the database: the pending file holds the pre-parser's carry-over tail as
// it was before the snapshot was converted, so a later run can convert the
// snapshot again exactly as the first time, and the games' fingerprints
// keep those already counted from counting twice. The live log is emptied
// only once the snapshot and the archive are safely written.
#pragma once

#include <string>
#include <string_view>

#include "run_status.h"
#include "season_config.h"

namespace season {

// The files of one live log, all in the working directory but the archive.
struct RealtimeFiles {
  std::string live;        // the live log as named on the command line
  std::string snapshot;    // "kestro_realtime_backup_<log>"
  std::string pending;     // "kestro_realtime_pending_<log>": the saved carry-over tail
  std::string archive;     // backup_dir followed by the log's name, lower-cased
  std::string carry_over;  // the pre-parser's tail file for the snapshot
};
RealtimeFiles realtimeFiles(const SeasonConfig& config, std::string_view log);

// Prints the verification and returns true when the log completes a game: a
// server's "ShutdownGame:" line on or after its first "InitGame:" line, or
// anywhere when the pre-parser's carry-over holds the beginning of a game cut
// by the last truncation. Otherwise prints that the log is left for the next
// run and returns false; the log is not touched.
bool verifyLogfile(const RealtimeFiles& files);

// What an earlier run left behind.
enum class PendingSnapshot {
  kNone,         // nothing pending (or an unfinished snapshot was undone)
  kFinishFirst,  // the snapshot holds lines the live log no longer has: count it first
  kFailed,       // the pending state could not be restored (recorded in status)
};

// Looks for a snapshot that an earlier run took but did not finish. When
// the live log was never emptied, the snapshot is undone (and its archive
// append with it). When it was, the pre-parser's carry-over is put back as
// it was before the snapshot, and the snapshot must be counted first.
PendingSnapshot resumePendingSnapshot(const RealtimeFiles& files, RunStatus& status);

// Saves the carry-over, copies the live log to the snapshot, appends the
// snapshot to the archive and empties the live log, checking every write.
// False when any of it failed: the failure is recorded, the live log keeps
// everything and nothing is pending.
bool takeSnapshot(const RealtimeFiles& files, RunStatus& status);

// Every game of the snapshot is in the database: nothing is pending any more.
// The snapshot itself stays until the next one.
void finishSnapshot(const RealtimeFiles& files);

}  // namespace season
