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

void Output::print(std::string_view format, std::initializer_list<std::string_view> args) {
  const std::string_view* arg = args.begin();
  for (;;) {
    const void* percent = std::memchr(format.data(), '%', format.size());
    if (percent == nullptr) break;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(percent) - format.data());
    if (at + 1 < format.size() && format[at + 1] == 's') {
      put(format.substr(0, at));
      if (arg != args.end()) put(*arg++);
    } else {
      put(format.substr(0, at + 1));  // a lone "%" is text
      format.remove_prefix(at + 1);
      continue;
    }
    format.remove_prefix(at + 2);
  }
  put(format);
}

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
