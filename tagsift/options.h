// The TagSift command line: settings, their defaults, and the help text.
#pragma once

#include <string>

namespace tagsift {

struct Options {
  std::string normalList = "players.txt";      // -i: names as written, ascending
  std::string reversedList = "players-r.txt";  // -r: names written backwards, ascending
  std::string outputFile = "tags.txt";         // -o: tags, one per line
  int minLength = 6;                           // -l: a tag has at least this many characters
  int minMatches = 4;                          // -m: a tag begins more than this many names
  bool overwrite = false;                      // -w: replace the output instead of appending
  bool silent = false;                         // -s: no progress output
};

// Reads the arguments left to right into `options`, printing each setting as
// it is read unless silent mode is on by then (so "-s" silences only the
// options after it). Unknown arguments are skipped; an option that needs a
// value but stands last ends the reading. Returns false when "-?" was read:
// the help text has then been printed and the program should end.
bool readOptions(int argc, const char* const* argv, Options& options);

// Prints the help text to standard output.
void printHelp();

}  // namespace tagsift
