#include "run_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace season {

namespace {

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

QuietOutput::~QuietOutput() {
  if (real_fd_ >= 0) close(real_fd_);
}

bool QuietOutput::silence() {
  std::fflush(stdout);
  int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (null < 0) return false;
  real_fd_ = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  bool ok = real_fd_ >= 0 && dup2(null, STDOUT_FILENO) >= 0;
  close(null);
  return ok;
}

bool QuietOutput::onTerminal() const { return real_fd_ >= 0 && isatty(real_fd_) == 1; }

bool QuietOutput::writeLine(const std::string& line) const {
  return writeAll(real_fd_ >= 0 ? real_fd_ : STDOUT_FILENO, line + "\n");
}

void ProgressLine::gameCounted(std::FILE* input) {
  ++games_;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_shown_ < std::chrono::milliseconds(500)) return;
  last_shown_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? games_ / seconds : 0;
  char text[160];
  int n = std::snprintf(text, sizeof text, "\r counted %d games, %.0f games/s", games_, rate);
  struct stat info;
  const long long at = input != nullptr ? static_cast<long long>(ftello(input)) : -1;
  if (at > 0 && fstat(fileno(input), &info) == 0 && info.st_size > at) {
    const double left = seconds * static_cast<double>(info.st_size - at) / static_cast<double>(at);
    n += std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ", about %.0f s left", left);
  }
  std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "   ");
  shown_ = writeAll(fd_, text) || shown_;
}

void ProgressLine::finish() {
  if (shown_) writeAll(fd_, "\r" + std::string(70, ' ') + "\r");
}

}  // namespace season
