// The bytes one run reads: in carry-over mode the tail the previous run left,
// then the source; otherwise the source alone. The parts read as one stream,
// so a line that the previous run found cut off at the end of its source is
// whole again.
//
// Each part is an open file or bytes in memory. Reads are by offset, so the
// run can look at the end of its input first (findEndOfGames) and later copy
// the unfinished rest into the next tail without having held it in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace preparse {

class LogInput {
 public:
  // Appends an open file of `size` bytes; the caller keeps it open while
  // the input is read and closes it afterwards.
  void addFile(int fd, std::uint64_t size);
  // Appends bytes that outlive this object.
  void addBytes(std::string_view bytes);

  std::uint64_t size() const { return size_; }

  // All the bytes, when the input is a single part in memory (or empty);
  // null otherwise. Readers then take them in place instead of copying.
  const std::string_view* inMemory() const {
    if (parts_.empty()) return &kNoBytes;
    return parts_.size() == 1 && parts_[0].fd < 0 ? &parts_[0].bytes : nullptr;
  }

  // Copies `count` bytes from `offset` on into `to`. Requires offset + count
  // <= size(). False when a file could not be read or holds fewer bytes than
  // it had when it was added: the input is then incomplete.
  bool read(std::uint64_t offset, char* to, std::size_t count) const;

 private:
  struct Part {
    int fd;                 // -1 for bytes in memory
    std::string_view bytes;
    std::uint64_t start;    // offset of the part's first byte in the input
    std::uint64_t size;
  };
  static constexpr std::string_view kNoBytes{};
  std::vector<Part> parts_;
  std::uint64_t size_ = 0;
};

}  // namespace preparse
