#include "line_reader.h"

#include <algorithm>

namespace preparse {

namespace {
// Large reads: the whole run is a walk through the input.
constexpr std::size_t kReadBuffer = 1 << 20;
}  // namespace

LineReader::LineReader(const LogInput& input, std::uint64_t begin, std::uint64_t end)
    : input_(input), next_(begin), end_(end) {
  if (const std::string_view* bytes = input.inMemory()) {
    buffer_ = bytes->data() + begin;
    filled_ = static_cast<std::size_t>(end - begin);
    next_ = end;
    return;
  }
  // A small input gets a small buffer.
  capacity_ = static_cast<std::size_t>(std::clamp<std::uint64_t>(end - begin, kMaxTextLength, kReadBuffer));
  storage_.reset(new char[capacity_]);
  buffer_ = storage_.get();
}

void LineReader::fill() {
  const std::size_t rest = filled_ - begin_;
  std::memmove(storage_.get(), storage_.get() + begin_, rest);
  begin_ = 0;
  filled_ = rest;
  const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_ - filled_, end_ - next_));
  if (count == 0) return;
  if (!input_.read(next_, storage_.get() + filled_, count)) {
    failed_ = true;
    end_ = next_;
    return;
  }
  filled_ += count;
  next_ += count;
}

bool LineReader::nextLine(std::string_view& line) {
  if (unread_) {
    unread_ = false;
    line = last_;
    continuation_ = last_continuation_;
    cut_ = isCutPiece(line);
    return true;
  }
  // A piece never runs past the buffer: at least a whole one is in it.
  if (filled_ - begin_ < kMaxTextLength && next_ < end_) fill();
  if (filled_ == begin_) return false;
  const Piece piece = cutPiece({buffer_ + begin_, filled_ - begin_});
  begin_ += piece.length;
  line = piece.text;
  continuation_ = cut_;
  cut_ = isCutPiece(line);
  last_ = line;
  last_length_ = piece.length;
  last_continuation_ = continuation_;
  return true;
}

}  // namespace preparse
