// Prepares a season working directory from an installation: links to the
// installed programs (which start each other as ./name), the default
// configurations, the page header and footer, the site files in html/, and
// the folders a season needs. Never overwrites what the admin changed or
// put there: see manifest.h.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "manifest.h"
#include "work_tree.h"

namespace setup {

// The programs a working directory links to, as they start each other.
inline constexpr const char* kLinkedPrograms[] = {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift",
                                                  "kestrostats-site", "kestrostats-admin"};

// What happened to each path (relative to the working directory).
struct SetupReport {
  std::vector<std::string> written;  // new
  std::vector<std::string> updated;  // replaced by a newer version of the set-up's own
  std::vector<std::string> kept;     // left alone: edited by the admin, or the admin's own
  std::vector<std::string> errors;   // could not be done (write failures, unreadable sources, links)
  std::vector<std::string> warnings; // done, but the admin should act (a password file others can read)
};

// True when `content` is a configuration holding a password (a "db_pass:"
// key line): the set-up writes such files for their owner only.
bool holdsPassword(std::string_view content);

class WorkingDirectory {
 public:
  // `manifest` must have been loaded from `dir`.
  // Nothing below `dir` is reached through a symbolic link (see work_tree.h).
  WorkingDirectory(std::filesystem::path dir, Manifest& manifest, SetupReport& report)
      : dir_(std::move(dir)), tree_(dir_), manifest_(manifest), report_(report) {}

  // Puts `content` at `relative` ("/"-separated), creating folders: when the
  // path is free, or holds the set-up's own unedited file. Anything else
  // stays and is reported as kept (with a warning when it holds a password
  // that others can read). False only when writing failed, or a folder on
  // the way is a symbolic link.
  bool placeFile(const std::string& relative, const std::string& content);

  // Copies every file below `from` to the same places below `relative`.
  bool placeTree(const std::filesystem::path& from, const std::string& relative);

  // Makes `name` a symbolic link to `target`, unless something of that name
  // is there already (a link elsewhere or a copy is the admin's choice).
  bool linkProgram(const std::string& name, const std::filesystem::path& target);

  // Creates a folder below the working directory.
  bool makeFolder(const std::string& relative);

  SetupReport& report() { return report_; }

 private:
  void fail(std::string error);
  void warnIfOthersRead(const std::string& relative, const WorkTree::Entry& entry, const std::string& content);

  std::filesystem::path dir_;
  WorkTree tree_;
  Manifest& manifest_;
  SetupReport& report_;
};

// The whole set-up from an installation's share folder (configurations,
// header, footer, html/) and bin folder (the programs).
bool prepareWorkingDirectory(WorkingDirectory& work, const std::filesystem::path& share_dir,
                             const std::filesystem::path& bin_dir);

// Reads a whole file; false when it cannot be read.
bool readFile(const std::filesystem::path& path, std::string& content);

}  // namespace setup
