#include "run_status.h"

#include <cstdio>

namespace season {

void RunStatus::fail(Failure failure, std::string_view message) {
  std::fflush(stdout);
  std::fprintf(stderr, "ERROR: %.*s\n", static_cast<int>(message.size()), message.data());
  if (first_ == Failure::kNone) first_ = failure;
}

}  // namespace season
