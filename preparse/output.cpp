#include "output.h"

#include <unistd.h>

#include <cerrno>
#include <utility>

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
  if (mark_ != kNoMark) {
    holdLarge(text);
    return;
  }
  flush();
  if (text.size() <= capacity_) {
    put(text);
  } else {
    write(text.data(), text.size());
  }
}

// A held section never reaches the file before keep(): what precedes the
// mark is written, the section moves to the buffer's front, and the buffer
// grows to take the text. One game's text is what it costs at most.
void Output::holdLarge(std::string_view text) {
  const std::size_t before_mark = static_cast<std::size_t>(mark_ - written_);
  if (before_mark > 0) {
    write(buffer_.get(), before_mark);
    used_ -= before_mark;
    std::memmove(buffer_.get(), buffer_.get() + before_mark, used_);
  }
  if (text.size() > capacity_ - used_) {
    std::size_t grown = capacity_;
    while (text.size() > grown - used_) grown *= 2;
    std::unique_ptr<char[]> larger(new char[grown]);
    std::memcpy(larger.get(), buffer_.get(), used_);
    buffer_ = std::move(larger);
    capacity_ = grown;
  }
  std::memcpy(buffer_.get() + used_, text.data(), text.size());
  used_ += text.size();
}

// Everything put so far, written or buffered (the memory target: its size).
std::uint64_t Output::bytesPut() const { return memory_ != nullptr ? memory_->size() : written_ + used_; }

void Output::hold() { mark_ = bytesPut(); }

void Output::keep() { mark_ = kNoMark; }

// The mark is never behind what was written (holdLarge), so taking back is
// forgetting buffered bytes, or cutting the string.
void Output::takeBack() {
  if (mark_ == kNoMark) return;
  const std::uint64_t mark = mark_;
  mark_ = kNoMark;
  if (memory_ != nullptr) {
    if (mark < memory_->size()) memory_->resize(static_cast<std::size_t>(mark));
    return;
  }
  used_ = static_cast<std::size_t>(mark - written_);
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
  // Counted as handed over even when the write fails: after a failure
  // nothing more is written, the target is lost anyway.
  written_ += count;
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
