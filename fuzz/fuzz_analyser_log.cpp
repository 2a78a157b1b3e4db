// kestrostats-c's line pipeline: the input is a whole log, read through
// readLog() from memory, with the default report settings. Games that end
// and qualify have their pages built in memory. A log that holds a server's
// "InitGame: " line is written to the scratch directory first, since it is
// converted by the pre-parser (in this process, see fuzz_support.h) and its
// converted form read on, as the program does.
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "fuzz_support.h"
#include "console_run.h"
#include "line_pipeline.h"
#include "players.h"

namespace {

constexpr const char* kLog = "input.log";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun scratch;
  std::string_view text = ksfuzz::inputText(data, size);

  // A fresh run, as kestrostatsC() starts it, with a header and footer so
  // that every page copies them in. (One run object serves every input: its
  // player table is large, and setting it up anew is what a run does.)
  static ConsoleRun c;
  c.run = Run{};
  initPlayers(*c.game);
  initGame(*c.game);
  c.run.logfile.assign(kLog);
  c.run.time_now.assign("2024-01-02,03-04-05");
  c.site = {"<html><body>\n", "</body></html>\n"};
  c.write_pages = false;

  if (text.find("InitGame: ") != std::string_view::npos) {
    ksfuzz::writeFile(kLog, text);
    c.run.log = std::fopen(kLog, "rb");
  } else if (!text.empty()) {
    c.run.log = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
  }
  readLog(c);

  fpclose(c.run.log);
  cleanUpTempFiles();
  return 0;
}
