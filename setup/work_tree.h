// The files and folders below a working directory, reached without ever
// following a symbolic link.
//
// The set-up is often run as root on a directory that the season's user owns
// and may change: a link that user made (html/images/maps -> /etc) would
// otherwise have root write wherever it points. Every path below the working
// directory is therefore walked one component at a time from an open folder
// (openat with O_NOFOLLOW), new files are created exclusively under a
// temporary name and renamed into place, and a link found on the way is
// refused with its name. The working directory itself is the admin's choice
// and may be a link.
//
// As root on a directory owned by somebody else, what the set-up creates is
// given to that owner, so that the season's user can read and replace it
// (a password file is readable by its owner only).
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace setup {

class WorkTree {
 public:
  // Opens `dir`, which must exist; see ok() and error().
  explicit WorkTree(const std::filesystem::path& dir);
  ~WorkTree();
  WorkTree(const WorkTree&) = delete;
  WorkTree& operator=(const WorkTree&) = delete;

  bool ok() const { return top_ >= 0; }
  const std::string& openError() const { return open_error_; }

  enum class Kind { kMissing, kFile, kFolder, kLink, kOther };
  struct Entry {
    Kind kind = Kind::kMissing;
    mode_t mode = 0;  // permission bits
  };

  // What `relative` ("/"-separated, below the directory) is; a missing folder
  // on the way gives kMissing. False with `error` when a folder on the way is
  // a link or not a folder, or cannot be opened.
  bool inspect(const std::string& relative, Entry& entry, std::string& error) const;

  // Reads a regular file. False with `error` for a link, a missing file or
  // anything that cannot be read.
  bool read(const std::string& relative, std::string& content, std::string& error) const;

  // Creates the folder and its missing parents (mode 0755, less the umask).
  bool makeFolders(const std::string& relative, std::string& error);

  // Writes `content` whole to `relative` (its folder must exist): a new file
  // under a temporary name, written, synced, closed and renamed over the old
  // one. `owner_only` files are mode 0600 whatever the umask; others 0644
  // less the umask.
  bool write(const std::string& relative, std::string_view content, bool owner_only, std::string& error);

  // Makes `relative` a symbolic link to `target`; false when anything of
  // that name is there.
  bool link(const std::string& relative, const std::filesystem::path& target, std::string& error);

 private:
  // An open descriptor of the folder of `relative` (the top for a plain
  // name), with the last component in `name`. -1 with `error` when a
  // component is a link or no folder; with `create`, missing folders are
  // made, else a missing folder gives -1 with an empty `error`.
  int openParent(const std::string& relative, bool create, std::string& name, std::string& error) const;

  std::filesystem::path dir_;
  int top_ = -1;
  std::string open_error_;
  bool give_away_ = false;
  uid_t owner_ = 0;
  gid_t group_ = 0;
};

}  // namespace setup
