// What the previous site run left in place, so that the next one can tell
// an unchanged file without reading it.
//
// Reading a 100,000-game site back to compare it costs more than making it:
// 2.6 GB, much of it no longer in the page cache. The index keeps, per file
// written or found unchanged, its size, inode, modification time and a hash
// of its content. A file whose inode, size and time are still those of the
// index and whose new content has the same hash is taken as unchanged; any
// other file is compared by reading it, as without an index. Replacing a file
// (a run, an editor, a copy) gives it a new inode or time, so an index that
// is out of date costs a read, never a stale page.
//
// A file written in pieces (games.json) also keeps the hash of each piece,
// so that a run can find where its content first differs without reading it.
//
// A file or piece may also name its source: a hash of everything it was
// made from (the game's record, the site's settings). A run whose source
// for it is the same need not even make it again: the file stays, the piece
// is copied from the file in place.
//
// The index is a cache: a missing, damaged or foreign one (another build's
// hash function) is ignored.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace site {

// The hash the index keeps of a content or of one piece of it.
std::uint64_t contentHash(std::string_view content);

struct IndexedPiece {
  std::uint64_t end = 0;     // offset just after the piece
  std::uint64_t hash = 0;
  std::uint64_t source = 0;  // what it was made from (SourceHash), 0 when not known
};

struct IndexedFile {
  std::uint64_t size = 0;
  std::uint64_t inode = 0;
  std::int64_t modified_ns = 0;
  std::uint64_t hash = 0;             // of the whole content (0 for a file kept by pieces)
  std::uint64_t source = 0;           // what it was made from, 0 when not known
  std::vector<IndexedPiece> pieces;   // a file written in pieces
};

// The inode, size and time of the regular file at `path`; none when it is
// missing or not a regular file. `hash` and `pieces` are left empty.
std::optional<IndexedFile> identityOf(const std::filesystem::path& path);
// The same of an open file.
std::optional<IndexedFile> identityOf(int fd);

// True when `now` (an identityOf()) is the file `entry` describes.
bool sameFile(const IndexedFile& now, const IndexedFile& entry);

// True when the file in place is still the one `entry` describes.
bool stillInPlace(const std::filesystem::path& path, const IndexedFile& entry);

class FileIndex {
 public:
  // The index at `path`; empty when it is missing or cannot be read.
  static FileIndex load(const std::filesystem::path& path);
  // The index as the text load() reads.
  std::string text() const;

  const IndexedFile* find(const std::string& name) const;
  void put(const std::string& name, IndexedFile entry);
  std::size_t size() const { return files_.size(); }

 private:
  std::unordered_map<std::string, IndexedFile> files_;
};

}  // namespace site
