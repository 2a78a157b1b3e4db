// A game's report from start to finish: both pages built into a Report,
// then written.
//
// writePages() writes each page to "html/<name>.part", renames both into
// place when both are complete, and only then appends the two rotation
// statements. A visitor, or the season's rotation, never sees a page cut
// short; a game whose pages cannot be written leaves neither page nor
// statement behind.
#pragma once

#include <cstdio>

#include "file_system.h"
#include "page_writer.h"

// Writes the whole report of the game into the Report's pages.
void makeHtml(Report& r);

enum class PageResult {
  kWritten,      // both pages in place, rotation statements appended
  kNotWritten,   // a write failed (full disk): nothing of the game is left
  kCannotOpen,   // a page file could not be created ("ERROR: couldnt open file to write")
};

// Writes the pages (and the game's JSON file when configured) to html/ and,
// when all are in place, appends the game's rotation statements to
// `rotation` (when not null). Failures are named on standard error.
PageResult writePages(const Report& r, std::FILE* rotation, FileSystem& file_system = realFileSystem());
