#include "live_position.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include <sys/stat.h>

#include "sha256.h"

namespace season {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "kestrostats-live-position 1 ";

bool identityOf(const std::string& path, std::uint64_t& device, std::uint64_t& inode, long long& size) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  device = static_cast<std::uint64_t>(info.st_dev);
  inode = static_cast<std::uint64_t>(info.st_ino);
  size = static_cast<long long>(info.st_size);
  return true;
}

// SHA-256 of the up to kWindowBytes bytes before `offset`; nothing when the
// file is shorter or cannot be read.
std::optional<std::string> windowSum(const std::string& path, long long offset) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  const long long start = std::max(0LL, offset - kWindowBytes);
  std::string bytes(static_cast<std::size_t>(offset - start), '\0');
  bool ok = fseeko(file, static_cast<off_t>(start), SEEK_SET) == 0 &&
            std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  std::fclose(file);
  if (!ok) return std::nullopt;
  Sha256 digest;
  digest.update(bytes);
  return digest.finishHex();
}

bool holdsWindow(const std::string& path, const LivePosition& last) {
  std::uint64_t device;
  std::uint64_t inode;
  long long size;
  if (!identityOf(path, device, inode, size) || size < last.offset) return false;
  std::optional<std::string> sum = windowSum(path, last.offset);
  return sum && *sum == last.window_sum;
}

bool isCompressed(const std::string& name) {
  for (std::string_view ending : {".gz", ".bz2", ".xz", ".zst", ".lz4", ".zip"}) {
    if (name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
      return true;
    }
  }
  return false;
}

// Files beside the live log that a rotation may have made of it ("games.log.1",
// "games.log-20261209"): the one with the remembered identity first, then by
// name. The season's own files are never among them.
std::vector<std::string> rotationCandidates(const std::string& path, const LivePosition& last) {
  const fs::path live(path);
  const std::string base = live.filename().string();
  fs::path folder = live.parent_path();
  if (folder.empty()) folder = ".";
  std::vector<std::string> same_file;
  std::vector<std::string> others;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name == base || name.compare(0, base.size(), base) != 0 || isCompressed(name)) continue;
    const std::string candidate = (folder / name).string();
    std::uint64_t device;
    std::uint64_t inode;
    long long size;
    if (!identityOf(candidate, device, inode, size)) continue;
    (device == last.device && inode == last.inode ? same_file : others).push_back(candidate);
  }
  std::sort(others.begin(), others.end());
  same_file.insert(same_file.end(), others.begin(), others.end());
  return same_file;
}

}  // namespace

std::string LivePosition::text() const {
  return std::string(kMagic) + std::to_string(device) + " " + std::to_string(inode) + " " + std::to_string(offset) +
         " " + window_sum + " " + log + "\n";
}

std::optional<LivePosition> parsePosition(const std::string& text) {
  if (text.compare(0, kMagic.size(), kMagic) != 0 || text.empty() || text.back() != '\n') return std::nullopt;
  LivePosition p;
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long offset = 0;
  char sum[65] = {};
  int used = 0;
  if (std::sscanf(text.c_str() + kMagic.size(), "%llu %llu %lld %64s %n", &device, &inode, &offset, sum, &used) < 4 ||
      used == 0 || offset < 0 || std::string_view(sum).size() != 64) {
    return std::nullopt;
  }
  p.device = device;
  p.inode = inode;
  p.offset = offset;
  p.window_sum = sum;
  p.log = text.substr(kMagic.size() + static_cast<std::size_t>(used));
  p.log.pop_back();  // the line end
  return p;
}

std::optional<LivePosition> positionIn(const std::string& log, const std::string& path, long long offset) {
  LivePosition p;
  p.log = log;
  p.offset = offset;
  long long size;
  if (!identityOf(path, p.device, p.inode, size) || size < offset) return std::nullopt;
  std::optional<std::string> sum = windowSum(path, offset);
  if (!sum) return std::nullopt;
  p.window_sum = *sum;
  return p;
}

UnreadPart locateUnread(const std::string& path, const std::optional<LivePosition>& last) {
  UnreadPart part;
  if (!last || last->offset == 0) return part;
  if (holdsWindow(path, *last)) {
    part.live_from = last->offset;
    return part;
  }
  for (const std::string& candidate : rotationCandidates(path, *last)) {
    if (!holdsWindow(candidate, *last)) continue;
    part.rotated = candidate;
    part.rotated_from = last->offset;
    part.note = path + " was rotated: the rest of " + candidate + " is read first";
    return part;
  }
  part.note = path + " was truncated or replaced since the last run, and no rotated copy holds its last lines: "
                     "it is read from its start";
  return part;
}

}  // namespace season
