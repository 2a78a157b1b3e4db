// Reading a name list into the candidate index.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "candidate_index.h"

namespace tagsift {

// Lines are read in pieces of at most this many bytes including the
// terminating zero: a longer line arrives as several names.
constexpr std::size_t kLineLimit = 255;
static_assert(kLineLimit - 1 < kMaxCandidateLength, "every prefix of a name fits a candidate");

// Cuts `line` at the first carriage return or line feed among its last five
// characters. A line break earlier in the text is kept: only the line end is
// meant.
void stripLineEnd(std::string& line);

// Reads the next name from `in`: at most kLineLimit - 1 bytes, up to and
// including a line feed, then the text before any zero byte, with its line
// end cut. Returns false at the end of the file.
bool readName(std::FILE* in, std::string& name);

// Adds every prefix of `name` whose length is at least `minLength` (and at
// least 1: an empty text is no tag) and less than the name's length.
void addNamePrefixes(CandidateIndex& index, const std::string& name, int minLength, Origin origin);

// Adds the prefixes of every name in the file at `path`, printing the
// "Reading File" progress unless `silent`. When the file cannot be opened it
// prints "Unable to open player file" (in silent mode too, as it ends the
// run) and returns false.
bool readNameList(CandidateIndex& index, const std::string& path, int minLength, Origin origin, bool silent);

}  // namespace tagsift
