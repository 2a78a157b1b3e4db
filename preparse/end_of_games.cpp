#include "end_of_games.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "line_reader.h"
#include "line_text.h"

namespace preparse {

namespace {

constexpr std::size_t kWindow = 64 * 1024;

// Follows the pieces of one physical line, from its start, and remembers
// where the handling of its "ShutdownGame:" pieces ends.
class LinePieces {
 public:
  explicit LinePieces(std::uint64_t start) : at_(start) {}

  void add(const Piece& piece) {
    at_ += piece.length;
    const bool cut = isCutPiece(piece.text);
    if (!continuation_) {
      last_starts_shutdown_ = isEvent(piece.text, "ShutdownGame:");
      if (last_starts_shutdown_) {
        // The main loop stops after the line, but takes the pieces that
        // continue it: they are no line of the next run.
        earlier_end_ = end_;
        end_ = at_;
        extending_ = cut;
      }
    } else if (extending_) {
      end_ = at_;
      extending_ = cut;
    }
    continuation_ = cut;
    last_ended_ = !piece.text.empty() && piece.text.back() == '\n';
  }

  // The end of the line's last counted "ShutdownGame:" handling, 0 when it
  // holds none. `last_of_input` with `count_unfinished` false leaves out a
  // final one that the input's last piece leaves without its line end.
  std::uint64_t end(bool last_of_input, bool count_unfinished) const {
    if (last_of_input && !count_unfinished && last_starts_shutdown_ && !last_ended_) return earlier_end_;
    return end_;
  }

 private:
  std::uint64_t at_;
  std::uint64_t end_ = 0;
  std::uint64_t earlier_end_ = 0;
  bool extending_ = false;
  bool continuation_ = false;
  bool last_starts_shutdown_ = false;
  bool last_ended_ = false;
};

// A window of the input, moved backwards line by line.
class BackwardScan {
 public:
  explicit BackwardScan(const LogInput& input) : input_(input) {
    if (const std::string_view* bytes = input.inMemory()) {
      // The whole input is the window, and never moves.
      window_ = bytes->data();
      window_end_ = bytes->size();
      return;
    }
    // A small input gets a small window.
    window_size_ = static_cast<std::size_t>(std::clamp<std::uint64_t>(input.size(), 1, kWindow));
    storage_.reset(new char[window_size_]);
    window_ = storage_.get();
  }

  bool failed() const { return failed_; }

  // The start of the physical line whose last byte is at `end` - 1.
  std::uint64_t lineStart(std::uint64_t end) {
    if (!(window_start_ < end && end <= window_end_)) load(end);
    if (const std::uint64_t start = searchWindow(end - 1); start != kNotFound) return start;
    if (window_end_ != end && window_start_ > 0) {
      load(end);  // the window held only part of what lies before the line end
      if (const std::uint64_t start = searchWindow(end - 1); start != kNotFound) return start;
    }
    // A line longer than the window: on backwards, chunk by chunk.
    while (window_start_ > 0 && !failed_) {
      load(window_start_);
      if (const std::uint64_t start = searchWindow(window_end_); start != kNotFound) return start;
    }
    return 0;
  }

  // The bytes [start, end) when the window holds them, else an empty view.
  std::string_view held(std::uint64_t start, std::uint64_t end) const {
    if (start < window_start_ || end > window_end_) return {};
    return {window_ + (start - window_start_), static_cast<std::size_t>(end - start)};
  }

 private:
  static constexpr std::uint64_t kNotFound = ~std::uint64_t{0};

  // Makes the window the window_size_ bytes (or fewer at the input's start)
  // that end at `end`.
  void load(std::uint64_t end) {
    if (storage_ == nullptr) return;  // the input in memory: the window holds it all
    window_start_ = end > window_size_ ? end - window_size_ : 0;
    window_end_ = end;
    if (!input_.read(window_start_, storage_.get(), static_cast<std::size_t>(end - window_start_))) {
      failed_ = true;
      window_start_ = window_end_ = 0;
    }
  }

  // The start of the line after the window's last line feed before `limit`;
  // kNotFound when there is none and the window does not begin the input.
  std::uint64_t searchWindow(std::uint64_t limit) const {
    if (failed_) return 0;
    const std::size_t length = static_cast<std::size_t>(limit - window_start_);
    const void* line_feed = memrchr(window_, '\n', length);
    if (line_feed != nullptr) return window_start_ + (static_cast<const char*>(line_feed) - window_) + 1;
    return window_start_ == 0 ? 0 : kNotFound;
  }

  const LogInput& input_;
  std::size_t window_size_ = 0;
  std::unique_ptr<char[]> storage_;
  const char* window_ = nullptr;  // storage_, or the input itself when it is in memory
  std::uint64_t window_start_ = 0;
  std::uint64_t window_end_ = 0;
  bool failed_ = false;
};

// The pieces of the line [start, end), from the window or, for a line
// longer than the window, read anew.
LinePieces walkLine(const LogInput& input, const BackwardScan& scan, std::uint64_t start, std::uint64_t end,
                    bool& read_failed) {
  LinePieces pieces(start);
  std::string_view bytes = scan.held(start, end);
  if (!bytes.empty()) {
    while (!bytes.empty()) {
      const Piece piece = cutPiece(bytes);
      pieces.add(piece);
      bytes.remove_prefix(piece.length);
    }
    return pieces;
  }
  LineReader reader(input, start, end);
  std::string_view text;
  while (reader.nextLine(text)) pieces.add({reader.lineLength(), text});
  read_failed = reader.failed();
  return pieces;
}

}  // namespace

EndOfGames findEndOfGames(const LogInput& input, bool count_unfinished_last) {
  BackwardScan scan(input);
  bool read_failed = false;
  std::uint64_t end = input.size();
  for (bool last = true; end > 0; last = false) {
    const std::uint64_t start = scan.lineStart(end);
    if (scan.failed()) return {0, true};
    const LinePieces pieces = walkLine(input, scan, start, end, read_failed);
    if (read_failed) return {0, true};
    if (const std::uint64_t found = pieces.end(last, count_unfinished_last); found != 0) return {found, false};
    end = start;
  }
  return {0, false};
}

}  // namespace preparse
