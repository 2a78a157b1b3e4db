#include "kestrostats_c.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "console_run.h"
#include "run_summary.h"

namespace {

constexpr const char* kTitle = "              kestro stats - the project's contributors (c) 2001";

void printVersion() {
  std::printf("\nKestro Stats (c) ");
  std::printf("version 4.32");
  std::printf("\n  statistics for Quake III Arena OSP servers, by the project's contributors\n");
}

enum class CommandLine {
  kRun,          // a log to read
  kVersionShown, // -v: the version was printed, nothing more to do
  kWrong,        // the usage or the fault was printed
};

// Reads the command line into the run and the configuration path.
CommandLine readCommandLine(ConsoleRun& c, int argc, char** argv) {
  int args = argc - 1;
  if (args == 1 && std::string_view(argv[1]) == "-v") {
    printVersion();
    return CommandLine::kVersionShown;
  }
  if (args < 1 || args > 3) {
    std::printf("usage: kestrostats(xx)-c logfile.log <config-file.cfg>\n");
    return CommandLine::kWrong;
  }
  c.run.realtime_stats = args == 3 && std::string_view(argv[3]) == "realtime";
  c.config.path.assign("c-default.cfg");
  if (args == 2) {
    if (!contains(toLowerCase(argv[2]), ".cfg")) {
      std::printf("ERROR: config file must have a .cfg extension\n");
      return CommandLine::kWrong;
    }
    c.config.path.assign(argv[2]);
  }
  c.run.logfile.assign(argv[1]);
  return CommandLine::kRun;
}

// The season names its rotation's slot count in KS_KEPT_PAGES (see
// ConsoleRun::kept_pages); anything but a count up to 100000 is no count.
int keptPagesOf(const char* text) {
  if (text == nullptr || *text == '\0' || std::strlen(text) > 6) return 0;
  for (const char* at = text; *at != '\0'; ++at) {
    if (*at < '0' || *at > '9') return 0;
  }
  const int count = std::atoi(text);
  return count <= 100000 ? count : 0;
}

void setTimeNow(Run& run, std::time_t now) {
  char text[kTextBufferSize];
  std::strftime(text, sizeof text, "%Y-%m-%d,%H-%M-%S", std::localtime(&now));
  run.time_now.assign(text);
}

// Closes the log and the rotation file, which fails the run when it could
// not be written to its end.
void closeFiles(ConsoleRun& c) {
  fpclose(c.run.log);
  const bool closed = c.rotation == nullptr || std::fclose(c.rotation) == 0;
  c.rotation = nullptr;
  if (!closed) c.status.fail(Failure::kWrite, "could not write db_sql_gamestats.txt");
}

}  // namespace

int kestrostatsC(int argc, char** argv) {
  RunClock clock = RunClock::start();
  ConsoleRun c;
  setTimeNow(c.run, outputTime(clock.wall_start));

  switch (readCommandLine(c, argc, argv)) {
    case CommandLine::kRun:
      break;
    case CommandLine::kVersionShown:
      return exitStatusZeroOrOne(Failure::kNone);
    case CommandLine::kWrong:
      return exitStatusZeroOrOne(Failure::kUsage);
  }
  printBanner(kTitle);
  if (const Error refused = readConfig(c.config); refused.failed()) {
    printError(refused.message);
    return exitStatusZeroOrOne(refused.failure);
  }
  c.site = loadSiteFiles(c.config);
  c.kept_pages = keptPagesOf(std::getenv("KS_KEPT_PAGES"));
  waitForProcessorSecond();

  c.rotation = std::fopen("db_sql_gamestats.txt", "a");
  c.run.log = openInputFile(c.run.logfile.c_str());
  if (c.run.log == nullptr) {
    const std::string message = "could not open logfile \"" + std::string(c.run.logfile.view()) + "\"";
    std::printf("ERROR: %s\n", message.c_str());
    c.status.fail(Failure::kLog, message);
    closeFiles(c);
    return exitStatusZeroOrOne(c.status.first());
  }
  std::printf("\n%s\n", kRule);
  std::printf("                   Generating Stats, Please wait...\n");
  std::printf("%s\n\n", kRule);

  readLog(c);

  if (!c.stopped) {
    if (c.run.game_count == kFirstGameCount) std::printf("No games were detected in the log file.\n");
  }
  cleanUpTempFiles();
  if (!c.stopped) printRunSummary(clock, kTitle, -1, c.run.game_count - kFirstGameCount);
  closeFiles(c);
  return exitStatusZeroOrOne(c.status.first());
}
