// The file system as the programs write to it: whole new files, renames,
// removals and the syncing of a folder, every step checked.
//
// A file that must appear whole or not at all is written under another name
// with writeNewFile() and renamed into place; code that does this takes a
// FileSystem& (realFileSystem() unless a test puts one in its place that
// fails as a full disk does).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Whether a file must be on the disk before its writing counts as done.
enum class Durability {
  kSynced,    // flushed and fsync'd: it survives a crash of the system
  kUnsynced,  // flushed and closed: the system writes it out when it likes
};

// The step at which a file operation failed.
enum class FileStep { kNone, kCreate, kWrite, kSync, kClose, kRename, kRemove, kSyncFolder };

// How a file operation ended: `failed` is kNone when every step succeeded,
// else the step that failed, with its errno.
struct FileResult {
  FileStep failed = FileStep::kNone;
  int error_number = 0;

  bool ok() const { return failed == FileStep::kNone; }
  explicit operator bool() const { return ok(); }
};

// How writeNewFile() makes its file.
struct NewFile {
  Durability durability = Durability::kSynced;
  bool exclusive = false;        // the file must not exist yet (else kCreate with EEXIST)
  unsigned permissions = 0666;   // before the umask
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Creates the file at `path` (a file already there is emptied, unless
  // `how.exclusive`), writes all of `content`, flushes it, syncs it when
  // asked and closes it. When a step after the creation fails, the file is
  // removed: nothing is left under `path` then, not even what it held
  // before (hence a temporary name for files that replace others).
  virtual FileResult writeNewFile(const std::string& path, std::string_view content, const NewFile& how) = 0;

  // Renames `from` to `to`, replacing a file at `to` in one step.
  virtual FileResult rename(const std::string& from, const std::string& to) = 0;

  // Has the system write the folder that holds `path` (a rename or a new
  // file in it) to the disk.
  virtual FileResult syncFolderOf(const std::string& path) = 0;

  // Removes the file (or empty folder) at `path`.
  virtual FileResult remove(const std::string& path) = 0;
};

// The file system of the machine. It holds no state.
FileSystem& realFileSystem();

// Finishes a file written as a stream (copied in pieces, appended to):
// flushes it, syncs it when asked and closes it. The stream is closed
// whatever failed.
FileResult closeStream(std::FILE* file, Durability durability);
