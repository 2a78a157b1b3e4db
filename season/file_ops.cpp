#include "file_ops.h"

#include <array>
#include <cstring>

#include <sys/stat.h>

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

bool readAll(std::FILE* file, std::string& content) {
  std::array<char, 65536> chunk;
  std::size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) content.append(chunk.data(), n);
  return std::ferror(file) == 0;
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

bool copyFileReplacing(const std::string& from, const std::string& to, FileSystem& file_system) {
  std::string content;
  if (std::FILE* source = std::fopen(from.c_str(), "rb")) {
    const bool read = readAll(source, content);
    std::fclose(source);
    if (!read) return false;
  }
  return replaceFile(to, content, file_system);
}

bool replaceFile(const std::string& path, std::string_view content, FileSystem& file_system) {
  const std::string temporary = path + ".tmp";
  if (!file_system.writeNewFile(temporary, content, NewFile{Durability::kSynced})) return false;
  if (!file_system.rename(temporary, path)) {
    file_system.remove(temporary);
    return false;
  }
  return file_system.syncFolderOf(path).ok();
}

bool readWholeFile(const std::string& path, std::string& content) {
  content.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bool ok = readAll(file, content);
  std::fclose(file);
  return ok;
}

bool fileStartsWith(const std::string& path, const std::string& part) { return fileHolds(path, part, false); }

bool fileEndsWith(const std::string& path, const std::string& part) { return fileHolds(path, part, true); }

}  // namespace season
