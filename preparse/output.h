// The target of a run: everything the translators write, buffered and
// written in large blocks, every write checked. The text of a game section
// can be taken back while the section is open (hold, keep, takeBack), so
// that only games the server finished are in the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace preparse {

// A console line's format: text with "%s" marks, each filled in turn with a
// text. It is cut at its marks when the program is compiled, so that
// writing a line is a copy of each piece.
class Format {
 public:
  static constexpr std::size_t kMostMarks = 4;

  consteval Format(const char* format) {  // NOLINT: implicit from a literal by design
    std::string_view rest(format);
    for (std::size_t mark = rest.find("%s"); mark != std::string_view::npos; mark = rest.find("%s")) {
      if (marks_ == kMostMarks) throw "a format has at most kMostMarks marks";
      pieces_[marks_++] = rest.substr(0, mark);
      rest.remove_prefix(mark + 2);
    }
    pieces_[marks_] = rest;
  }

  std::size_t marks() const { return marks_; }
  // The text before mark `i`; piece(marks()) is the text after the last.
  std::string_view piece(std::size_t i) const { return pieces_[i]; }

 private:
  std::string_view pieces_[kMostMarks + 1];
  std::size_t marks_ = 0;
};

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
    if (!text.empty()) std::memcpy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
  }

  // Writes `format` with each "%s" replaced by the next of `args` (an empty
  // text once they run out). No other conversion is known.
  void print(const Format& format, std::initializer_list<std::string_view> args) {
    const std::string_view* arg = args.begin();
    for (std::size_t i = 0; i < format.marks(); ++i) {
      put(format.piece(i));
      if (arg != args.end()) put(*arg++);
    }
    put(format.piece(format.marks()));
  }

  // Marks the start of a game section: what is written from here on can be
  // taken back until keep(). A mark already set moves here.
  void hold();
  // The section stands: the mark goes.
  void keep();
  // Forgets everything put since the mark, and the mark. Nothing of a held
  // section reaches the file before keep(): the buffer grows to hold it, so
  // any target (a pipe too) can take a section back. Without a mark nothing
  // happens.
  void takeBack();

  // Writes out what is buffered. False when this or any earlier write
  // failed: the target is then incomplete.
  bool flush();
  bool failed() const { return failed_; }

 private:
  static constexpr std::uint64_t kNoMark = ~std::uint64_t{0};

  void putLarge(std::string_view text);
  void holdLarge(std::string_view text);
  void write(const char* bytes, std::size_t count);
  std::uint64_t bytesPut() const;

  int fd_ = -1;
  std::string* memory_ = nullptr;
  std::size_t capacity_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t written_ = 0;     // bytes handed to write() so far
  std::uint64_t mark_ = kNoMark;  // bytesPut() at hold()
  bool failed_ = false;
};

}  // namespace preparse
