// One season run per working directory. Runs share the directory's
// temporary files, the realtime snapshot and the carry-over files, so a
// second run waits until the first has finished.
#pragma once

namespace season {

class RunLock {
 public:
  RunLock() = default;
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // Takes the exclusive lock on "kestrostats-s.lock" in the working
  // directory, waiting up to `wait_seconds` for a run that holds it. False
  // when the wait ran out or the lock file cannot be opened. The lock is
  // released when the object goes (or the process ends, however it ends);
  // programs the run starts do not inherit it.
  bool acquire(int wait_seconds);

 private:
  int fd_ = -1;
};

}  // namespace season
