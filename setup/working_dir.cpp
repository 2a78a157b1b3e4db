#include "working_dir.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

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

bool holdsPassword(std::string_view content) {
  for (std::size_t at = 0; at < content.size();) {
    std::size_t end = content.find('\n', at);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line == "db_pass:") return true;
    at = end + 1;
  }
  return false;
}

void WorkingDirectory::fail(std::string error) {
  // One link on the way to many files is named once.
  if (std::find(report_.errors.begin(), report_.errors.end(), error) == report_.errors.end()) {
    report_.errors.push_back(std::move(error));
  }
}

bool WorkingDirectory::makeFolder(const std::string& relative) {
  std::string error;
  if (!tree_.makeFolders(relative, error)) {
    fail(error);
    return false;
  }
  return true;
}

void WorkingDirectory::warnIfOthersRead(const std::string& relative, const WorkTree::Entry& entry,
                                        const std::string& content) {
  if (!holdsPassword(content) || (entry.mode & (S_IRGRP | S_IROTH)) == 0) return;
  report_.warnings.push_back((dir_ / relative).string() + " holds the database password and can be read by " +
                             ((entry.mode & S_IROTH) != 0 ? "every user" : "its group") +
                             "; make it the owner's only: chmod 600 " + (dir_ / relative).string());
}

bool WorkingDirectory::placeFile(const std::string& relative, const std::string& content) {
  const std::string wanted = fingerprintOf(content);
  std::string error;
  WorkTree::Entry entry;
  if (!tree_.inspect(relative, entry, error)) {
    fail(error);
    return false;
  }
  bool update = false;
  if (entry.kind != WorkTree::Kind::kMissing) {
    std::string current;
    if (entry.kind != WorkTree::Kind::kFile || !tree_.read(relative, current, error)) {
      report_.kept.push_back(relative);
      return true;
    }
    std::string have = fingerprintOf(current);
    if (have == wanted) {
      // Already this version; it is the set-up's own from now on only if it
      // was before (an identical file of the admin's stays the admin's).
      if (!manifest_.fingerprint(relative).empty()) manifest_.record(relative, wanted);
      warnIfOthersRead(relative, entry, current);
      return true;
    }
    if (manifest_.fingerprint(relative) != have) {
      report_.kept.push_back(relative);
      warnIfOthersRead(relative, entry, current);
      return true;
    }
    update = true;
  }
  std::string parent = fs::path(relative).parent_path().generic_string();
  if (!parent.empty() && !makeFolder(parent)) return false;
  if (!tree_.write(relative, content, holdsPassword(content), error)) {
    fail(error);
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
  std::string error;
  WorkTree::Entry entry;
  if (!tree_.inspect(name, entry, error)) {
    fail(error);
    return false;
  }
  if (entry.kind != WorkTree::Kind::kMissing) {
    std::error_code ec;
    if (!(entry.kind == WorkTree::Kind::kLink && fs::read_symlink(dir_ / name, ec) == target)) {
      report_.kept.push_back(name);
    }
    return true;
  }
  if (!tree_.link(name, target, error)) {
    fail(error);
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
