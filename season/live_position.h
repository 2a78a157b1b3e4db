// How far a server's live log has been read, and where its unread lines are
// now.
//
// The live log is never changed by a run: the server appends to it, and the
// season remembers the offset of the first byte it has not read yet (always
// just after a line end), with the file's identity (device and inode) and the
// SHA-256 of the bytes just before the offset (up to kWindowBytes). The next
// run checks those bytes before it trusts the offset, so that it notices
// what happened to the log in between:
//   - the server went on appending (also after a restart, which reopens the
//     log for appending): the bytes match, reading goes on at the offset;
//   - the log was rotated (renamed, a new one started): a file beside it
//     whose name begins with the log's name holds the remembered bytes; its
//     rest is read first, then the new log from its start;
//   - the log was truncated or replaced and no rotated copy holds the
//     remembered bytes: the log is read from its start (what was written
//     after the last run and before the truncation is gone with it).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace season {

constexpr long long kWindowBytes = 64 * 1024;

struct LivePosition {
  std::string log;          // the live log's absolute path (whose position this is)
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  long long offset = 0;     // first unread byte of the file
  std::string window_sum;   // SHA-256 of the up to kWindowBytes bytes before `offset`

  // One line of text; parsePosition() reads it back.
  std::string text() const;
};

// The position in `text`, or nothing when it is not one (damaged).
std::optional<LivePosition> parsePosition(const std::string& text);

// The position just after `offset` bytes of the file at `path` (which must
// hold them): identity and window read from the file. Nothing when the file
// cannot be read.
std::optional<LivePosition> positionIn(const std::string& log, const std::string& path, long long offset);

// Where the unread lines of a live log are: first the rest of a rotated
// copy (when `rotated` is not empty), from `rotated_from` to its end, then
// the live log from `live_from`.
struct UnreadPart {
  std::string rotated;
  long long rotated_from = 0;
  long long live_from = 0;
  // What was found out about the log, for the run's output ("" when the
  // server only appended).
  std::string note;
};

// Finds the unread part of the live log at `path` after `last` (the log's
// start when there is none).
UnreadPart locateUnread(const std::string& path, const std::optional<LivePosition>& last);

}  // namespace season
