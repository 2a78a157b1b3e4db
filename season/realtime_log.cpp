#include "realtime_log.h"

#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include "crash_point.h"
#include "file_ops.h"
#include "line_filter.h"
#include "run_summary.h"
#include "season_config.h"
#include "text.h"

namespace season {

namespace {

std::string plainName(std::string name) {
  stripIllegalFilenameChars(name);
  return name;
}

// True when the file holds a server's "InitGame:" line.
bool holdsGameStart(const std::string& path) {
  std::FILE* file = openInputFile(path.c_str());
  if (file == nullptr) return false;
  FixedText line;
  bool found = false;
  while (!found && readLine(file, line)) found = isServerEventLine(line, "InitGame:");
  std::fclose(file);
  return found;
}

// `started`: a game began before the log's first line (the carry-over holds
// its beginning).
bool holdsCompleteGame(std::FILE* log, bool started) {
  FixedText line;
  while (readLine(log, line)) {
    if (isServerEventLine(line, "InitGame:")) started = true;
    if (started && isServerEventLine(line, "ShutdownGame:")) return true;
  }
  return false;
}

// Copies the live log to `snapshot` through a temporary file. The copy
// catches up with lines the server writes meanwhile; `live` stays open and
// positioned after the last byte copied.
bool copyLiveLog(std::FILE* live, const std::string& live_name, const std::string& snapshot, long long& copied) {
  const std::string temporary = snapshot + ".tmp";
  std::FILE* copy = std::fopen(temporary.c_str(), "wb");
  if (copy == nullptr) return false;
  bool ok = true;
  do {
    std::clearerr(live);
    ok = copyStream(live, copy, copied);
  } while (ok && fileSize(live_name) > copied);
  if (!closeSynced(copy)) ok = false;
  if (ok && std::rename(temporary.c_str(), snapshot.c_str()) != 0) ok = false;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

// Appends a file to the archive; on failure the archive is cut back to its
// size before, so a retry never leaves a fragment in it.
bool appendToArchive(const std::string& archive_name, const std::string& source_name) {
  long long size_before = fileSize(archive_name);
  std::FILE* archive = std::fopen(archive_name.c_str(), "ab");
  std::FILE* source = std::fopen(source_name.c_str(), "rb");
  bool ok = archive != nullptr && source != nullptr;
  long long copied = 0;
  if (ok) ok = copyStream(source, archive, copied);
  if (source != nullptr) std::fclose(source);
  if (archive != nullptr && !closeSynced(archive)) ok = false;
  if (!ok && archive != nullptr) {
    if (truncate(archive_name.c_str(), size_before < 0 ? 0 : size_before) != 0) {
      std::fprintf(stderr, "ERROR: could not cut %s back to its size before the failed append\n",
                   archive_name.c_str());
    }
  }
  return ok;
}

// Lines the server wrote to the live log after the snapshot was copied go to
// the snapshot and the archive too, just before the log is emptied.
bool catchUp(std::FILE* live, const RealtimeFiles& files, long long& copied) {
  if (fileSize(files.live) <= copied) return true;
  const std::string rest = files.snapshot + ".rest";
  std::FILE* out = std::fopen(rest.c_str(), "wb");
  if (out == nullptr) return false;
  std::clearerr(live);
  bool ok = copyStream(live, out, copied);
  if (!closeSynced(out)) ok = false;
  if (ok) {
    std::FILE* snapshot = std::fopen(files.snapshot.c_str(), "ab");
    std::FILE* source = std::fopen(rest.c_str(), "rb");
    long long appended = 0;
    ok = snapshot != nullptr && source != nullptr && copyStream(source, snapshot, appended);
    if (source != nullptr) std::fclose(source);
    if (snapshot != nullptr && !closeSynced(snapshot)) ok = false;
    if (ok) ok = appendToArchive(files.archive, rest);
  }
  std::remove(rest.c_str());
  return ok;
}

// Undoes a snapshot whose live log was not emptied: the live log still has
// every line, so neither the snapshot nor its archive copy may count.
void undoSnapshot(const RealtimeFiles& files) {
  if (fileEndsWith(files.archive, files.snapshot)) {
    long long keep = fileSize(files.archive) - fileSize(files.snapshot);
    if (truncate(files.archive.c_str(), keep) != 0) {
      std::fprintf(stderr, "ERROR: could not take the unfinished snapshot out of %s\n", files.archive.c_str());
    }
  }
  std::remove(files.snapshot.c_str());
  std::remove(files.pending.c_str());
}

// True when both names lead to one file. With an empty backup_dir, a live
// log in the working directory named in small letters is its own archive:
// appending to the archive and then emptying the log would lose both.
bool sameFile(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// The steps of a snapshot once the carry-over is saved. False (recorded) at
// the first that fails, with the live log and the archive as they were.
bool snapshotArchiveAndEmpty(std::FILE* live, const RealtimeFiles& files, RunStatus& status) {
  long long copied = 0;
  if (live == nullptr || !copyLiveLog(live, files.live, files.snapshot, copied)) {
    status.fail(Failure::kWrite, "could not copy " + files.live + " to " + files.snapshot + "; it is left intact");
    return false;
  }
  crashPoint("snapshot-copied");
  if (!appendToArchive(files.archive, files.snapshot)) {
    status.fail(Failure::kWrite, "could not append " + files.live + " to the archive " + files.archive +
                                     "; the log is left intact");
    std::remove(files.snapshot.c_str());
    return false;
  }
  crashPoint("archive-appended");
  std::printf(" - truncating realtime logfile (%s)\n", files.live.c_str());
  if (!catchUp(live, files, copied) || truncate(files.live.c_str(), 0) != 0) {
    status.fail(Failure::kWrite, "could not empty " + files.live + "; it is left intact");
    undoSnapshot(files);
    return false;
  }
  return true;
}

}  // namespace

RealtimeFiles realtimeFiles(const SeasonConfig& config, std::string_view log) {
  RealtimeFiles files;
  files.live.assign(log);
  files.snapshot = plainName("kestro_realtime_backup_" + files.live);
  files.pending = plainName("kestro_realtime_pending_" + files.live);
  files.archive = std::string(config.backup_dir.view()) + toLowerCase(plainName(files.live));
  std::string tail = "kestro_lastgame_1_" + files.snapshot;
  if (tail.size() > kMaxTextLength) tail.resize(kMaxTextLength);
  files.carry_over = plainName(tail);
  return files;
}

bool verifyLogfile(const RealtimeFiles& files) {
  std::printf("\n%s\n", kRule);
  std::printf(" Verifying logfile (%s)\n", files.live.c_str());
  std::printf("%s\n", kRule);
  std::FILE* log = openInputFile(files.live.c_str());
  bool complete = log != nullptr && holdsCompleteGame(log, holdsGameStart(files.carry_over));
  if (log != nullptr) std::fclose(log);
  if (complete) return true;
  std::printf(" Realtime log file does not have a complete game yet.\n");
  std::printf(" Leaving log intact. Stats will be analysed and updated on next run.\n");
  std::printf("%s\n\n", kRule);
  return false;
}

PendingSnapshot resumePendingSnapshot(const RealtimeFiles& files, RunStatus& status) {
  if (fileSize(files.pending) < 0) return PendingSnapshot::kNone;
  if (fileSize(files.snapshot) < 0) {
    std::remove(files.pending.c_str());  // the run stopped before it copied anything
    return PendingSnapshot::kNone;
  }
  if (fileStartsWith(files.live, files.snapshot)) {
    undoSnapshot(files);
    return PendingSnapshot::kNone;
  }
  if (!copyFileReplacing(files.pending, files.carry_over)) {
    status.fail(Failure::kWrite, "could not restore " + files.carry_over + " to finish the snapshot " +
                                     files.snapshot + "; it is left for the next run");
    return PendingSnapshot::kFailed;
  }
  std::printf(" - an earlier run did not finish %s: counting its remaining games first\n", files.snapshot.c_str());
  return PendingSnapshot::kFinishFirst;
}

bool takeSnapshot(const RealtimeFiles& files, RunStatus& status) {
  std::printf(" - creating backup... (this may take a while)\n");
  if (sameFile(files.live, files.archive)) {
    status.fail(Failure::kWrite, "the archive of " + files.live + " would be the live log itself; set backup_dir: " +
                                     "to a folder for the archive. The log is left intact");
    return false;
  }
  std::remove(files.snapshot.c_str());  // the last snapshot, finished
  if (!copyFileReplacing(files.carry_over, files.pending)) {
    status.fail(Failure::kWrite, "could not write " + files.pending + "; " + files.live + " is left intact");
    return false;
  }
  crashPoint("pending-saved");
  std::FILE* live = openInputFile(files.live.c_str());
  bool ok = snapshotArchiveAndEmpty(live, files, status);
  if (live != nullptr) std::fclose(live);
  if (!ok) {
    std::remove(files.pending.c_str());
    return false;
  }
  crashPoint("log-emptied");
  return true;
}

void finishSnapshot(const RealtimeFiles& files) { std::remove(files.pending.c_str()); }

}  // namespace season
