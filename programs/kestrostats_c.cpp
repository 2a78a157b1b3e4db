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

// Reads the command line into the run and the configuration path. Returns
// -1 to go on, or the exit status to end the program with.
int readCommandLine(ConsoleRun& c, int argc, char** argv) {
  int args = argc - 1;
  if (args == 1 && std::string_view(argv[1]) == "-v") {
    printVersion();
    return 0;
  }
  if (args < 1 || args > 3) {
    std::printf("usage: kestrostats(xx)-c logfile.log <config-file.cfg>\n");
    return 1;
  }
  c.run.realtime_stats = args == 3 && std::string_view(argv[3]) == "realtime";
  c.config.path.assign("c-default.cfg");
  if (args == 2) {
    if (!contains(toLowerCase(argv[2]), ".cfg")) {
      std::printf("ERROR: config file must have a .cfg extension\n");
      return 1;
    }
    c.config.path.assign(argv[2]);
  }
  c.run.logfile.assign(argv[1]);
  return -1;
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

// Closes the log and the rotation file; false when the rotation file could
// not be written to its end.
bool closeFiles(ConsoleRun& c) {
  fpclose(c.run.log);
  bool closed = c.rotation == nullptr || std::fclose(c.rotation) == 0;
  c.rotation = nullptr;
  if (!closed) std::fprintf(stderr, "ERROR: could not write db_sql_gamestats.txt\n");
  return closed;
}

}  // namespace

int kestrostatsC(int argc, char** argv) {
  RunClock clock = RunClock::start();
  ConsoleRun c;
  setTimeNow(c.run, outputTime(clock.wall_start));

  if (int status = readCommandLine(c, argc, argv); status >= 0) return status;
  printBanner(kTitle);
  if (!readConfig(c.config)) return 1;
  c.site = loadSiteFiles(c.config);
  c.kept_pages = keptPagesOf(std::getenv("KS_KEPT_PAGES"));
  waitForProcessorSecond();

  c.rotation = std::fopen("db_sql_gamestats.txt", "a");
  c.run.log = openInputFile(c.run.logfile.c_str());
  if (c.run.log == nullptr) {
    std::printf("ERROR: could not open logfile \"%s\"\n", c.run.logfile.c_str());
    std::fprintf(stderr, "ERROR: could not open logfile \"%s\"\n", c.run.logfile.c_str());
    closeFiles(c);
    return 1;
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
  if (!closeFiles(c)) c.failed = true;
  return c.failed ? 1 : 0;
}
