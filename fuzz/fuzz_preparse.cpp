// ks-preparse: every input is used four ways.
// 1. The translators alone: each line, its line end cut, goes through
//    translateLine() with the input as the stream being read (the weapon
//    statistics reader takes its following rows from it).
// 2. A whole run of the driver on the input as the source log.
// 3. Two runs in carry-over mode on the same source, so that the second one
//    joins the tail the first left behind.
// 4. The input as a live log that the season driver empties after every run:
//    cut into pieces at offsets taken from the input itself, one carry-over
//    run per piece. Over all runs the targets must be those of one carry-over
//    run over the whole input, and the last tail the one that run leaves;
//    when the input ends with its line end (and holds no NUL byte, which ends
//    a line's text early), one normal run must write the same. A difference
//    aborts the input.
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "clients.h"
#include "driver.h"
#include "events.h"
#include "fuzz_support.h"
#include "run_state.h"
#include "text.h"

namespace {

constexpr const char* kSource = "source.log";

void translateAllLines() {
  preparse::resetRunState();
  preparse::fp_now = std::fopen(kSource, "rb");
  preparse::fp_out = std::fopen("translated.log", "wb");
  FixedText line;
  while (preparse::nextLine(line)) {
    stripNewLineChars(line);
    preparse::translateLine(line);
  }
  fpclose(preparse::fp_now);
  fpclose(preparse::fp_out);
}

int runConverter(std::string source, std::string target, bool carry_over) {
  char program[] = "ks-preparse";
  char one[] = "1";
  char* argv[] = {program, source.data(), target.data(), one, nullptr};
  int status = preparse::run(carry_over ? 4 : 3, argv);
  return status;
}

std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
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

void checkPiecesAgainstOneRun(std::string_view input) {
  ksfuzz::writeFile("whole.log", input);
  runConverter("whole.log", "whole.out", true);
  const std::string whole = readFile("whole.out");
  const std::string whole_tail = readFile("kestro_lastgame_1_whole.log");

  std::string pieces;
  std::size_t from = 0;
  std::vector<std::size_t> cuts = cutsFor(input);
  cuts.push_back(input.size());
  for (std::size_t cut : cuts) {
    ksfuzz::writeFile("live.log", input.substr(from, cut - from));
    runConverter("live.log", "live.out", true);
    pieces += readFile("live.out");
    from = cut;
  }
  if (pieces != whole || readFile("kestro_lastgame_1_live.log") != whole_tail) __builtin_trap();

  if (!input.empty() && input.back() == '\n' && input.find('\0') == std::string_view::npos) {
    runConverter("whole.log", "normal.out", false);
    if (readFile("normal.out") != whole) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun run;
  const std::string_view input = ksfuzz::inputText(data, size);
  ksfuzz::writeFile(kSource, input);
  translateAllLines();
  runConverter(kSource, "target.log", false);
  runConverter(kSource, "target.log", true);
  runConverter(kSource, "target.log", true);
  checkPiecesAgainstOneRun(input);
  return 0;
}
