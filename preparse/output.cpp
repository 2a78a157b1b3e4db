#include "output.h"

#include <unistd.h>

#include <cerrno>

namespace preparse {

namespace {
constexpr std::size_t kFileBuffer = 1 << 20;
}  // namespace

Output::Output(int fd) : fd_(fd), capacity_(kFileBuffer), buffer_(new char[capacity_]) {}

// Without a buffer: every text goes straight to the string.
Output::Output(std::string& bytes) : memory_(&bytes), capacity_(0) {}

void Output::putLarge(std::string_view text) {
  if (memory_ != nullptr) {
    memory_->append(text);
    return;
  }
  flush();
  if (text.size() <= capacity_) {
    put(text);
  } else {
    write(text.data(), text.size());
  }
}

bool Output::flush() {
  if (used_ > 0) write(buffer_.get(), used_);
  used_ = 0;
  return !failed_;
}

void Output::write(const char* bytes, std::size_t count) {
  if (memory_ != nullptr) {
    memory_->append(bytes, count);
    return;
  }
  // After a failure nothing more is written: the target is lost anyway.
  while (count > 0 && !failed_) {
    const ssize_t n = ::write(fd_, bytes, count);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failed_ = true;
      break;
    }
    bytes += n;
    count -= static_cast<std::size_t>(n);
  }
}

}  // namespace preparse
