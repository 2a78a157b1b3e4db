#include "realtime_log.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "crash_point.h"
#include "file_ops.h"
#include "line_filter.h"
#include "run_summary.h"
#include "season_config.h"
#include "sha256.h"
#include "text.h"

namespace season {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPositionPrefix = "kestro_realtime_position_";
constexpr std::string_view kPendingMagic = "kestrostats-pending 1\n";

std::string plainName(std::string name) {
  stripIllegalFilenameChars(name);
  return name;
}

std::string absolutePath(std::string_view log) {
  std::error_code error;
  fs::path path = fs::weakly_canonical(fs::absolute(fs::path(log), error), error);
  return error ? std::string(log) : path.string();
}

// True when a position file whose name differs from ours at most in letter
// case (the archive's name is lower-cased) belongs to another log. A damaged
// file of exactly our name is ours: reading it reports the damage.
bool claimedByOther(const std::string& plain, const std::string& path) {
  const std::string ours = kPositionPrefix + plain;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(".", error)) {
    const std::string name = entry.path().filename().string();
    if (toLowerCase(name) != toLowerCase(ours)) continue;
    std::string text;
    std::optional<LivePosition> owner;
    if (readWholeFile(name, text)) owner = parsePosition(text);
    if (owner ? owner->log != path : name != ours) return true;
  }
  return false;
}

void nameFiles(const SeasonConfig& config, const std::string& plain, RealtimeFiles& files) {
  files.snapshot = "kestro_realtime_backup_" + plain;
  files.pending = "kestro_realtime_pending_" + plain;
  files.position = kPositionPrefix + plain;
  files.archive = std::string(config.backup_dir.view()) + toLowerCase(plain);
  std::string tail = "kestro_lastgame_1_" + files.snapshot;
  if (tail.size() > kMaxTextLength) tail.resize(kMaxTextLength);
  files.carry_over = plainName(tail);
}

// Calls `line` for every complete line (one that ends in a line end) of the
// file from byte `from`, until it returns true. True when it did.
bool findLine(const std::string& path, long long from, const std::function<bool(std::string_view)>& line) {
  std::FILE* file = openInputFile(path.c_str());
  if (file == nullptr) return false;
  bool found = false;
  if (fseeko(file, static_cast<off_t>(from), SEEK_SET) == 0) {
    FixedText text;
    while (!found && readLine(file, text)) {
      if (text.view().ends_with('\n')) found = line(text.view());
    }
  }
  std::fclose(file);
  return found;
}

bool holdsGameStart(const std::string& path) {
  return findLine(path, 0, [](std::string_view line) { return isServerEventLine(line, "InitGame:"); });
}

