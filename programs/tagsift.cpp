#include "tagsift.h"

#include <cstdio>
#include <fstream>
#include <optional>

#include "candidates.h"
#include "name_list.h"
#include "name_store.h"
#include "options.h"
#include "run_status.h"
#include "tag_filter.h"

namespace tagsift {

namespace {

// Writes the qualifying candidates into a fresh intermediate file; it is
// truncated rather than appended to, so that the leftovers of an interrupted
// run cannot turn up as tags. Returns the number written, or nothing (after
// its message) when the file cannot be written.
std::optional<int> writeIntermediate(const NameStore& names, int minMatches) {
  std::ofstream out(kIntermediateFile, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::printf("Unable to open temporary file: %s.\n", kIntermediateFile);
    return std::nullopt;
  }
  const int found = writeCandidates(names, minMatches, out);
  out.close();
  if (!out) {
    std::printf("Unable to write temporary file: %s.\n", kIntermediateFile);
    std::remove(kIntermediateFile);
    return std::nullopt;
  }
  return found;
}

// Filters the intermediate file into the tag file (appended to, or replaced
// when `overwrite`). Returns the number of tags written, or nothing (after
// its message) when the tag file cannot be opened or written to the end.
std::optional<int> filterIntoOutput(const Options& options) {
  std::ifstream in(kIntermediateFile, std::ios::binary);
  const auto mode = std::ios::binary | (options.overwrite ? std::ios::trunc : std::ios::app);
  std::ofstream out(options.outputFile, mode);
  if (!out) {
    std::printf("Unable to open output file: %s.\n", options.outputFile.c_str());
    return std::nullopt;
  }
  const int written = filterCandidates(in, out);
  out.close();
  if (!out) {
    std::printf("Unable to write output file: %s.\n", options.outputFile.c_str());
    return std::nullopt;
  }
  return written;
}

}  // namespace

int run(int argc, const char* const* argv) {
  Options options;
  if (!readOptions(argc, argv, options)) return 0;

  NameStore names(options.minLength);
  if (!readNameList(names, options.normalList, options.silent)) return 0;
  startReversedList(names);
  if (!readNameList(names, options.reversedList, options.silent)) return 0;

  // A tag file that could not be written is a failure the caller must see;
  // everything else ends with status 0.
  const std::optional<int> found = writeIntermediate(names, options.minMatches);
  if (!found) return exitStatusZeroOrOne(Failure::kWrite);
  names = NameStore(options.minLength);  // the names are no longer needed; free them before filtering
  if (!options.silent) std::printf("Tags Found: %d\n", *found);

  const std::optional<int> filtered = filterIntoOutput(options);
  std::remove(kIntermediateFile);
  if (!filtered) return exitStatusZeroOrOne(Failure::kWrite);
  if (!options.silent) std::printf("Final Tag Count (Filtered): %d\n", *filtered);
  return exitStatusZeroOrOne(Failure::kNone);
}

}  // namespace tagsift
