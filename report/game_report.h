// A game's report from start to finish: both pages built into a Report,
// then written.
//
// writePages() writes each page to "html/<name>.part", renames both into
// place when both are complete, and only then appends the two rotation
// statements. A visitor, or the season's rotation, never sees a page cut
// short; a game whose pages cannot be written leaves neither page nor
// statement behind.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

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

// The files of one game as writePages() writes them, held apart from the
// Report (which reads the game table, cleared for the next game): the main
// page first, then the weapon page and the JSON file when there are any.
struct GameFiles {
  int number = 0;                                          // the game's number
  std::vector<std::pair<std::string, std::string>> files;  // name in html/, content
  const std::string& mainPage() const { return files.front().first; }
  std::size_t bytes() const {
    std::size_t n = 0;
    for (const auto& file : files) n += file.second.size();
    return n;
  }
};
GameFiles gameFiles(const Report& r);

// writePages() for files taken earlier (with a null `rotation`, the files
// alone).
PageResult writeGameFiles(const GameFiles& game, std::FILE* rotation, FileSystem& file_system = realFileSystem());

// Appends the rotation statements of game `number`, whose main page is
// `main_page`, to `rotation` (when not null). False, named on standard
// error, when the file could not be written.
bool appendRotationStatements(const std::string& main_page, int number, std::FILE* rotation);
