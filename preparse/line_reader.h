// The one reader through which every line of a run's input is taken.
//
// Lines are read as a C reader with a 510-byte buffer reads them: a piece is
// at most 509 bytes and ends after its line feed; a longer physical line
// arrives in several pieces. A piece's text ends at its first NUL byte, so
// the bytes after a NUL are in no text; the piece still takes them from the
// input.
//
// Every piece after the first of a physical line is a continuation: its
// text begins somewhere inside the line, so it must never be taken for an
// event. (After a piece whose text ends early at a NUL byte, the next piece
// counts as a line of its own, as it always has.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "log_input.h"
#include "text.h"

namespace preparse {

struct Piece {
  std::size_t length;     // bytes the piece takes from the input
  std::string_view text;  // its text, line end kept, up to its first NUL
};

// The piece that `bytes` (not empty) begin with.
inline Piece cutPiece(std::string_view bytes) {
  const std::size_t room = bytes.size() < kMaxTextLength ? bytes.size() : kMaxTextLength;
  const void* line_feed = std::memchr(bytes.data(), '\n', room);
  const std::size_t length =
      line_feed == nullptr ? room : static_cast<std::size_t>(static_cast<const char*>(line_feed) - bytes.data()) + 1;
  const void* nul = std::memchr(bytes.data(), '\0', length);
  const std::size_t text =
      nul == nullptr ? length : static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data());
  return {length, bytes.substr(0, text)};
}

// True for a text that fills the whole 509 characters without its line end:
// its physical line goes on in the next piece.
inline bool isCutPiece(std::string_view text) {
  return text.size() == kMaxTextLength && text[kMaxTextLength - 1] != '\n';
}

class LineReader {
 public:
  // Reads the input's bytes from `begin` up to `end`. `begin` is taken as
  // the start of a line; `end` must fall between two pieces (or be the
  // input's end), so that every piece is cut as a reader of the whole input
  // cuts it.
  LineReader(const LogInput& input, std::uint64_t begin, std::uint64_t end);
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next piece's text. A line handed back with unreadLine() is returned
  // first. False at the end, also after a failed read (see failed()). The
  // text stays valid until the next call.
  bool nextLine(std::string_view& line);
  // Whether the line last returned continues the one before it.
  bool lineIsContinuation() const { return continuation_; }
  // Whether the line last returned was cut at the length limit, so that its
  // physical line goes on in the next piece.
  bool lineIsCut() const { return cut_; }
  // Hands the line last returned back, so that the next nextLine() returns
  // it again, as a continuation or not as it was. Used by readers that look
  // ahead and meet a line that belongs to the main loop.
  void unreadLine() { unread_ = true; }
  // The bytes the line last returned took from the input (its text may end
  // earlier, at a NUL byte).
  std::size_t lineLength() const { return last_length_; }
  // True once a read of the input failed; the reader then ends early.
  bool failed() const { return failed_; }

 private:
  void fill();

  const LogInput& input_;
  std::uint64_t next_;  // offset of the first input byte not yet in the buffer
  std::uint64_t end_;
  std::size_t capacity_ = 0;
  std::unique_ptr<char[]> storage_;
  const char* buffer_ = nullptr;  // storage_, or the input itself when it is in memory
  std::size_t begin_ = 0;   // bytes [begin_, filled_) are read but not taken
  std::size_t filled_ = 0;
  std::string_view last_;   // the line last returned
  std::size_t last_length_ = 0;
  bool last_continuation_ = false;
  bool unread_ = false;
  bool continuation_ = false;
  bool cut_ = false;
  bool failed_ = false;
};

}  // namespace preparse
