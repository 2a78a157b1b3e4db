#include "crash_point.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace season {

void crashPoint(const char* step) {
  static const char* const kill_at = std::getenv("KS_KILL_AT");
  if (kill_at == nullptr || std::strcmp(kill_at, step) != 0) return;
  std::fflush(nullptr);
  std::raise(SIGKILL);
}

}  // namespace season
