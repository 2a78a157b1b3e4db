#include "output.h"

#include <sys/types.h>
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

// Everything put so far, written or buffered (the memory target: its size).
std::uint64_t Output::bytesPut() const { return memory_ != nullptr ? memory_->size() : written_ + used_; }

void Output::hold() { mark_ = bytesPut(); }

void Output::keep() { mark_ = kNoMark; }

void Output::takeBack() {
  if (mark_ == kNoMark) return;
  const std::uint64_t mark = mark_;
  mark_ = kNoMark;
  if (memory_ != nullptr) {
    if (mark < memory_->size()) memory_->resize(static_cast<std::size_t>(mark));
    return;
  }
  // After a failed write the figures no longer tell the file's end; the
  // target is lost anyway.
  if (failed_) {
    used_ = 0;
    return;
  }
  if (mark >= written_) {
    used_ = static_cast<std::size_t>(mark - written_);
    return;
  }
  // The section's start has gone out with an earlier block: the file is cut
  // back to it, and written on from there. Its position tells where the
  // run's first byte went, so the file need not have started empty.
  used_ = 0;
  const off_t end = ::lseek(fd_, 0, SEEK_CUR);
  const std::uint64_t taken_back = written_ - mark;
  if (end < 0 || static_cast<std::uint64_t>(end) < taken_back) {
    failed_ = true;
    return;
  }
  const off_t cut = end - static_cast<off_t>(taken_back);
  if (::ftruncate(fd_, cut) != 0 || ::lseek(fd_, cut, SEEK_SET) != cut) {
    failed_ = true;
    return;
  }
  written_ = mark;
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
    written_ += static_cast<std::uint64_t>(n);
  }
}

}  // namespace preparse
