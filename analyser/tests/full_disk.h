// A file system that fills up: it has room for a given number of bytes,
// and the write that does not fit fails with ENOSPC the way the real one
// does on a full disk (the file is created, what fits is written, then it
// is removed again). Renames and removals need no room, as on a real disk.
#pragma once

#include <cerrno>
#include <cstddef>
#include <string>
#include <string_view>

#include "file_system.h"

namespace kstest {

class FullDisk : public FileSystem {
 public:
  explicit FullDisk(std::size_t room) : room_(room) {}

  FileResult writeNewFile(const std::string& path, std::string_view content, const NewFile& how) override {
    if (content.size() <= room_) {
      FileResult result = real_.writeNewFile(path, content, how);
      if (result) room_ -= content.size();
      return result;
    }
    FileResult started = real_.writeNewFile(path, content.substr(0, room_), how);
    if (!started) return started;
    room_ = 0;
    ++refused_;
    real_.remove(path);
    return FileResult{FileStep::kWrite, ENOSPC};
  }
  FileResult rename(const std::string& from, const std::string& to) override { return real_.rename(from, to); }
  FileResult syncFolderOf(const std::string& path) override { return real_.syncFolderOf(path); }
  FileResult remove(const std::string& path) override { return real_.remove(path); }

  // Writes that failed for want of room.
  int refused() const { return refused_; }

 private:
  FileSystem& real_ = realFileSystem();
  std::size_t room_;
  int refused_ = 0;
};

}  // namespace kstest
