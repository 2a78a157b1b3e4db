#include "work_tree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace setup {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> components(const std::string& relative) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('/', start);
    if (end == std::string::npos) end = relative.size();
    std::string part = relative.substr(start, end - start);
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

std::string reason(int error_number) { return std::strerror(error_number); }

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

}  // namespace

WorkTree::WorkTree(const fs::path& dir) : dir_(dir) {
  top_ = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (top_ < 0) {
    open_error_ = "could not open the folder " + dir.string() + ": " + reason(errno);
    return;
  }
  struct stat info;
  if (::fstat(top_, &info) == 0 && ::geteuid() == 0 && info.st_uid != 0) {
    give_away_ = true;
    owner_ = info.st_uid;
    group_ = info.st_gid;
  }
}

WorkTree::~WorkTree() {
  if (top_ >= 0) ::close(top_);
}

int WorkTree::openParent(const std::string& relative, bool create, std::string& name, std::string& error) const {
  error.clear();
  std::vector<std::string> parts = components(relative);
  if (!ok() || parts.empty()) {
    error = ok() ? "no file name given" : open_error_;
    return -1;
  }
  name = parts.back();
  parts.pop_back();
  Descriptor folder(::dup(top_));
  if (folder.get() < 0) {
    error = "could not open " + dir_.string() + ": " + reason(errno);
    return -1;
  }
  fs::path walked = dir_;
  for (const std::string& part : parts) {
    walked /= part;
    if (part == "..") {
      error = walked.string() + " leaves the working directory";
      return -1;
    }
    int next = ::openat(folder.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT && create) {
      if (::mkdirat(folder.get(), part.c_str(), 0755) != 0 && errno != EEXIST) {
        error = "could not create the folder " + walked.string() + ": " + reason(errno);
        return -1;
      }
      next = ::openat(folder.get(), part.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (next >= 0 && give_away_ && ::fchown(next, owner_, group_) != 0) {
        error = "could not give " + walked.string() + " to the working directory's owner: " + reason(errno);
        ::close(next);
        return -1;
      }
    }
    if (next < 0) {
      int open_error = errno;
      struct stat info;
      if (::fstatat(folder.get(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT && !create) return -1;  // missing: nothing below it either
        error = "could not open the folder " + walked.string() + ": " + reason(errno);
      } else if (S_ISLNK(info.st_mode)) {
        error = walked.string() +
                " is a symbolic link; kestrostats-setup never writes through a link it did not make "
                "(replace it by a folder, or copy the files yourself)";
      } else if (!S_ISDIR(info.st_mode)) {
        error = walked.string() + " is not a folder";
      } else {
        error = "could not open the folder " + walked.string() + ": " + reason(open_error);
      }
      return -1;
    }
    folder.reset(next);
  }
  return folder.release();
}

bool WorkTree::inspect(const std::string& relative, Entry& entry, std::string& error) const {
  entry = Entry();
  std::string name;
  Descriptor folder(openParent(relative, false, name, error));
  if (folder.get() < 0) return error.empty();
  struct stat info;
  if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return true;
    error = "could not look at " + (dir_ / relative).string() + ": " + reason(errno);
    return false;
  }
  entry.mode = info.st_mode & 07777;
  entry.kind = S_ISREG(info.st_mode)   ? Kind::kFile
               : S_ISDIR(info.st_mode) ? Kind::kFolder
               : S_ISLNK(info.st_mode) ? Kind::kLink
                                       : Kind::kOther;
  return true;
}

bool WorkTree::read(const std::string& relative, std::string& content, std::string& error) const {
  const std::string shown = (dir_ / relative).string();
  std::string name;
  Descriptor folder(openParent(relative, false, name, error));
  if (folder.get() < 0) {
    if (error.empty()) error = "could not read " + shown + ": " + reason(ENOENT);
    return false;
  }
  // Non-blocking, so that a named pipe in a file's place cannot stop the run.
  Descriptor file(::openat(folder.get(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) {
    error = errno == ELOOP ? shown + " is a symbolic link; kestrostats-setup does not follow it"
                           : "could not read " + shown + ": " + reason(errno);
    return false;
  }
  struct stat info;
  if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    error = shown + " is not a regular file";
    return false;
  }
  content.clear();
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(file.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = "could not read " + shown + ": " + reason(errno);
      return false;
    }
    if (n == 0) return true;
    content.append(buffer, static_cast<std::size_t>(n));
  }
}

bool WorkTree::makeFolders(const std::string& relative, std::string& error) {
  // Made as the folders on the way to a name below it (never created).
  std::string name;
  Descriptor folder(openParent(relative + "/-", true, name, error));
  return folder.get() >= 0;
}

bool WorkTree::write(const std::string& relative, std::string_view content, bool owner_only, std::string& error) {
  const std::string shown = (dir_ / relative).string();
  std::string name;
  Descriptor folder(openParent(relative, false, name, error));
  if (folder.get() < 0) {
    if (error.empty()) error = "could not create " + shown + ": its folder is missing";
    return false;
  }
  const std::string temporary = name + ".part-" + std::to_string(::getpid());
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  const mode_t mode = owner_only ? 0600 : 0644;
  int fd = ::openat(folder.get(), temporary.c_str(), flags, mode);
  if (fd < 0 && errno == EEXIST) {
    // Left by a run of the same process number that was killed; never reused.
    ::unlinkat(folder.get(), temporary.c_str(), 0);
    fd = ::openat(folder.get(), temporary.c_str(), flags, mode);
  }
  if (fd < 0) {
    error = "could not create " + shown + ": " + reason(errno);
    return false;
  }
  Descriptor file(fd);
  auto fail = [&](const char* what, int error_number) {
    error = std::string("could not ") + what + " " + shown + ": " + reason(error_number);
    ::unlinkat(folder.get(), temporary.c_str(), 0);
    return false;
  };
  // The umask may only take permissions away, never give a password file to
  // its group; and root's file goes to the directory's owner.
  if (owner_only && ::fchmod(file.get(), 0600) != 0) return fail("restrict", errno);
  if (give_away_ && ::fchown(file.get(), owner_, group_) != 0) return fail("give away", errno);
  const char* at = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    ssize_t n = ::write(file.get(), at, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("write", n < 0 ? errno : ENOSPC);
    at += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(file.get()) != 0 && errno != EINVAL) return fail("write", errno);
  // Delayed write errors (NFS, quotas) are reported by close.
  if (::close(file.release()) != 0) return fail("finish writing", errno);
  if (::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
    return fail("move into place", errno);
  }
  return true;
}

bool WorkTree::link(const std::string& relative, const fs::path& target, std::string& error) {
  const std::string shown = (dir_ / relative).string();
  std::string name;
  Descriptor folder(openParent(relative, false, name, error));
  if (folder.get() < 0) {
    if (error.empty()) error = "could not link " + shown + ": its folder is missing";
    return false;
  }
  if (::symlinkat(target.c_str(), folder.get(), name.c_str()) != 0) {
    error = "could not link " + shown + " to " + target.string() + ": " + reason(errno);
    return false;
  }
  if (give_away_ && ::fchownat(folder.get(), name.c_str(), owner_, group_, AT_SYMLINK_NOFOLLOW) != 0) {
    error = "could not give " + shown + " to the working directory's owner: " + reason(errno);
    return false;
  }
  return true;
}

}  // namespace setup
