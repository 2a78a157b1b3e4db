// kestrostats-s's line pipeline: the input is a whole log, read through the
// season's readLog() from memory. The pre-command is "#", so every command
// the season driver builds (mysql, the pre-parser) is a shell comment; no
// command is started at all (see fuzz_support.h), and each one is checked to
// keep that form: a command that does not start with the pre-command would
// run something for real. A log that holds a server's "InitGame: " line is
// written to the scratch directory first: it is converted by the pre-parser
// in this process and its converted form read on, as the program does.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_support.h"
#include "players.h"
#include "season_config.h"
#include "line_pipeline.h"
#include "season_parsing.h"
#include "season_run.h"

namespace {

constexpr const char* kLog = "input.log";

season::SeasonConfig fuzzConfig() {
  season::SeasonConfig config;
  config.pre_command.assign("#");
  config.db_host.assign("localhost");
  config.db_name.assign("kestro_fuzz");
  config.db_user.assign("fuzz");
  return config;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun scratch;
  std::string_view text = ksfuzz::inputText(data, size);
  static const season::SeasonConfig config = fuzzConfig();

  // A fresh log, as the season driver starts it. (One run object serves
  // every input: its player table is large.)
  static season::SeasonRun s(config);
  s.run = Run{};
  s.log_failed = false;
  initPlayers(*s.game);
  initGame(*s.game);
  s.run.logfile.assign(kLog);
  if (text.find("InitGame: ") != std::string_view::npos) {
    ksfuzz::writeFile(kLog, text);
    s.run.log = std::fopen(kLog, "rb");
  } else if (!text.empty()) {
    s.run.log = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
  }
  season::readLog(s);
  fpclose(s.run.log);

  for (const std::string& command : ksfuzz::commandsRun()) {
    if (command.rfind("# ", 0) != 0) {
      std::fprintf(stderr, "command outside the pre-command form: %s\n", command.c_str());
      std::abort();
    }
  }
  return 0;
}
