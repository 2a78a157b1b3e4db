#include "log_input.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace preparse {

void LogInput::addFile(int fd, std::uint64_t size) {
  parts_.push_back({fd, {}, size_, size});
  size_ += size;
}

void LogInput::addBytes(std::string_view bytes) {
  parts_.push_back({-1, bytes, size_, bytes.size()});
  size_ += bytes.size();
}

namespace {

bool readFile(int fd, std::uint64_t offset, char* to, std::size_t count) {
  while (count > 0) {
    const ssize_t n = pread(fd, to, count, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;  // an error, or the file shrank under us
    to += n;
    offset += static_cast<std::uint64_t>(n);
    count -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool LogInput::read(std::uint64_t offset, char* to, std::size_t count) const {
  for (const Part& part : parts_) {
    if (count == 0) break;
    if (offset >= part.start + part.size) continue;
    const std::uint64_t within = offset - part.start;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, part.size - within));
    if (part.fd < 0) {
      std::memcpy(to, part.bytes.data() + within, n);
    } else if (!readFile(part.fd, within, to, n)) {
      return false;
    }
    to += n;
    offset += n;
    count -= n;
  }
  return count == 0;
}

}  // namespace preparse
