// kestrostats-s's line pipeline: the input is a whole log, read through the
// season's readLog() from a file in the scratch directory. The pre-command
// is "#", so every command the season driver builds (mysql, the
// pre-parser) is a shell comment; no command is started at all (see
// fuzz_support.h), and each one is checked to keep that form: a command
// that does not start with the pre-command would run something for real.
// A server log is converted in this process and its converted form read
// on, as the program does.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "game_state.h"
#include "players.h"
#include "season_config.h"
#include "season_parsing.h"
#include "season_run.h"
#include "text.h"

namespace {

constexpr const char* kLog = "input.log";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  ksfuzz::ScratchRun run;
  ksfuzz::writeFile("s-fuzz.cfg",
                    "pre_command:\n#\n"
                    "db_host:\nlocalhost\n"
                    "db_name:\nkestro_fuzz\n"
                    "db_user:\nfuzz\n");
  season::g_config.assign("s-fuzz.cfg");
  season::readConfig();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun run;
  ksfuzz::writeFile(kLog, ksfuzz::inputText(data, size));

  // A fresh log, as processLog() starts it.
  g_logfile.assign(kLog);
  g_log_type = 0;
  g_game_count = kFirstGameCount;
  freeMallocs();
  initPlayers();
  season::initGlobals();

  fp = std::fopen(kLog, "rb");
  season::SeasonRun season_run;
  season::readLog(season_run);

  fpclose(fp);
  freeMallocs();

  for (const std::string& command : ksfuzz::commandsRun()) {
    if (command.rfind("# ", 0) != 0) {
      std::fprintf(stderr, "command outside the pre-command form: %s\n", command.c_str());
      std::abort();
    }
  }
  return 0;
}
