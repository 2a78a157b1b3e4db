#include "run_lock.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace season {

namespace {

constexpr const char* kLockFile = "kestrostats-s.lock";
constexpr auto kPollInterval = std::chrono::milliseconds(200);

}  // namespace

RunLock::~RunLock() {
  if (fd_ >= 0) close(fd_);  // closing the only descriptor releases the lock
}

bool RunLock::acquire(int wait_seconds) {
  fd_ = open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(wait_seconds);
  bool told = false;
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    if (!told) {
      std::printf(" Another run is working in this directory; waiting up to %d seconds...\n", wait_seconds);
      std::fflush(stdout);
      told = true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return true;
}

}  // namespace season
