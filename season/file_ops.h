// Checked file operations for the steps that must never lose data: every
// write, flush and close is checked, and files that replace others are
// written under a temporary name, synced and renamed into place (through
// the FileSystem of file_system.h).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "file_system.h"

namespace season {

// Size of a file in bytes; -1 when it does not exist or is no regular file.
long long fileSize(const std::string& path);

// Copies what is still unread in `from` to `to`, adding the bytes copied to
// `copied`. False on a read or write error.
bool copyStream(std::FILE* from, std::FILE* to, long long& copied);

// Replaces `to` with a copy of `from` (an empty file when `from` cannot be
// opened), as replaceFile() does. False on failure; `to` is then unchanged.
bool copyFileReplacing(const std::string& from, const std::string& to,
                       FileSystem& file_system = realFileSystem());

// Replaces the file at `path` with `content`: written under a temporary name,
// synced, renamed into place and the folder synced, so that after a crash the
// file holds either all of the old content or all of the new. False on
// failure; the file is then unchanged.
bool replaceFile(const std::string& path, std::string_view content, FileSystem& file_system = realFileSystem());

// Reads a whole file into `content`. False when it cannot be read.
bool readWholeFile(const std::string& path, std::string& content);

// True when the file at `path` begins (ends) with the whole content of the
// file at `part`. False when either cannot be read.
bool fileStartsWith(const std::string& path, const std::string& part);
bool fileEndsWith(const std::string& path, const std::string& part);

}  // namespace season
