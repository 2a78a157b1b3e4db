#include "system_clock.h"

namespace cvarsmith {

std::tm SystemClock::localNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

}  // namespace cvarsmith
