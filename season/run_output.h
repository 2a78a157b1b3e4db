// What a run shows its user beyond the season's own texts: a quiet mode for
// timers (-q, quiet:), in which the progress texts go nowhere and one summary
// line says what the run did (errors still reach standard error), and, for a
// quiet run on a terminal, a progress line.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace season {

class QuietOutput {
 public:
  QuietOutput() = default;
  ~QuietOutput();
  QuietOutput(const QuietOutput&) = delete;
  QuietOutput& operator=(const QuietOutput&) = delete;

  // Sends standard output (this program's and its children's) to /dev/null,
  // keeping the real one for the summary. False when it could not.
  bool silence();
  bool active() const { return real_fd_ >= 0; }
  // The real standard output is a terminal (not a pipe, a file or the journal).
  bool onTerminal() const;
  int realOutput() const { return real_fd_; }
  // Writes one line to the real standard output; false when it failed.
  bool writeLine(const std::string& line) const;

 private:
  int real_fd_ = -1;
};

// "counted 1200 games, 310 games/s, about 12 s left", rewritten in place at
// most twice a second on a terminal.
class ProgressLine {
 public:
  explicit ProgressLine(int fd) : fd_(fd), start_(std::chrono::steady_clock::now()) {}

  // A game was counted; `input` is the file being read (for the estimate).
  void gameCounted(std::FILE* input);
  // Clears the line before the summary.
  void finish();

 private:
  int fd_;
  int games_ = 0;
  bool shown_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_shown_{};
};

}  // namespace season
