#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

namespace site {

namespace {

constexpr std::string_view kStagingMark = ".part-";

std::string describe(const std::filesystem::path& path, const char* what, int error_number) {
  return std::string("could not ") + what + " " + path.string() + ": " + std::strerror(error_number);
}

// The site's files are not synced: a crash leaves at worst a page that the
// next run, which compares every file with what it would write, replaces.
NewFile siteFile(bool exclusive) {
  return NewFile{.durability = Durability::kUnsynced, .exclusive = exclusive, .permissions = 0644};
}

// What a failed write of `path` says.
std::string describe(const std::filesystem::path& path, const FileResult& result) {
  const char* what = result.failed == FileStep::kCreate  ? "create"
                     : result.failed == FileStep::kWrite ? "write"
                                                         : "finish writing";
  return describe(path, what, result.error_number);
}

// Writes all of `content` to a new file, with `error` set on any failure
// (nothing of the file is left then). With `exclusive` the file must not
// exist yet. `written` receives the file's identity for the index.
FileResult writeWhole(FileSystem& file_system, const std::filesystem::path& path, std::string_view content,
                      bool exclusive, std::string& error, std::optional<IndexedFile>& written) {
  FileResult result = file_system.writeNewFile(path.native(), content, siteFile(exclusive));
  if (result) written = identityOf(path);
  else error = describe(path, result);
  return result;
}

enum class InPlace { kMissing, kSame, kDifferent };

// What `path` holds compared with `content`; `identity` is the file's when
// it is the same.
InPlace compareInPlace(const std::filesystem::path& path, std::string_view content,
                       std::optional<IndexedFile>& identity) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? InPlace::kMissing : InPlace::kDifferent;
  identity = identityOf(fd);
  bool same = identity && identity->size == content.size();
  char buffer[65536];
  std::size_t at = 0;
  while (same && at < content.size()) {
    ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, content.size() - at));
    if (n < 0 && errno == EINTR) continue;
    same = n > 0 && std::memcmp(buffer, content.data() + at, static_cast<std::size_t>(n)) == 0;
    at += n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  ::close(fd);
  return same ? InPlace::kSame : InPlace::kDifferent;
}

}  // namespace

StagedFiles::~StagedFiles() { abandon(); }

void StagedFiles::keepIndex(const FileIndex* previous) {
  indexing_ = true;
  previous_ = previous;
}

void StagedFiles::remember(const std::filesystem::path& path, const std::optional<IndexedFile>& identity,
                           std::uint64_t hash, std::uint64_t source) {
  if (!indexing_ || !identity) return;
  IndexedFile entry = *identity;
  entry.hash = hash;
  entry.source = source;
  index_.put(path.string(), std::move(entry));
}

bool StagedFiles::keptFromSource(const std::filesystem::path& path, std::uint64_t source) {
  const IndexedFile* was = previousEntry(path);
  if (source == 0 || was == nullptr || was->source != source || !was->pieces.empty() || !stillInPlace(path, *was)) {
    return false;
  }
  ++unchanged_;
  index_.put(path.string(), *was);
  return true;
}

void StagedFiles::rememberPieces(const std::filesystem::path& path, IndexedFile identity,
                                 std::vector<IndexedPiece> pieces) {
  if (!indexing_) return;
  identity.hash = 0;
  identity.pieces = std::move(pieces);
  index_.put(path.string(), std::move(identity));
}

const IndexedFile* StagedFiles::previousEntry(const std::filesystem::path& path) const {
  return previous_ == nullptr ? nullptr : previous_->find(path.string());
}

bool StagedFiles::stage(const std::filesystem::path& path, std::string_view content, std::string& error,
                        std::uint64_t source) {
  const std::uint64_t hash = indexing_ ? contentHash(content) : 0;
  if (const IndexedFile* was = previousEntry(path);
      was != nullptr && was->pieces.empty() && was->hash == hash && was->size == content.size() &&
      stillInPlace(path, *was)) {
    ++unchanged_;
    IndexedFile entry = *was;
    entry.source = source;
    index_.put(path.string(), std::move(entry));
    return true;
  }
  std::optional<IndexedFile> identity;
  switch (compareInPlace(path, content, identity)) {
    case InPlace::kSame:
      ++unchanged_;
      remember(path, identity, hash, source);
      return true;
    case InPlace::kMissing:
      if (createInPlace(path, content, hash, source, error)) return true;
      if (!error.empty()) return false;
      break;  // it appeared meanwhile: replace it like any other
    case InPlace::kDifferent:
      break;
  }
  std::filesystem::path temporary = path;
  temporary += std::string(kStagingMark) + std::to_string(::getpid());
  if (!writeWhole(file_system_, temporary, content, false, error, identity)) return false;
  remember(path, identity, hash, source);  // a rename keeps the inode and the time
  staged_.emplace_back(std::move(temporary), path);
  return true;
}

