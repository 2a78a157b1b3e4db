#include "run_lock.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace season {

namespace {

constexpr const char* kLockFile = "kestrostats-s.lock";
constexpr auto kPollInterval = std::chrono::milliseconds(200);

// Opens the lock file, read-only when it may not be written. Deliberately
// without O_CLOEXEC: the programs the run starts inherit the lock.
int openLockFile() {
  int fd = open(kLockFile, O_RDWR | O_CREAT, 0644);
  if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) fd = open(kLockFile, O_RDONLY);
  return fd;
}

}  // namespace

RunLock::~RunLock() {
  if (fd_ >= 0) close(fd_);  // releases the lock once no child holds it either
}

LockResult RunLock::acquire(int wait_seconds) {
  fd_ = openLockFile();
  if (fd_ < 0) {
    problem_ = std::string("could not open the lock file ") + kLockFile + " in the working directory: " +
               std::strerror(errno) + " (a run as another user may have made it; let this user read it)";
    return LockResult::kUnusable;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(wait_seconds);
  bool told = false;
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      problem_ = std::string("could not lock ") + kLockFile + ": " + std::strerror(errno);
      return LockResult::kUnusable;
    }
    if (std::chrono::steady_clock::now() >= deadline) return LockResult::kBusy;
    if (!told) {
      std::printf(" Another run is working in this directory; waiting up to %d seconds...\n", wait_seconds);
      std::fflush(stdout);
      told = true;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  return LockResult::kTaken;
}

}  // namespace season
