// The computer's clock, as both fronts read it (the tests use a fake).
#pragma once

#include <ctime>

#include "platform.h"

namespace cvarsmith {

class SystemClock final : public Clock {
 public:
  std::tm localNow() override;
};

}  // namespace cvarsmith
