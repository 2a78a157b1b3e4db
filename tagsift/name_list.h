// Reading a name list into the name store.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "name_store.h"

namespace tagsift {

// Lines are read in pieces of at most this many bytes including the
// terminating zero: a longer line arrives as several names.
constexpr std::size_t kLineLimit = 255;
static_assert(kLineLimit - 1 <= kLongestName, "the store keeps every name whole");

// Cuts `line` at the first carriage return or line feed among its last five
// characters. A line break earlier in the text is kept: only the line end is
// meant.
void stripLineEnd(std::string& line);

// Reads the next name from `in`: at most kLineLimit - 1 bytes, up to and
// including a line feed, then the text before any zero byte, with its line
// end cut. Returns false at the end of the file.
bool readName(std::FILE* in, std::string& name);

// Adds every name in the file at `path` to `store`, printing the "Reading
// File" progress unless `silent`. When the file cannot be opened it prints
// "Unable to open player file" (in silent mode too, as it ends the run) and
// returns false.
bool readNameList(NameStore& store, const std::string& path, bool silent);

}  // namespace tagsift
