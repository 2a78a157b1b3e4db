// Files that appear whole or not at all.
//
// A site run stages every changed file under a temporary name beside its
// place ("<name>.part-<pid>"), then renames them all into place once every
// one of them has been written, flushed and closed without error. A visitor
// thus never sees half a page, and a run that fails part-way (a full disk)
// leaves the previous site as it was. Renames within a folder need no space,
// so once staging has succeeded the commit cannot fail for a full disk.
//
// A file that does not exist yet is written under its own name at once: no
// page of the previous site links to it, so visitors meet it only once the
// pages that do are committed. A run that fails removes it again; one killed
// before it could leaves it for the next run, which compares and replaces it
// or removes it as a leftover.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "file_index.h"
#include "file_system.h"

namespace site {

class StagedFiles {
 public:
  // The files are written, renamed and removed through `file_system`.
  explicit StagedFiles(FileSystem& file_system = realFileSystem()) : file_system_(file_system) {}
  // Removes every temporary file not yet committed.
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Writes `content` to the temporary name of `path` (the folder must exist),
  // or to `path` itself when there is no such file yet. False with the reason
  // in `error` when the file cannot be created, written or closed
  // completely; nothing of it is left behind then. A file that already holds
  // exactly `content` is left as it is and not staged: most pages of a
  // season stay the same from one run to the next, and replacing a file
  // costs the file system far more than reading it.
  // `source`, when not 0, is the hash of what the content was made from,
  // kept in the index for keptFromSource().
  bool stage(const std::filesystem::path& path, std::string_view content, std::string& error,
             std::uint64_t source = 0);

  // True when the previous run wrote `path` from the same `source` (not 0)
  // and the file is still the one it wrote: it is then counted unchanged and
  // need not be made at all.
  bool keptFromSource(const std::filesystem::path& path, std::uint64_t source);

  // Renames every staged file into place, in the order staged. False with
  // the reason in `error` when a rename fails; the files not yet renamed are
  // removed.
  bool commit(std::string& error);

  // Removes every staged file that has not been committed, and the new files
  // written in place.
  void abandon();

  // Takes a file written under `temporary` as staged for `path`.
  void adopt(std::filesystem::path temporary, std::filesystem::path path) {
    staged_.emplace_back(std::move(temporary), std::move(path));
  }
  // Counts a file found unchanged by other means than stage().
  void countUnchanged() { ++unchanged_; }

  // Files written: staged, adopted or new.
  std::size_t size() const { return staged_.size() + created_.size(); }
  // Files that stage() found unchanged.
  std::size_t unchanged() const { return unchanged_; }

  // Keeps an index of every file staged or found unchanged (index()), and
  // trusts `previous` (may be null), the index of the run before, to tell
  // unchanged files without reading them.
  void keepIndex(const FileIndex* previous);
  // The files of this run, once committed.
  const FileIndex& index() const { return index_; }
  // The previous run's entry for `path`, if any.
  const IndexedFile* previousEntry(const std::filesystem::path& path) const;
  // Records a file written in pieces.
  void rememberPieces(const std::filesystem::path& path, IndexedFile identity, std::vector<IndexedPiece> pieces);

 private:
  bool createInPlace(const std::filesystem::path& path, std::string_view content, std::uint64_t hash,
                     std::uint64_t source, std::string& error);
  void remember(const std::filesystem::path& path, const std::optional<IndexedFile>& identity, std::uint64_t hash,
                std::uint64_t source);

  FileSystem& file_system_;
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> staged_;  // temporary, final
  std::vector<std::filesystem::path> created_;  // new files written in place, removed by abandon()
  std::size_t unchanged_ = 0;
  bool indexing_ = false;
  const FileIndex* previous_ = nullptr;
  FileIndex index_;
};

// A file too big to build in memory (games.json of a long season), staged
// piece by piece: while the pieces match the file in place nothing is
// written; from the first difference on the file is written under its
// temporary name (the matching start copied from the old file). finish()
// stages it, or counts it unchanged when every byte matched. With the
// previous run's index the pieces are matched by their hashes, so the file
// in place is read only to copy its matching start; the same content must
// then come in the same pieces.
class StreamedStage {
 public:
  StreamedStage(StagedFiles& files, std::filesystem::path path);
  ~StreamedStage();  // an unfinished file is removed
  StreamedStage(const StreamedStage&) = delete;
  StreamedStage& operator=(const StreamedStage&) = delete;

  // Appends `piece`, made from `source` (0 when not known). False with the
  // reason in `error` when the file cannot be written.
  bool write(std::string_view piece, std::string& error, std::uint64_t source = 0);
  // Appends the piece the previous run made from `source`, taken from the
  // file in place, and sets `reused`; leaves `reused` false when there is no
  // such piece (then make it and write() it). False with `error` set when
  // the file cannot be written.
  bool reuse(std::uint64_t source, bool& reused, std::string& error);
  bool finish(std::string& error);

 private:
  bool diverge(std::string& error);
  bool writeOut(std::string_view piece, std::string& error);
  bool matchesInPlace(std::string_view piece, std::uint64_t hash);
  bool oldEndsHere();
  bool flushCopy(std::string& error);

  StagedFiles& files_;
  std::filesystem::path path_;
  std::filesystem::path temporary_;
  int old_ = -1;      // the file in place, while every byte so far matched it
  int out_ = -1;      // the temporary file, once a byte differed
  std::uint64_t matched_ = 0;
  std::uint64_t written_ = 0;  // bytes of the new content so far
  std::optional<IndexedFile> old_identity_;
  const std::vector<IndexedPiece>* indexed_ = nullptr;  // the previous run's pieces of the file in place
  std::unordered_map<std::uint64_t, std::size_t> by_source_;  // their places by source
  std::vector<IndexedPiece> pieces_;                   // this run's
  std::uint64_t copy_start_ = 0;  // a range of the file in place still to be copied
  std::uint64_t copy_end_ = 0;
};

// Writes one file in place atomically (stage and commit).
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content, std::string& error);

// True when `name` is the temporary name of a staged file, of this or an
// earlier run that was killed before it could clean up.
bool isStagingName(std::string_view name);

}  // namespace site
