// Checked file operations for the steps that must never lose data: every
// write, flush and close is checked, and files that replace others are
// written under a temporary name and renamed into place.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace season {

// Size of a file in bytes; -1 when it does not exist or is no regular file.
long long fileSize(const std::string& path);

// Copies what is still unread in `from` to `to`, adding the bytes copied to
// `copied`. False on a read or write error.
bool copyStream(std::FILE* from, std::FILE* to, long long& copied);

// Flushes the stream, has the system write it to the disk and closes it.
// False when any step failed; the stream is closed either way.
bool closeSynced(std::FILE* file);

// Replaces `to` with a copy of `from` (an empty file when `from` does not
// exist), through a temporary file renamed into place. False on failure;
// `to` is then unchanged.
bool copyFileReplacing(const std::string& from, const std::string& to);

// Replaces the file at `path` with `content`: written under a temporary name,
// synced, renamed into place and the folder synced, so that after a crash the
// file holds either all of the old content or all of the new. False on
// failure; the file is then unchanged.
bool replaceFile(const std::string& path, std::string_view content);

// Reads a whole file into `content`. False when it cannot be read.
bool readWholeFile(const std::string& path, std::string& content);

// Has the system write the folder that holds `path` (a rename in it) to the
// disk. False when that failed.
bool syncFolderOf(const std::string& path);

// True when the file at `path` begins (ends) with the whole content of the
// file at `part`. False when either cannot be read.
bool fileStartsWith(const std::string& path, const std::string& part);
bool fileEndsWith(const std::string& path, const std::string& part);

}  // namespace season
