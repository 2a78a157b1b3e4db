// What both drivers do around a run: the processor-time wait at the start,
// the clocks, the rule lines and the summary at the end.
#pragma once

#include <ctime>
#include <string>

// A line of 70 "-".
inline constexpr const char* kRule = "----------------------------------------------------------------------";

struct RunClock {
  std::clock_t cpu_start = 0;
  std::time_t wall_start = 0;
  std::string start_text;  // ctime form, ends in a line feed

  // The clocks as the run starts.
  static RunClock start();
};

// The time a run names its outputs by: `now`, or the time in the environment
// variable SOURCE_DATE_EPOCH (seconds since 1970) when it holds one, so that
// a run over the same input writes the same files, byte for byte.
std::time_t outputTime(std::time_t now);

// Returns once the process has used more than one second of processor time;
// every run starts with this wait.
void waitForProcessorSecond();

// The banner: a rule, the title line, a rule and an empty line.
void printBanner(const char* title);

// The run summary. `logs` is the number of logs read, shown when not
// negative; `games` the number of games processed.
void printRunSummary(const RunClock& clock, const char* title, int logs, int games);
