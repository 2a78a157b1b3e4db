// Prepares a season working directory from an installation: links to the
// installed programs (which start each other as ./name), the default
// configurations, the page header and footer, the site files in html/, and
// the folders a season needs. Never overwrites what the admin changed or
// put there: see manifest.h.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "manifest.h"

namespace setup {

// The programs a working directory links to, as they start each other.
inline constexpr const char* kLinkedPrograms[] = {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift",
                                                  "kestrostats-site"};

// What happened to each path (relative to the working directory).
struct SetupReport {
  std::vector<std::string> written;  // new
  std::vector<std::string> updated;  // replaced by a newer version of the set-up's own
  std::vector<std::string> kept;     // left alone: edited by the admin, or the admin's own
  std::vector<std::string> errors;   // could not be done (write failures, unreadable sources)
};

class WorkingDirectory {
 public:
  // `manifest` must have been loaded from `dir`.
  WorkingDirectory(std::filesystem::path dir, Manifest& manifest, SetupReport& report)
      : dir_(std::move(dir)), manifest_(manifest), report_(report) {}

  // Puts `content` at `relative` ("/"-separated), creating folders: when the
  // path is free, or holds the set-up's own unedited file. Anything else
  // stays and is reported as kept. False only when writing failed.
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
  std::filesystem::path dir_;
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
