#include "file_index.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <functional>

namespace site {

namespace {

// The first line names the format and the hash function: a build whose
// std::hash differs writes another line, and its index is not trusted.
std::string headerLine() {
  return "kestrostats-site file index 1 " + std::to_string(contentHash("kestrostats-site")) + "\n";
}

std::optional<IndexedFile> fromStat(const struct stat& info) {
  if (!S_ISREG(info.st_mode)) return std::nullopt;
  IndexedFile f;
  f.size = static_cast<std::uint64_t>(info.st_size);
  f.inode = static_cast<std::uint64_t>(info.st_ino);
  f.modified_ns = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return f;
}

// Reads the whole file; none when it cannot be read.
std::optional<std::string> readAll(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

// Reads space-separated numbers off the front of `line`.
template <typename T>
bool take(std::string_view& line, T& value) {
  auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (ec != std::errc() || end == line.data() + line.size() || *end != ' ') return false;
  line.remove_prefix(static_cast<std::size_t>(end - line.data()) + 1);
  return true;
}

template <typename T>
bool takeLast(std::string_view line, T& value) {
  auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  return ec == std::errc() && end == line.data() + line.size();
}

}  // namespace

std::uint64_t contentHash(std::string_view content) { return std::hash<std::string_view>{}(content); }

std::optional<IndexedFile> identityOf(const std::filesystem::path& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return fromStat(info);
}

std::optional<IndexedFile> identityOf(int fd) {
  struct stat info;
  if (::fstat(fd, &info) != 0) return std::nullopt;
  return fromStat(info);
}

bool sameFile(const IndexedFile& now, const IndexedFile& entry) {
  return now.size == entry.size && now.inode == entry.inode && now.modified_ns == entry.modified_ns;
}

bool stillInPlace(const std::filesystem::path& path, const IndexedFile& entry) {
  std::optional<IndexedFile> now = identityOf(path);
  return now && sameFile(*now, entry);
}

FileIndex FileIndex::load(const std::filesystem::path& path) {
  FileIndex index;
  std::optional<std::string> text = readAll(path);
  const std::string header = headerLine();
  if (!text || !std::string_view(*text).starts_with(header)) return index;
  std::string_view rest = std::string_view(*text).substr(header.size());
  IndexedFile* last = nullptr;
  while (!rest.empty()) {
    std::size_t newline = rest.find('\n');
    if (newline == std::string_view::npos) return FileIndex();  // cut short: trust none of it
    std::string_view line = rest.substr(0, newline);
    rest.remove_prefix(newline + 1);
    if (line.starts_with("f ")) {
      line.remove_prefix(2);
      IndexedFile f;
      if (!take(line, f.size) || !take(line, f.inode) || !take(line, f.modified_ns) || !take(line, f.hash) ||
          !take(line, f.source) || line.empty()) {
        return FileIndex();
      }
      auto [at, added] = index.files_.insert_or_assign(std::string(line), std::move(f));
      last = &at->second;
    } else if (line.starts_with("p ") && last != nullptr) {
      line.remove_prefix(2);
      IndexedPiece piece;
      if (!take(line, piece.end) || !take(line, piece.hash) || !takeLast(line, piece.source)) return FileIndex();
      last->pieces.push_back(piece);
    } else {
      return FileIndex();
    }
  }
  return index;
}

std::string FileIndex::text() const {
  std::string out = headerLine();
  out.reserve(files_.size() * 96);
  for (const auto& [name, f] : files_) {
    out += "f " + std::to_string(f.size) + ' ' + std::to_string(f.inode) + ' ' + std::to_string(f.modified_ns) +
            ' ' + std::to_string(f.hash) + ' ' + std::to_string(f.source) + ' ' + name + '\n';
    for (const IndexedPiece& piece : f.pieces) {
      out += "p " + std::to_string(piece.end) + ' ' + std::to_string(piece.hash) + ' ' + std::to_string(piece.source) +
              '\n';
    }
  }
  return out;
}

const IndexedFile* FileIndex::find(const std::string& name) const {
  auto at = files_.find(name);
  return at == files_.end() ? nullptr : &at->second;
}

void FileIndex::put(const std::string& name, IndexedFile entry) {
  if (name.empty() || name.find('\n') != std::string::npos) return;  // no line of the index can hold it
  files_.insert_or_assign(name, std::move(entry));
}

}  // namespace site