// A new file goes straight under its own name: one directory entry instead
// of two and a rename, which halves the cost of a site's first run. False
// with `error` empty when the file exists after all.
bool StagedFiles::createInPlace(const std::filesystem::path& path, std::string_view content, std::uint64_t hash,
                                std::uint64_t source, std::string& error) {
  std::optional<IndexedFile> identity;
  const FileResult result = writeWhole(file_system_, path, content, true, error, identity);
  if (result) {
    remember(path, identity, hash, source);
    created_.push_back(path);
    return true;
  }
  if (result.failed == FileStep::kCreate && result.error_number == EEXIST) error.clear();
  return false;
}

bool StagedFiles::commit(std::string& error) {
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    const auto& [temporary, final_path] = staged_[i];
    if (FileResult moved = file_system_.rename(temporary.native(), final_path.native()); !moved) {
      error = describe(final_path, "move into place", moved.error_number);
      staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i));
      abandon();
      return false;
    }
  }
  staged_.clear();
  created_.clear();
  return true;
}

void StagedFiles::abandon() {
  for (const auto& staged : staged_) file_system_.remove(staged.first.native());
  staged_.clear();
  for (const auto& created : created_) file_system_.remove(created.native());
  created_.clear();
}

namespace {

// Reads exactly `size` bytes unless the file ends first; the count read.
std::size_t readFully(int fd, char* into, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    ssize_t n = ::read(fd, into + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

bool writeFully(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Copies `size` bytes of `from`, starting at `offset`, to the end of `to`;
// in the kernel where it can.
bool copyRange(int from, std::uint64_t offset, int to, std::uint64_t size) {
  while (size > 0) {
    loff_t at = static_cast<loff_t>(offset);
    ssize_t n = ::copy_file_range(from, &at, to, nullptr, static_cast<std::size_t>(size), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // not supported here, or the file got shorter: copy by hand
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::uint64_t>(n);
  }
  char buffer[65536];
  while (size > 0) {
    ssize_t n = ::pread(from, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(size, sizeof buffer)),
                        static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      errno = n == 0 ? EIO : errno;  // the file in place got shorter
      return false;
    }
    if (!writeFully(to, std::string_view(buffer, static_cast<std::size_t>(n)))) return false;
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::uint64_t>(n);
  }
  return true;
}

}  // namespace

StreamedStage::StreamedStage(StagedFiles& files, std::filesystem::path path) : files_(files), path_(std::move(path)) {
  temporary_ = path_;
  temporary_ += std::string(kStagingMark) + std::to_string(::getpid());
  old_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (old_ < 0) return;
  old_identity_ = identityOf(old_);
  if (!old_identity_) {
    ::close(old_);
    old_ = -1;
    return;
  }
  const IndexedFile* was = files_.previousEntry(path_);
  if (was != nullptr && !was->pieces.empty() && sameFile(*old_identity_, *was)) {
    indexed_ = &was->pieces;
    for (std::size_t k = 0; k < indexed_->size(); ++k) {
      if ((*indexed_)[k].source != 0) by_source_.emplace((*indexed_)[k].source, k);
    }
  }
}

StreamedStage::~StreamedStage() {
  if (old_ >= 0) ::close(old_);
  if (out_ >= 0) {
    ::close(out_);
    ::unlink(temporary_.c_str());
  }
}

bool StreamedStage::writeOut(std::string_view piece, std::string& error) {
  if (flushCopy(error) && writeFully(out_, piece)) return true;
  if (error.empty()) error = describe(temporary_, "write", errno);
  return false;
}

bool StreamedStage::flushCopy(std::string& error) {
  if (copy_end_ == copy_start_) return true;
  bool ok = copyRange(old_, copy_start_, out_, copy_end_ - copy_start_);
  copy_start_ = copy_end_ = 0;
  if (!ok) error = describe(temporary_, "write", errno);
  return ok;
}

// From here on the file differs from the one in place: write it.
bool StreamedStage::diverge(std::string& error) {
  if (out_ >= 0) return true;
  out_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out_ < 0) {
    error = describe(temporary_, "create", errno);
    return false;
  }
  if (old_ < 0) return true;
  bool ok = copyRange(old_, 0, out_, matched_);
  if (indexed_ == nullptr) {  // without the index nothing more is taken from it
    ::close(old_);
    old_ = -1;
  }
  if (!ok) error = describe(temporary_, "write", errno);
  return ok;
}

// True when `piece` is the next piece of the file in place, by the index's
// hashes or else by reading it.
bool StreamedStage::matchesInPlace(std::string_view piece, std::uint64_t hash) {
  if (indexed_ != nullptr) {
    const std::size_t n = pieces_.size();
    return n < indexed_->size() && (*indexed_)[n].hash == hash && (*indexed_)[n].end == matched_ + piece.size();
  }
  char buffer[65536];
  std::size_t at = 0;
  while (at < piece.size()) {
    std::size_t want = std::min(sizeof buffer, piece.size() - at);
    std::size_t got = readFully(old_, buffer, want);
    if (got != want || std::memcmp(buffer, piece.data() + at, want) != 0) return false;
    at += want;
  }
  return true;
}

bool StreamedStage::write(std::string_view piece, std::string& error, std::uint64_t source) {
  const std::uint64_t hash = contentHash(piece);
  bool matched = out_ < 0 && old_ >= 0 && matchesInPlace(piece, hash);
  written_ += piece.size();
  pieces_.push_back(IndexedPiece{written_, hash, source});
  if (matched) {
    matched_ += piece.size();
    return true;
  }
  return diverge(error) && writeOut(piece, error);
}

bool StreamedStage::reuse(std::uint64_t source, bool& reused, std::string& error) {
  reused = false;
  if (source == 0 || indexed_ == nullptr) return true;
  auto found = by_source_.find(source);
  if (found == by_source_.end()) return true;
  const std::size_t k = found->second;
  const IndexedPiece& was = (*indexed_)[k];
  const std::uint64_t start = k == 0 ? 0 : (*indexed_)[k - 1].end;
  const std::uint64_t size = was.end - start;
  reused = true;
  written_ += size;
  pieces_.push_back(IndexedPiece{written_, was.hash, source});
  if (out_ < 0 && k + 1 == pieces_.size() && start == matched_) {
    matched_ += size;
    return true;
  }
  if (!diverge(error)) return false;
  if (copy_end_ != start && !flushCopy(error)) return false;
  if (copy_end_ == copy_start_) copy_start_ = start;
  copy_end_ = start + size;
  return true;
}

// True when the file in place ends where the new content does.
bool StreamedStage::oldEndsHere() {
  if (indexed_ != nullptr) return pieces_.size() == indexed_->size();
  char extra;
  return readFully(old_, &extra, 1) == 0;
}

bool StreamedStage::finish(std::string& error) {
  if (out_ < 0 && old_ >= 0 && oldEndsHere()) {
    files_.countUnchanged();
    files_.rememberPieces(path_, *old_identity_, std::move(pieces_));
    ::close(old_);
    old_ = -1;
    return true;
  }
  if (!diverge(error) || !flushCopy(error)) return false;
  int fd = out_;
  out_ = -1;
  std::optional<IndexedFile> identity = identityOf(fd);
  if (::close(fd) != 0) {
    error = describe(temporary_, "finish writing", errno);
    ::unlink(temporary_.c_str());
    return false;
  }
  if (identity) files_.rememberPieces(path_, *identity, std::move(pieces_));
  files_.adopt(temporary_, path_);
  return true;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view content, std::string& error) {
  StagedFiles files;
  return files.stage(path, content, error) && files.commit(error);
}

bool isStagingName(std::string_view name) {
  std::size_t at = name.rfind(kStagingMark);
  if (at == std::string_view::npos || at + kStagingMark.size() == name.size()) return false;
  for (char c : name.substr(at + kStagingMark.size())) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace site
