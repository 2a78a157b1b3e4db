// ks-preparse: every input is used four ways, all in memory.
// 1. The translators alone: each line, its line end cut, goes through
//    translateLine() with the input as the stream being read (the weapon
//    statistics reader takes its following rows from it).
// 2. A conversion in carry-over mode of the whole input.
// 3. The input as a live log that the season driver empties after every run:
//    cut into pieces at offsets taken from the input itself, one carry-over
//    conversion per piece, each joining the tail the one before left. Over
//    all pieces the targets must be those of the conversion of the whole
//    input, and the last tail the one it leaves.
// 4. When the input ends with its line end (and holds no NUL byte, which
//    ends a line's text early), a conversion in normal mode, which must
//    write the same as in carry-over mode.
// A difference aborts the input. No file is written: the conversions run in
// memory, so the target keeps thousands of inputs a second.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversion.h"
#include "fuzz_support.h"
#include "line_reader.h"
#include "log_input.h"
#include "output.h"
#include "preparser.h"

namespace {

void translateAllLines(std::string_view bytes) {
  preparse::LogInput input;
  input.addBytes(bytes);
  preparse::LineReader reader(input, 0, input.size());
  std::string written;
  written.reserve(bytes.size());
  preparse::Output out(written);
  preparse::Preparser preparser(reader, out);
  std::string_view line;
  while (reader.nextLine(line)) {
    const std::size_t end = line.find_first_of("\r\n", line.size() > 5 ? line.size() - 5 : 0);
    preparser.translateLine(line.substr(0, end));
  }
  out.flush();
}

// Up to four cut offsets inside the input, chosen by a hash of it, so that
// the same input is always cut the same way.
std::vector<std::size_t> cutsFor(std::string_view input) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (unsigned char c : input) hash = (hash ^ c) * 1099511628211ULL;
  std::vector<std::size_t> cuts;
  if (input.size() < 2) return cuts;
  const int count = 1 + static_cast<int>(hash % 4);
  std::size_t at = 0;
  for (int i = 0; i < count; ++i) {
    hash = hash * 6364136223846793005ULL + 1442695040888963407ULL;
    at += 1 + (hash >> 33) % (input.size() / count + 1);
    if (at >= input.size()) break;
    cuts.push_back(at);
  }
  return cuts;
}

void checkPiecesAgainstOneRun(std::string_view input, const preparse::ConvertedBytes& whole) {
  std::string targets;
  std::string tail;
  std::size_t from = 0;
  std::vector<std::size_t> cuts = cutsFor(input);
  cuts.push_back(input.size());
  for (std::size_t cut : cuts) {
    preparse::ConvertedBytes piece = preparse::convertBytes(tail, input.substr(from, cut - from), true);
    targets += piece.target;
    tail = std::move(piece.tail);
    from = cut;
  }
  if (targets != whole.target || tail != whole.tail) __builtin_trap();
}

void checkNormalModeAgainstCarryOver(std::string_view input, const preparse::ConvertedBytes& whole) {
  if (input.empty() || input.back() != '\n' || input.find('\0') != std::string_view::npos) return;
  if (preparse::convertBytes({}, input, false).target != whole.target) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = ksfuzz::inputText(data, size);
  translateAllLines(input);
  const preparse::ConvertedBytes whole = preparse::convertBytes({}, input, true);
  checkPiecesAgainstOneRun(input, whole);
  checkNormalModeAgainstCarryOver(input, whole);
  return 0;
}
