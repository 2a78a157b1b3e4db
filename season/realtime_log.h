// A server's live ("realtime") log, followed while the server writes it.
//
// A run never changes the live log: the server may append a line at any
// moment, and a copy followed by an emptying would lose what it wrote in
// between. Instead the season remembers how far it has read (live_position.h)
// and takes the new complete lines since then as a snapshot, which it
// appends to the archive and counts. Every byte the server wrote reaches the
// archive exactly once, and every game is counted once (its fingerprint).
//
// The steps of one snapshot, and what a run that stops between them leaves:
//
//   IDLE       no pending file. The position file says where to read next.
//      │ takeSnapshot(): the new lines go to "<snapshot>.tmp" (synced)
//   PENDING    the pending file is written: the archive's size before, the
//      │       position this snapshot ends at, and the pre-parser's
//      │       carry-over as it was (so the snapshot converts the same way
//      │       again)
//   COPIED     the snapshot is renamed into place
//      │
//   ARCHIVED   the snapshot is appended to the archive (synced)
//      │
//   COMMITTED  the position file holds the snapshot's end (replaced whole).
//      │       From here on the snapshot's games must be counted.
//      │ the snapshot is converted and counted, its pages made
//      │ finishSnapshot()
//   IDLE       the pending file is removed.
//
// resumePendingSnapshot() looks at a pending file left by a run that
// stopped: before COMMITTED it undoes the snapshot (the archive is cut back
// to its size before, the snapshot removed), and the lines are taken again
// from the unchanged position; at COMMITTED it puts the carry-over back and
// has the snapshot counted first.
#pragma once

#include <string>
#include <string_view>

#include "live_position.h"
#include "run_status.h"
#include "season_config.h"

namespace season {

// The files of one live log, all in the working directory but the archive.
// Their names come from the log's name as given, each character other than a
// letter, digit or "." made "_"; two logs whose names give the same files
// (srv-1.log and srv_1.log, Live.log and live.log for the archive) never
// share them: the second one's names get a tag made from its path.
struct RealtimeFiles {
  std::string live;        // the live log as named on the command line
  std::string path;        // its absolute path: whose files these are
  std::string snapshot;    // "kestro_realtime_backup_<log>"
  std::string pending;     // "kestro_realtime_pending_<log>": the snapshot in progress
  std::string position;    // "kestro_realtime_position_<log>": how far the log is read
  std::string archive;     // backup_dir followed by the log's name, lower-cased
  std::string carry_over;  // the pre-parser's tail file for the snapshot
};

// The files of the live log `log`, claimed for it: the first run on a log
// records the log's path in its position file. False, with the failure
// recorded, when the files cannot be claimed.
bool claimRealtimeFiles(const SeasonConfig& config, std::string_view log, RealtimeFiles& files, RunStatus& status);

// Where the unread lines of the live log are now. False, with the failure
// recorded, when the live log cannot be opened (missing, a directory) or its
// position file is damaged.
bool findUnreadLines(const RealtimeFiles& files, UnreadPart& unread, RunStatus& status);

// Prints the verification and returns true when the unread lines complete
// a game: a server's "ShutdownGame:" line on or after its first "InitGame:"
// line, or anywhere when the pre-parser's carry-over holds the beginning of
// a game. Otherwise prints that the log is left for the next run.
bool verifyLogfile(const RealtimeFiles& files, const UnreadPart& unread);

// What an earlier run left behind.
enum class PendingSnapshot {
  kNone,         // nothing pending (or an unfinished snapshot was undone)
  kFinishFirst,  // a committed snapshot: count it first
  kFailed,       // the pending state could not be read or restored (recorded in status)
};

PendingSnapshot resumePendingSnapshot(const RealtimeFiles& files, RunStatus& status);

// Takes the unread complete lines as the snapshot, appends them to the
// archive and moves the position past them, checking every write. False
// when any of it failed: the failure is recorded and the position and the
// archive are as they were.
bool takeSnapshot(const RealtimeFiles& files, const UnreadPart& unread, RunStatus& status);

// Every game of the snapshot is in the database: nothing is pending any more.
// The snapshot itself stays until the next one.
void finishSnapshot(const RealtimeFiles& files);

}  // namespace season
