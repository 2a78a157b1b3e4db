#include "ks_preparse.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "conversion.h"
#include "log_input.h"
#include "output.h"
#include "run_status.h"
#include "text.h"

namespace preparse {

namespace {

// The failures, each with the line that names it on standard output.
const Error kOpenToReadError{Failure::kLog, "error: couldnt open file to read\n"};
const Error kOpenToWriteError{Failure::kWrite, "error: couldnt open file to write\n"};
const Error kReadError{Failure::kLog, "error: couldnt read file\n"};
const Error kWriteError{Failure::kWrite, "error: couldnt write file\n"};

// An open file, closed when the object goes. The file is opened as the C
// library opens "rb" and "wb".
class File {
 public:
  File() = default;
  File(const char* path, bool for_writing)
      : fd_(for_writing ? ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666) : ::open(path, O_RDONLY)) {}
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  File& operator=(File&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }

  int fd() const { return fd_; }
  bool isOpen() const { return fd_ >= 0; }
  // A log is a regular file; a directory or a device opens, but is none.
  bool isRegular(std::uint64_t* size = nullptr) const {
    struct stat info;
    if (fd_ < 0 || fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    if (size != nullptr) *size = static_cast<std::uint64_t>(info.st_size);
    return true;
  }
  // Closes a file that was written. False when the close failed: the file
  // is then incomplete.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
  }

 private:
  int fd_ = -1;
};

std::string carryOverName(std::string_view pattern_prefix, std::string_view source) {
  std::string name(pattern_prefix);
  name.append(source);
  if (name.size() > kMaxTextLength) name.resize(kMaxTextLength);
  stripIllegalFilenameChars(name);
  return name;
}

// Carry-over mode: puts the previous tail, when there is one, in front of
// the source.
Error addPreviousTail(const CarryOverNames& names, File& tail, LogInput& input) {
  tail = File(names.tail.c_str(), false);
  if (!tail.isOpen()) return errno == ENOENT ? Error{} : kOpenToReadError;  // there, but unreadable: keep it
  std::uint64_t size = 0;
  if (!tail.isRegular(&size)) return kReadError;
  input.addFile(tail.fd(), size);
  return {};
}

// Carry-over mode, after the conversion: the input's bytes from `start` on
// become the next tail. It is written under a scratch name and renamed into
// place only when complete, so that a failed or killed run leaves the
// previous tail as it was.
Error saveTail(const CarryOverNames& names, const LogInput& input, std::uint64_t start) {
  File out(names.new_tail.c_str(), true);
  if (!out.isOpen()) return kOpenToWriteError;
  bool read_failed = false;
  {
    Output tail(out.fd());
    std::unique_ptr<char[]> chunk(new char[1 << 16]);
    for (std::uint64_t at = start; at < input.size() && !read_failed;) {
      const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(1 << 16, input.size() - at));
      read_failed = !input.read(at, chunk.get(), count);
      if (!read_failed) tail.put({chunk.get(), count});
      at += count;
    }
    const bool complete = tail.flush() && out.close() && !read_failed;
    if (complete && std::rename(names.new_tail.c_str(), names.tail.c_str()) == 0) return {};
  }
  std::remove(names.new_tail.c_str());
  return read_failed ? kReadError : kWriteError;
}

// Converts the open source into the open target.
Error convert(const CarryOverNames& names, const File& source, std::uint64_t source_size, File& target,
                    bool carry_over) {
  LogInput input;
  File previous_tail;
  if (carry_over) {
    if (Error error = addPreviousTail(names, previous_tail, input); error.failed()) return error;
  }
  input.addFile(source.fd(), source_size);

  Output out(target.fd());
  const Converted converted = convertInput(input, out, carry_over);
  if (converted.read_failed) return kReadError;
  if (!out.flush() || !target.close()) return kWriteError;
  return carry_over ? saveTail(names, input, converted.tail_start) : Error{};
}

}  // namespace

CarryOverNames carryOverNames(std::string_view source) {
  const std::string tail = carryOverName("kestro_lastgame_1_", source);
  return {tail, tail + "-new"};
}

int run(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fputs("\nInvalid arguments\n", stdout);
    std::fputs("usage: ks-preparse source.log target.log\n", stdout);
    return exitStatusZeroOrOne(Failure::kUsage);
  }
  const bool carry_over = argc == 4 && std::strcmp(argv[3], "1") == 0;
  const char* source_name = argv[1];
  const char* target_name = argv[2];

  // Both are opened before either is checked: an unreadable source leaves
  // an empty target, which its readers take for a log without games.
  File source(source_name, false);
  File target(target_name, true);
  std::uint64_t source_size = 0;
  const bool source_is_file = source.isRegular(&source_size);
  if (!source_is_file || !target.isOpen()) {
    const Error& error = !source_is_file ? kOpenToReadError : kOpenToWriteError;
    std::fputs(error.message.c_str(), stdout);
    return exitStatusZeroOrOne(error.failure);
  }
  // Only a file this run made is removed again, never a device.
  const bool target_is_file = target.isRegular();

  const Error error = convert(carryOverNames(source_name), source, source_size, target, carry_over);
  if (error.failed()) {
    std::fputs(error.message.c_str(), stdout);
    if (target_is_file) std::remove(target_name);
  }
  return exitStatusZeroOrOne(error.failure);
}

}  // namespace preparse
