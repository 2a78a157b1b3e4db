#include "file_ops.h"

#include <array>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace season {

namespace {

// True when `length` bytes of `a` from `a_at` equal those of `b` from `b_at`.
bool sameBytes(std::FILE* a, long long a_at, std::FILE* b, long long b_at, long long length) {
  if (std::fseek(a, static_cast<long>(a_at), SEEK_SET) != 0 || std::fseek(b, static_cast<long>(b_at), SEEK_SET) != 0) {
    return false;
  }
  std::array<char, 8192> left;
  std::array<char, 8192> right;
  while (length > 0) {
    std::size_t want = static_cast<std::size_t>(std::min<long long>(length, static_cast<long long>(left.size())));
    if (std::fread(left.data(), 1, want, a) != want || std::fread(right.data(), 1, want, b) != want) return false;
    if (std::memcmp(left.data(), right.data(), want) != 0) return false;
    length -= static_cast<long long>(want);
  }
  return true;
}

// Compares the part with the file's beginning (`at_end` false) or end.
bool fileHolds(const std::string& path, const std::string& part, bool at_end) {
  long long size = fileSize(path);
  long long part_size = fileSize(part);
  if (size < 0 || part_size < 0 || part_size > size) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  std::FILE* piece = std::fopen(part.c_str(), "rb");
  bool same = file != nullptr && piece != nullptr && sameBytes(file, at_end ? size - part_size : 0, piece, 0, part_size);
  if (file != nullptr) std::fclose(file);
  if (piece != nullptr) std::fclose(piece);
  return same;
}

}  // namespace

long long fileSize(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<long long>(info.st_size);
}

bool copyStream(std::FILE* from, std::FILE* to, long long& copied) {
  std::array<char, 65536> chunk;
  std::size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), from)) > 0) {
    if (std::fwrite(chunk.data(), 1, n, to) != n) return false;
    copied += static_cast<long long>(n);
  }
  return std::ferror(from) == 0;
}

bool closeSynced(std::FILE* file) {
  bool ok = std::fflush(file) == 0 && std::ferror(file) == 0 && fsync(fileno(file)) == 0;
  if (std::fclose(file) != 0) ok = false;
  return ok;
}

bool copyFileReplacing(const std::string& from, const std::string& to) {
  const std::string temporary = to + ".tmp";
  std::FILE* target = std::fopen(temporary.c_str(), "wb");
  if (target == nullptr) return false;
  bool ok = true;
  if (std::FILE* source = std::fopen(from.c_str(), "rb")) {
    long long copied = 0;
    ok = copyStream(source, target, copied);
    std::fclose(source);
  }
  if (!closeSynced(target)) ok = false;
  if (ok && std::rename(temporary.c_str(), to.c_str()) != 0) ok = false;
  if (!ok) std::remove(temporary.c_str());
  return ok;
}

bool replaceFile(const std::string& path, std::string_view content) {
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  if (!closeSynced(file)) ok = false;
  if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    std::remove(temporary.c_str());
    return false;
  }
  return syncFolderOf(path);
}

bool readWholeFile(const std::string& path, std::string& content) {
  content.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::array<char, 65536> chunk;
  std::size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) content.append(chunk.data(), n);
  bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

bool syncFolderOf(const std::string& path) {
  std::string folder = std::filesystem::path(path).parent_path().string();
  if (folder.empty()) folder = ".";
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  if (close(fd) != 0) ok = false;
  return ok;
}

bool fileStartsWith(const std::string& path, const std::string& part) { return fileHolds(path, part, false); }

bool fileEndsWith(const std::string& path, const std::string& part) { return fileHolds(path, part, true); }

}  // namespace season
