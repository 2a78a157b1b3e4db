// ks-preparse: every input is used three ways.
// 1. The translators alone: each line, its line end cut, goes through
//    translateLine() with the input as the stream being read (the weapon
//    statistics reader takes its following rows from it).
// 2. A whole run of the driver on the input as the source log.
// 3. Two runs in carry-over mode on the same source, so that the second one
//    joins the tail the first left behind.
#include <cstdint>

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
    freeMallocs();
    stripNewLineChars(line);
    preparse::translateLine(line);
  }
  fpclose(preparse::fp_now);
  fpclose(preparse::fp_out);
  freeMallocs();
}

int runDriver(bool carry_over) {
  char program[] = "ks-preparse";
  char source[] = "source.log";
  char target[] = "target.log";
  char one[] = "1";
  char* argv[] = {program, source, target, one, nullptr};
  int status = preparse::run(carry_over ? 4 : 3, argv);
  freeMallocs();
  return status;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun run;
  ksfuzz::writeFile(kSource, ksfuzz::inputText(data, size));
  translateAllLines();
  runDriver(false);
  runDriver(true);
  runDriver(true);
  return 0;
}
