#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace site {

namespace {

constexpr std::string_view kStagingMark = ".part-";

std::string describe(const std::filesystem::path& path, const char* what, int error_number) {
  return std::string("could not ") + what + " " + path.string() + ": " + std::strerror(error_number);
}

// Writes all of `content` to a new file; false with `error` set on any failure.
// With `exclusive` the file must not exist yet (EEXIST is then returned in
// `error_number` without a message).
bool writeWhole(const std::filesystem::path& path, std::string_view content, bool exclusive, std::string& error,
                int* error_number = nullptr) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | (exclusive ? O_EXCL : O_TRUNC) | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (error_number != nullptr) *error_number = errno;
    error = describe(path, "create", errno);
    return false;
  }
  const char* at = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(fd, at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = describe(path, "write", n < 0 ? errno : ENOSPC);
      ::close(fd);
      return false;
    }
    at += n;
    left -= static_cast<std::size_t>(n);
  }
  // Delayed write errors (NFS, quotas) are reported by close.
  if (::close(fd) != 0) {
    error = describe(path, "finish writing", errno);
    return false;
  }
  return true;
}

enum class InPlace { kMissing, kSame, kDifferent };

// What `path` holds compared with `content`.
InPlace compareInPlace(const std::filesystem::path& path, std::string_view content) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? InPlace::kMissing : InPlace::kDifferent;
  struct stat info;
  bool same = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
              static_cast<std::uint64_t>(info.st_size) == content.size();
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

bool StagedFiles::stage(const std::filesystem::path& path, std::string_view content, std::string& error) {
  switch (compareInPlace(path, content)) {
    case InPlace::kSame:
      ++unchanged_;
      return true;
    case InPlace::kMissing:
      if (createInPlace(path, content, error)) return true;
      if (!error.empty()) return false;
      break;  // it appeared meanwhile: replace it like any other
    case InPlace::kDifferent:
      break;
  }
  std::filesystem::path temporary = path;
  temporary += std::string(kStagingMark) + std::to_string(::getpid());
  if (!writeWhole(temporary, content, false, error)) {
    ::unlink(temporary.c_str());
    return false;
  }
  staged_.emplace_back(std::move(temporary), path);
  return true;
}

// A new file goes straight under its own name: one directory entry instead
// of two and a rename, which halves the cost of a site's first run. False
// with `error` empty when the file exists after all.
bool StagedFiles::createInPlace(const std::filesystem::path& path, std::string_view content, std::string& error) {
  int error_number = 0;
  if (writeWhole(path, content, true, error, &error_number)) {
    created_.push_back(path);
    return true;
  }
  if (error_number == EEXIST) {
    error.clear();
    return false;
  }
  if (error_number == 0) ::unlink(path.c_str());  // created, then a write failed
  return false;
}

bool StagedFiles::commit(std::string& error) {
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    const auto& [temporary, final_path] = staged_[i];
    if (::rename(temporary.c_str(), final_path.c_str()) != 0) {
      error = describe(final_path, "move into place", errno);
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
  for (const auto& staged : staged_) ::unlink(staged.first.c_str());
  staged_.clear();
  for (const auto& created : created_) ::unlink(created.c_str());
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

}  // namespace

StreamedStage::StreamedStage(StagedFiles& files, std::filesystem::path path) : files_(files), path_(std::move(path)) {
  temporary_ = path_;
  temporary_ += std::string(kStagingMark) + std::to_string(::getpid());
  old_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (old_ >= 0 && (::fstat(old_, &info) != 0 || !S_ISREG(info.st_mode))) {
    ::close(old_);
    old_ = -1;
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
  if (writeFully(out_, piece)) return true;
  error = describe(temporary_, "write", errno);
  return false;
}

// From here on the file differs from the one in place: write it.
bool StreamedStage::diverge(std::string& error) {
  if (out_ >= 0) return true;
  out_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out_ < 0) {
    error = describe(temporary_, "create", errno);
    return false;
  }
  if (old_ >= 0) {
    char buffer[65536];
    std::uint64_t left = matched_;
    bool ok = ::lseek(old_, 0, SEEK_SET) == 0;
    while (ok && left > 0) {
      std::size_t n = readFully(old_, buffer, static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof buffer)));
      ok = n > 0 && writeFully(out_, std::string_view(buffer, n));
      left -= n;
    }
    ::close(old_);
    old_ = -1;
    if (!ok) {
      error = describe(temporary_, "write", errno);
      return false;
    }
  }
  return true;
}

bool StreamedStage::write(std::string_view piece, std::string& error) {
  if (out_ < 0 && old_ >= 0) {
    char buffer[65536];
    std::size_t at = 0;
    while (at < piece.size()) {
      std::size_t want = std::min(sizeof buffer, piece.size() - at);
      std::size_t got = readFully(old_, buffer, want);
      if (got != want || std::memcmp(buffer, piece.data() + at, want) != 0) break;
      at += want;
    }
    if (at == piece.size()) {
      matched_ += piece.size();
      return true;
    }
  }
  return diverge(error) && writeOut(piece, error);
}

bool StreamedStage::finish(std::string& error) {
  if (out_ < 0 && old_ >= 0) {
    char extra;
    if (readFully(old_, &extra, 1) == 0) {  // the old file ends where the new one does
      files_.countUnchanged();
      ::close(old_);
      old_ = -1;
      return true;
    }
  }
  if (!diverge(error)) return false;
  int fd = out_;
  out_ = -1;
  if (::close(fd) != 0) {
    error = describe(temporary_, "finish writing", errno);
    ::unlink(temporary_.c_str());
    return false;
  }
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
