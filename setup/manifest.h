// The set-up command's record of the files it put into a working directory,
// with a fingerprint of each as written. A file whose content still matches
// its fingerprint is the set-up's own and may be replaced by a newer
// version; one that differs was edited by the admin, and one without a
// record is the admin's own: both are left alone.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace setup {

// The record's file name in the working directory.
inline constexpr const char* kManifestName = ".kestrostats-setup";

class Manifest {
 public:
  // Reads the record of `work_dir`; a missing record is an empty one. False
  // with the reason in `error` when it exists but cannot be read.
  bool load(const std::filesystem::path& work_dir, std::string& error);
  // Writes the record atomically.
  bool save(const std::filesystem::path& work_dir, std::string& error) const;

  // The fingerprint recorded for `relative` (a path below the working
  // directory, "/"-separated); empty when there is none.
  std::string fingerprint(const std::string& relative) const;
  void record(const std::string& relative, const std::string& fingerprint);

 private:
  std::map<std::string, std::string> entries_;
};

// The SHA-256 of `content`, as hexadecimal digits.
std::string fingerprintOf(const std::string& content);

}  // namespace setup
