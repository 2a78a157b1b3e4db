#include "run_summary.h"

#include <cstdio>
#include <cstdlib>

#include "text.h"

RunClock RunClock::start() {
  RunClock clock;
  clock.cpu_start = std::clock();
  clock.wall_start = std::time(nullptr);
  clock.start_text = std::ctime(&clock.wall_start);
  return clock;
}

std::time_t outputTime(std::time_t now) {
  const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
  if (fixed == nullptr || *fixed == '\0') return now;
  char* end = nullptr;
  long long seconds = std::strtoll(fixed, &end, 10);
  if (*end != '\0' || seconds < 0) return now;
  return static_cast<std::time_t>(seconds);
}

void waitForProcessorSecond() {
  while (static_cast<double>(std::clock()) / CLOCKS_PER_SEC <= 1.0) {
  }
}

void printBanner(const char* title) {
  std::printf("\n%s\n", kRule);
  std::printf("%s\n", title);
  std::printf("%s\n\n", kRule);
}

void printRunSummary(const RunClock& clock, const char* title, int logs, int games) {
  std::time_t wall_end = std::time(nullptr);
  std::string end_text = std::ctime(&wall_end);
  int elapsed = static_cast<int>(std::difftime(wall_end, clock.wall_start));
  std::printf("\n%s\n", kRule);
  std::printf("%s\n", title);
  std::printf("                   \" feel da jungle vibe bebe! \"\n");
  std::printf("%s\n", kRule);
  // The reader keeps no scratch texts (every name is a view into its line),
  // so the largest number of them alive at once is 0.
  std::printf("      max mallocs: %d\n", 0);
  if (logs >= 0) std::printf("   logs processed: %d\n", logs);
  std::printf("  games processed: %d\n", games);
  std::printf("         cpu time: %lf seconds\n",
              static_cast<double>(std::clock() - clock.cpu_start) / CLOCKS_PER_SEC);
  std::printf("       start time: %s", clock.start_text.c_str());
  std::printf("         end time: %s", end_text.c_str());
  std::printf("     elapsed time: %dh", elapsed / 3600);
  std::printf(" %dm", elapsed % 3600 / 60);
  std::printf(" %ds\n", elapsed % 60);
  std::printf("%s\n\n", kRule);
}
