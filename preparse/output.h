// The target of a run: everything the translators write, buffered and
// written in large blocks, every write checked.
#pragma once

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace preparse {

class Output {
 public:
  // Writes to an open file; the caller closes it after the last flush().
  explicit Output(int fd);
  // Appends to `bytes` (tests, fuzzing), which must outlive the object.
  explicit Output(std::string& bytes);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void put(std::string_view text) {
    if (text.size() > capacity_ - used_ || buffer_ == nullptr) {
      putLarge(text);
      return;
    }
    std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
  }

  // Writes `format` with each "%s" replaced by the next of `args` (an empty
  // text once they run out). No other conversion is known.
  void print(std::string_view format, std::initializer_list<std::string_view> args);

  // Writes out what is buffered. False when this or any earlier write
  // failed: the target is then incomplete.
  bool flush();
  bool failed() const { return failed_; }

 private:
  void putLarge(std::string_view text);
  void write(const char* bytes, std::size_t count);

  int fd_ = -1;
  std::string* memory_ = nullptr;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
};

}  // namespace preparse
