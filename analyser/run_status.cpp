#include "run_status.h"

#include <cstdio>

void printError(std::string_view message) {
  std::fflush(stdout);
  std::fprintf(stderr, "ERROR: %.*s\n", static_cast<int>(message.size()), message.data());
}

void RunStatus::fail(Failure failure, std::string_view message) {
  printError(message);
  record(failure);
}

void RunStatus::record(Failure failure) {
  if (first_ == Failure::kNone) first_ = failure;
}
