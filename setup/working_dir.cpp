#include "working_dir.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "atomic_file.h"

namespace setup {

namespace fs = std::filesystem;

namespace {

// Default configurations and page parts that go beside the programs.
constexpr const char* kTopFiles[] = {"s-default.cfg", "c-default.cfg", "c-header.html", "c-footer.html"};

// Folders a season uses: the pages, the site, the map pictures and the
// live logs' archive (backup_dir: of the default configuration).
constexpr const char* kFolders[] = {"html", "html/season", "html/images/maps", "backup"};

}  // namespace

bool readFile(const fs::path& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return false;
  content = text.str();
  return true;
}

bool WorkingDirectory::makeFolder(const std::string& relative) {
  std::error_code ec;
  fs::create_directories(dir_ / relative, ec);
  if (ec || !fs::is_directory(dir_ / relative)) {
    report_.errors.push_back("could not create the folder " + (dir_ / relative).string());
    return false;
  }
  return true;
}

bool WorkingDirectory::placeFile(const std::string& relative, const std::string& content) {
  const fs::path path = dir_ / relative;
  const std::string wanted = fingerprintOf(content);
  std::error_code ec;
  bool exists = fs::exists(fs::symlink_status(path, ec));
  bool update = false;
  if (exists) {
    std::string current;
    if (!fs::is_regular_file(fs::symlink_status(path, ec)) || !readFile(path, current)) {
      report_.kept.push_back(relative);
      return true;
    }
    std::string have = fingerprintOf(current);
    if (have == wanted) {
      // Already this version; it is the set-up's own from now on only if it
      // was before (an identical file of the admin's stays the admin's).
      if (!manifest_.fingerprint(relative).empty()) manifest_.record(relative, wanted);
      return true;
    }
    if (manifest_.fingerprint(relative) != have) {
      report_.kept.push_back(relative);
      return true;
    }
    update = true;
  }
  if (!makeFolder(fs::path(relative).parent_path().string())) return false;
  std::string error;
  if (!site::writeFileAtomically(path, content, error)) {
    report_.errors.push_back(error);
    return false;
  }
  manifest_.record(relative, wanted);
  (update ? report_.updated : report_.written).push_back(relative);
  return true;
}

bool WorkingDirectory::placeTree(const fs::path& from, const std::string& relative) {
  std::error_code ec;
  bool ok = true;
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(from, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_regular_file()) files.push_back(it->path());
  }
  if (ec) {
    report_.errors.push_back("could not list " + from.string() + ": " + ec.message());
    ok = false;
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::string content;
    std::string target = (fs::path(relative) / file.lexically_relative(from)).generic_string();
    if (!readFile(file, content)) {
      report_.errors.push_back("could not read " + file.string());
      ok = false;
      continue;
    }
    ok = placeFile(target, content) && ok;
  }
  return ok;
}

bool WorkingDirectory::linkProgram(const std::string& name, const fs::path& target) {
  const fs::path link = dir_ / name;
  std::error_code ec;
  fs::file_status status = fs::symlink_status(link, ec);
  if (fs::exists(status)) {
    if (!(fs::is_symlink(status) && fs::read_symlink(link, ec) == target)) report_.kept.push_back(name);
    return true;
  }
  fs::create_symlink(target, link, ec);
  if (ec) {
    report_.errors.push_back("could not link " + link.string() + " to " + target.string() + ": " + ec.message());
    return false;
  }
  report_.written.push_back(name);
  return true;
}

bool prepareWorkingDirectory(WorkingDirectory& work, const fs::path& share_dir, const fs::path& bin_dir) {
  bool ok = true;
  for (const char* folder : kFolders) ok = work.makeFolder(folder) && ok;
  for (const char* program : kLinkedPrograms) {
    std::error_code ec;
    fs::path target = fs::absolute(bin_dir / program, ec).lexically_normal();
    if (fs::exists(target, ec)) ok = work.linkProgram(program, target) && ok;
  }
  for (const char* file : kTopFiles) {
    std::string content;
    if (!readFile(share_dir / file, content)) {
      work.report().errors.push_back("could not read " + (share_dir / file).string());
      ok = false;
      continue;
    }
    ok = work.placeFile(file, content) && ok;
  }
  return work.placeTree(share_dir / "html", "html") && ok;
}

}  // namespace setup