// Copies `path` from byte `from` to its end into `to`. With `whole_lines`,
// `end` is set just after the last line end copied (`from` when none).
bool copyFrom(const std::string& path, long long from, std::FILE* to, bool whole_lines, long long& end) {
  std::FILE* file = openInputFile(path.c_str());
  if (file == nullptr) return false;
  bool ok = fseeko(file, static_cast<off_t>(from), SEEK_SET) == 0;
  end = from;
  long long at = from;
  std::array<char, 65536> chunk;
  std::size_t n;
  while (ok && (n = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) {
    if (std::fwrite(chunk.data(), 1, n, to) != n) ok = false;
    if (const void* last = memrchr(chunk.data(), '\n', n)) {
      end = at + (static_cast<const char*>(last) - chunk.data()) + 1;
    }
    at += static_cast<long long>(n);
  }
  if (std::ferror(file) != 0) ok = false;
  std::fclose(file);
  if (!whole_lines) end = at;
  return ok;
}

// Writes the unread complete lines to `temporary`; `live_end` is where the
// live log's part of them ends.
bool copyUnread(const RealtimeFiles& files, const UnreadPart& unread, const std::string& temporary,
                long long& live_end) {
  std::FILE* copy = std::fopen(temporary.c_str(), "wb");
  if (copy == nullptr) return false;
  long long rotated_end = unread.rotated_from;
  bool ok = unread.rotated.empty() || copyFrom(unread.rotated, unread.rotated_from, copy, false, rotated_end);
  ok = ok && copyFrom(files.live, unread.live_from, copy, true, live_end);
  // A line the server is still writing stays for the next run.
  const long long whole = (rotated_end - unread.rotated_from) + (live_end - unread.live_from);
  ok = ok && std::fflush(copy) == 0 && ftruncate(fileno(copy), static_cast<off_t>(whole)) == 0;
  if (!closeStream(copy, Durability::kSynced)) ok = false;
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
  if (archive != nullptr && !closeStream(archive, Durability::kSynced)) ok = false;
  if (!ok && archive != nullptr) {
    if (truncate(archive_name.c_str(), size_before < 0 ? 0 : size_before) != 0) {
      std::fprintf(stderr, "ERROR: could not cut %s back to its size before the failed append\n",
                   archive_name.c_str());
    }
  }
  return ok;
}

// True when both names lead to one file. With an empty backup_dir, a live
// log in the working directory named in small letters is its own archive.
bool sameFile(const std::string& a, const std::string& b) {
  struct stat first;
  struct stat second;
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// The pending file: what a later run needs to undo or finish the snapshot.
struct Pending {
  long long archive_size = 0;  // the archive's size before the snapshot
  std::string position;        // the position file's text once committed
  std::string carry_over;      // the pre-parser's tail as it was
};

std::string pendingText(const Pending& p) {
  return std::string(kPendingMagic) + "archive " + std::to_string(p.archive_size) + "\n" + p.position + p.carry_over;
}

std::optional<Pending> parsePending(const std::string& text) {
  if (!text.starts_with(kPendingMagic)) return std::nullopt;
  std::size_t archive_end = text.find('\n', kPendingMagic.size());
  if (archive_end == std::string::npos) return std::nullopt;
  std::size_t position_end = text.find('\n', archive_end + 1);
  if (position_end == std::string::npos) return std::nullopt;
  Pending p;
  if (std::sscanf(text.c_str() + kPendingMagic.size(), "archive %lld", &p.archive_size) != 1) return std::nullopt;
  p.position = text.substr(archive_end + 1, position_end - archive_end);
  p.carry_over = text.substr(position_end + 1);
  return p;
}

// Undoes a snapshot that never reached COMMITTED: the position still points
// before its lines, so neither the snapshot nor its archive copy may count.
void undoSnapshot(const RealtimeFiles& files, long long archive_size) {
  if (fileSize(files.archive) > archive_size && truncate(files.archive.c_str(), archive_size) != 0) {
    std::fprintf(stderr, "ERROR: could not take the unfinished snapshot out of %s\n", files.archive.c_str());
  }
  std::remove((files.snapshot + ".tmp").c_str());
  std::remove(files.snapshot.c_str());
  std::remove(files.pending.c_str());
}

// A pending file written by a version that emptied the live log: it holds
// only the carry-over. When the live log was not emptied yet, the snapshot
// is undone; when it was, the snapshot is counted first.
PendingSnapshot resumeEmptyingSnapshot(const RealtimeFiles& files, RunStatus& status) {
  if (fileSize(files.snapshot) < 0) {  // it stopped before it copied anything
    std::remove(files.pending.c_str());
    return PendingSnapshot::kNone;
  }
  if (fileStartsWith(files.live, files.snapshot)) {
    if (fileEndsWith(files.archive, files.snapshot)) undoSnapshot(files, fileSize(files.archive) - fileSize(files.snapshot));
    else undoSnapshot(files, fileSize(files.archive));
    return PendingSnapshot::kNone;
  }
  if (!copyFileReplacing(files.pending, files.carry_over)) {
    status.fail(Failure::kWrite, "could not restore " + files.carry_over + " to finish the snapshot " +
                                     files.snapshot + "; it is left for the next run");
    return PendingSnapshot::kFailed;
  }
  return PendingSnapshot::kFinishFirst;
}

PendingSnapshot resumeFromPending(const RealtimeFiles& files, const std::string& text, RunStatus& status) {
  if (!text.starts_with(kPendingMagic)) return resumeEmptyingSnapshot(files, status);
  std::optional<Pending> pending = parsePending(text);
  if (!pending) {
    status.fail(Failure::kLog, files.pending + " is damaged; " + files.live + " is left for the next run");
    return PendingSnapshot::kFailed;
  }
  // Undoing a committed snapshot would skip its lines for good, so a
  // position that cannot be read is a failure, not a reason to undo.
  std::string position;
  if (!readWholeFile(files.position, position)) {
    status.fail(Failure::kLog, "could not read " + files.position + "; " + files.live + " is left for the next run");
    return PendingSnapshot::kFailed;
  }
  if (position != pending->position) {
    undoSnapshot(files, pending->archive_size);
    return PendingSnapshot::kNone;
  }
  if (fileSize(files.snapshot) < 0) {
    status.fail(Failure::kLog, "the snapshot " + files.snapshot + " of " + files.live +
                                   " is missing; its lines are in the archive " + files.archive);
    return PendingSnapshot::kFailed;
  }
  if (!replaceFile(files.carry_over, pending->carry_over)) {
    status.fail(Failure::kWrite, "could not restore " + files.carry_over + " to finish the snapshot " +
                                     files.snapshot + "; it is left for the next run");
    return PendingSnapshot::kFailed;
  }
  return PendingSnapshot::kFinishFirst;
}

// Steps PENDING to COMMITTED once the new lines are in `temporary`.
bool commitSnapshot(const RealtimeFiles& files, const std::string& temporary, const std::string& position,
                    RunStatus& status) {
  Pending pending;
  pending.archive_size = std::max(0LL, fileSize(files.archive));
  pending.position = position;
  if (fileSize(files.carry_over) >= 0 && !readWholeFile(files.carry_over, pending.carry_over)) {
    status.fail(Failure::kWrite, "could not read " + files.carry_over + "; " + files.live + " is left for the next run");
    return false;
  }
  if (!replaceFile(files.pending, pendingText(pending))) {
    status.fail(Failure::kWrite, "could not write " + files.pending + "; " + files.live + " is left for the next run");
    return false;
  }
  crashPoint("pending-saved");
  if (std::rename(temporary.c_str(), files.snapshot.c_str()) != 0 || !realFileSystem().syncFolderOf(files.snapshot)) {
    status.fail(Failure::kWrite, "could not write " + files.snapshot + "; " + files.live + " is left for the next run");
    undoSnapshot(files, pending.archive_size);
    return false;
  }
  crashPoint("snapshot-copied");
  if (!appendToArchive(files.archive, files.snapshot)) {
    status.fail(Failure::kWrite, "could not append " + files.live + " to the archive " + files.archive +
                                     "; its new lines are left for the next run");
    undoSnapshot(files, pending.archive_size);
    return false;
  }
  crashPoint("archive-appended");
  // A failure after the rename (the folder's sync) has still moved the
  // position: then the snapshot is committed and must not be undone.
  std::string written;
  if (!replaceFile(files.position, position) && !(readWholeFile(files.position, written) && written == position)) {
    status.fail(Failure::kWrite, "could not write " + files.position + "; " + files.live +
                                     "'s new lines are left for the next run");
    undoSnapshot(files, pending.archive_size);
    return false;
  }
  crashPoint("position-saved");
  return true;
}

}  // namespace

bool claimRealtimeFiles(const SeasonConfig& config, std::string_view log, RealtimeFiles& files, RunStatus& status) {
  files.live.assign(log);
  files.path = absolutePath(log);
  std::string plain = plainName(files.live);
  if (claimedByOther(plain, files.path)) {
    Sha256 digest;
    digest.update(files.path);
    plain += "_" + digest.finishHex().substr(0, 12);
  }
  nameFiles(config, plain, files);
  if (fileSize(files.position) >= 0) return true;
  LivePosition start;
  start.log = files.path;
  Sha256 empty;
  start.window_sum = empty.finishHex();
  if (replaceFile(files.position, start.text())) return true;
  status.fail(Failure::kWrite, "could not write " + files.position + "; " + files.live + " is left for the next run");
  return false;
}

bool findUnreadLines(const RealtimeFiles& files, UnreadPart& unread, RunStatus& status) {
  std::FILE* live = openInputFile(files.live.c_str());
  if (live == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", files.live.c_str());
    status.fail(Failure::kLog, "could not open the live log \"" + files.live + "\" (missing, a folder, or not "
                                   "readable by this user): nothing of it was counted");
    return false;
  }
  std::fclose(live);
  std::string text;
  std::optional<LivePosition> last;
  if (readWholeFile(files.position, text)) last = parsePosition(text);
  if (!last || last->log != files.path) {
    status.fail(Failure::kLog, files.position + " is damaged or not " + files.live + "'s; " + files.live +
                                   " is left for the next run");
    return false;
  }
  unread = locateUnread(files.live, last);
  if (!unread.note.empty()) std::printf(" - %s\n", unread.note.c_str());
  return true;
}

bool verifyLogfile(const RealtimeFiles& files, const UnreadPart& unread) {
  std::printf("\n%s\n", kRule);
  std::printf(" Verifying logfile (%s)\n", files.live.c_str());
  std::printf("%s\n", kRule);
  bool started = holdsGameStart(files.carry_over);
  auto ends_game = [&started](std::string_view line) {
    if (isServerEventLine(line, "InitGame:")) started = true;
    return started && isServerEventLine(line, "ShutdownGame:");
  };
  bool complete = (!unread.rotated.empty() && findLine(unread.rotated, unread.rotated_from, ends_game)) ||
                  findLine(files.live, unread.live_from, ends_game);
  if (complete) return true;
  std::printf(" Realtime log file does not have a complete game yet.\n");
  std::printf(" Leaving log intact. Stats will be analysed and updated on next run.\n");
  std::printf("%s\n\n", kRule);
  return false;
}

PendingSnapshot resumePendingSnapshot(const RealtimeFiles& files, RunStatus& status) {
  std::string text;
  if (fileSize(files.pending) < 0) return PendingSnapshot::kNone;
  if (!readWholeFile(files.pending, text)) {
    status.fail(Failure::kLog, "could not read " + files.pending + "; " + files.live + " is left for the next run");
    return PendingSnapshot::kFailed;
  }
  PendingSnapshot resumed = resumeFromPending(files, text, status);
  if (resumed == PendingSnapshot::kFinishFirst) {
    std::printf(" - an earlier run did not finish %s: counting its remaining games first\n", files.snapshot.c_str());
  }
  return resumed;
}

bool takeSnapshot(const RealtimeFiles& files, const UnreadPart& unread, RunStatus& status) {
  std::printf(" - creating backup... (this may take a while)\n");
  if (sameFile(files.live, files.archive)) {
    status.fail(Failure::kWrite, "the archive of " + files.live + " would be the live log itself; set backup_dir: " +
                                     "to a folder for the archive. The log is left intact");
    return false;
  }
  std::remove(files.snapshot.c_str());  // the last snapshot, finished
  const std::string temporary = files.snapshot + ".tmp";
  long long live_end = 0;
  std::optional<LivePosition> end;
  if (copyUnread(files, unread, temporary, live_end)) end = positionIn(files.path, files.live, live_end);
  if (!end) {
    std::remove(temporary.c_str());
    status.fail(Failure::kWrite, "could not copy the new lines of " + files.live + " to " + files.snapshot +
                                     "; they are left for the next run");
    return false;
  }
  std::printf(" - reading %s from byte %lld to %lld\n", files.live.c_str(), unread.live_from, live_end);
  return commitSnapshot(files, temporary, end->text(), status);
}

void finishSnapshot(const RealtimeFiles& files) { std::remove(files.pending.c_str()); }

}  // namespace season
