#include "options.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tagsift {

namespace {

// Leading decimal number of `text` as atoi reads it (0 when there is none),
// but held to the range of int instead of overflowing.
int decimalValue(const char* text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

void printHelp() {
  static const char* const kLines[] = {
      "",
      "TagSift: Tag Detection Algorithm (v0.6)",
      "Written by the project's contributors",
      "",
      "Options:",
      "  -?\tDisplay Help Menu",
      "  -s\tRun Silent (No Output)",
      "  -i\tSpecify Normal Input File (players.txt)",
      "  -r\tSpecify Reverse Input File (players-r.txt)",
      "  -o\tSpecify Output File (tags.txt)",
      "  -l\tSpecify Minimum Tag Length (6)",
      "  -m\tSpecify Minimum Number of Matches to Qualify (4)",
      "  -w\tOverwrite Output File",
  };
  for (const char* line : kLines) std::printf("%s\n", line);
}

bool readOptions(int argc, const char* const* argv, Options& options) {
  for (int at = 1; at < argc; ++at) {
    const char* argument = argv[at];
    if (std::strcmp(argument, "-?") == 0) {
      printHelp();
      return false;
    }
    if (std::strcmp(argument, "-s") == 0) {
      options.silent = true;
      continue;
    }
    if (std::strcmp(argument, "-w") == 0) {
      options.overwrite = true;
      if (!options.silent) std::printf("Overwrite Tag File Enabled.\n");
      continue;
    }
    const bool takesValue = std::strcmp(argument, "-i") == 0 || std::strcmp(argument, "-r") == 0 ||
                            std::strcmp(argument, "-o") == 0 || std::strcmp(argument, "-l") == 0 ||
                            std::strcmp(argument, "-m") == 0;
    if (!takesValue) continue;  // anything else is skipped
    if (at + 1 >= argc) break;  // the value is missing: stop reading
    const char* value = argv[++at];
    switch (argument[1]) {
      case 'i':
        options.normalList = value;
        if (!options.silent) std::printf("Filename: %s\n", value);
        break;
      case 'r':
        options.reversedList = value;
        if (!options.silent) std::printf("Reverse: %s\n", value);
        break;
      case 'o':
        options.outputFile = value;
        if (!options.silent) std::printf("Output File: %s\n", value);
        break;
      case 'l':
        options.minLength = decimalValue(value);
        if (!options.silent) std::printf("Min Tag Length: %d\n", options.minLength);
        break;
      case 'm':
        options.minMatches = decimalValue(value);
        if (!options.silent) std::printf("Min Tag Matches: %d\n", options.minMatches);
        break;
    }
  }
  return true;
}

}  // namespace tagsift
