#include "file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A failure at `step`; an errno of 0 (a short write the system gave no
// reason for) counts as a full disk.
FileResult failedAt(FileStep step, int error_number) {
  return FileResult{step, error_number != 0 ? error_number : ENOSPC};
}

class RealFileSystem final : public FileSystem {
 public:
  FileResult writeNewFile(const std::string& path, std::string_view content, const NewFile& how) override {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (how.exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, static_cast<mode_t>(how.permissions));
    if (fd < 0) return failedAt(FileStep::kCreate, errno);
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
      FileResult result = failedAt(FileStep::kCreate, errno);
      ::close(fd);
      ::unlink(path.c_str());
      return result;
    }
    FileResult result;
    errno = 0;
    if (std::fwrite(content.data(), 1, content.size(), file) != content.size()) {
      result = failedAt(FileStep::kWrite, errno);
    }
    FileResult closed = closeStream(file, how.durability);
    if (result.ok()) result = closed;
    if (!result.ok()) ::unlink(path.c_str());
    return result;
  }

  FileResult rename(const std::string& from, const std::string& to) override {
    if (std::rename(from.c_str(), to.c_str()) != 0) return failedAt(FileStep::kRename, errno);
    return {};
  }

  FileResult syncFolderOf(const std::string& path) override {
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return failedAt(FileStep::kSyncFolder, errno);
    FileResult result;
    if (::fsync(fd) != 0) result = failedAt(FileStep::kSyncFolder, errno);
    if (::close(fd) != 0 && result.ok()) result = failedAt(FileStep::kSyncFolder, errno);
    return result;
  }

  FileResult remove(const std::string& path) override {
    if (std::remove(path.c_str()) != 0) return failedAt(FileStep::kRemove, errno);
    return {};
  }
};

}  // namespace

FileSystem& realFileSystem() {
  static RealFileSystem real;
  return real;
}

FileResult closeStream(std::FILE* file, Durability durability) {
  FileResult result;
  errno = 0;
  if (std::fflush(file) != 0 || std::ferror(file) != 0) {
    result = failedAt(FileStep::kWrite, errno);
  } else if (durability == Durability::kSynced && ::fsync(::fileno(file)) != 0) {
    result = failedAt(FileStep::kSync, errno);
  }
  // Delayed write errors (NFS, quotas) are reported by the close.
  errno = 0;
  if (std::fclose(file) != 0 && result.ok()) result = failedAt(FileStep::kClose, errno);
  return result;
}
