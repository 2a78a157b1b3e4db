// kestrostats-c's line pipeline: the input is a whole log, read through
// readLog() from a file in the scratch directory, with the default report
// settings. Games that end and qualify write their pages into html/. A log
// that turns out to be a server log is converted by the pre-parser in this
// process (see fuzz_support.h) and its converted form read on, as the
// program does.
#include <cstdint>

#include "fuzz_support.h"
#include "game_state.h"
#include "kestrostats_c.h"
#include "page_writer.h"
#include "players.h"
#include "reportconfig.h"
#include "text.h"

namespace {

constexpr const char* kLog = "input.log";

// The rotation statements are not looked at; they go to /dev/null.
std::FILE* g_rotation = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  ksfuzz::ScratchRun run;
  // An empty configuration file: every setting keeps its default.
  ksfuzz::writeFile("c-default.cfg", "");
  g_config.assign("c-default.cfg");
  readConfig();
  g_rotation = std::fopen("/dev/null", "w");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun run;
  ksfuzz::writeFile(kLog, ksfuzz::inputText(data, size));
  // Header and footer files exist, so that every page copies them in.
  ksfuzz::writeFile("c-header.html", "<html><body>\n");
  ksfuzz::writeFile("c-footer.html", "</body></html>\n");

  // A fresh run: the state kestrostatsC() starts with.
  g_logfile.assign(kLog);
  g_time_now.assign("2024-01-02,03-04-05");
  g_realtime_stats = 0;
  g_log_type = 0;
  g_mod = 0;
  g_game_count = kFirstGameCount;
  fp_sql_gamestats = g_rotation;
  freeMallocs();
  initPlayers();
  initGlobals();

  fp = std::fopen(kLog, "rb");
  readLog();

  fpclose(fp);
  fpclose(fpw);
  fp_sql_gamestats = nullptr;
  freeMallocs();
  cleanUpTempFiles();
  return 0;
}
