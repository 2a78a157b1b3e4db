#include "map_pictures.h"

#include <zip.h>

#include <algorithm>
#include <memory>

namespace setup {

namespace fs = std::filesystem;

namespace {

struct ArchiveCloser {
  void operator()(zip_t* z) const { zip_discard(z); }  // opened read-only: nothing to write back
};
struct EntryCloser {
  void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

std::string lowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool isPk3(const fs::path& path) { return lowerCase(path.extension().string()) == ".pk3"; }

std::vector<fs::path> archivesIn(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    std::error_code ignored;
    if (isPk3(entry.path()) && entry.is_regular_file(ignored)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
  return found;
}

// Where the winning picture of a map is: archive and entry index.
struct Location {
  std::size_t archive;
  zip_uint64_t entry;
};

// Notes every picture entry of one archive in `where`, replacing earlier ones.
bool indexArchive(const fs::path& path, std::size_t archive, std::map<std::string, Location>& where,
                  std::vector<std::string>& errors) {
  int code = 0;
  Archive z(zip_open(path.c_str(), ZIP_RDONLY, &code));
  if (!z) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    errors.push_back(path.string() + ": " + zip_error_strerror(&error));
    zip_error_fini(&error);
    return false;
  }
  zip_int64_t entries = zip_get_num_entries(z.get(), 0);
  for (zip_int64_t i = 0; i < entries; ++i) {
    const char* name = zip_get_name(z.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
    if (name == nullptr) continue;
    std::string map = mapOfEntry(name);
    if (!map.empty()) where[map] = {archive, static_cast<zip_uint64_t>(i)};
  }
  return true;
}

// Reads one entry whole; false (with the reason noted) when it cannot be
// read or is implausibly large.
bool readEntry(zip_t* z, zip_uint64_t index, const std::string& what, std::string& bytes,
               std::vector<std::string>& errors) {
  zip_stat_t stat;
  if (zip_stat_index(z, index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
    errors.push_back(what + ": " + zip_strerror(z));
    return false;
  }
  if (stat.size > kMaxPictureBytes) {
    errors.push_back(what + ": larger than " + std::to_string(kMaxPictureBytes) + " bytes, skipped");
    return false;
  }
  Entry file(zip_fopen_index(z, index, 0));
  if (!file) {
    errors.push_back(what + ": " + zip_strerror(z));
    return false;
  }
  bytes.resize(static_cast<std::size_t>(stat.size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    zip_int64_t n = zip_fread(file.get(), bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      errors.push_back(what + ": the entry is damaged");
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::vector<fs::path> gameArchives(const fs::path& game_dir) {
  std::vector<fs::path> all = archivesIn(game_dir / "baseq3");
  std::vector<fs::path> mod = archivesIn(game_dir / "osp");
  all.insert(all.end(), mod.begin(), mod.end());
  return all;
}

std::string mapOfEntry(const std::string& entry) {
  static constexpr std::string_view kFolder = "levelshots/";
  static constexpr std::string_view kExtension = ".jpg";
  std::string lower = lowerCase(entry);
  if (lower.size() <= kFolder.size() + kExtension.size() || !lower.starts_with(kFolder) ||
      !lower.ends_with(kExtension)) {
    return "";
  }
  std::string map = lower.substr(kFolder.size(), lower.size() - kFolder.size() - kExtension.size());
  if (map[0] == '.') return "";
  for (char c : map) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    if (!plain) return "";
  }
  return map;
}

MapPictures readMapPictures(const std::vector<fs::path>& archives) {
  MapPictures result;
  std::map<std::string, Location> where;
  for (std::size_t a = 0; a < archives.size(); ++a) indexArchive(archives[a], a, where, result.errors);

  // Each archive is opened once more, for the pictures it won.
  std::map<std::size_t, std::vector<std::pair<std::string, zip_uint64_t>>> by_archive;
  for (const auto& [map, location] : where) by_archive[location.archive].emplace_back(map, location.entry);
  for (const auto& [archive, wanted] : by_archive) {
    const fs::path& path = archives[archive];
    int code = 0;
    Archive z(zip_open(path.c_str(), ZIP_RDONLY, &code));
    if (!z) {
      result.errors.push_back(path.string() + ": could not be opened again");
      continue;
    }
    for (const auto& [map, entry] : wanted) {
      std::string bytes;
      if (!readEntry(z.get(), entry, path.string() + " (" + map + ")", bytes, result.errors)) continue;
      result.pictures[map] = std::move(bytes);
      result.sources[map] = path.string();
    }
  }
  return result;
}

}  // namespace setup
