// One season run per working directory. Runs share the directory's
// temporary files, the realtime snapshot and the carry-over files, so a
// second run waits until the first has finished.
//
// The lock belongs to the run and to every program it starts: the children
// inherit the locked descriptor, so a run killed while its mysql client is
// still committing keeps the directory locked until that client has ended,
// and the next run can never rewrite a script that the client still reads.
#pragma once

#include <string>

namespace season {

enum class LockResult {
  kTaken,     // this run holds the directory
  kBusy,      // another run held it for longer than the wait
  kUnusable,  // the lock file cannot be opened or locked at all (problem() says why)
};

class RunLock {
 public:
  RunLock() = default;
  ~RunLock();
  RunLock(const RunLock&) = delete;
  RunLock& operator=(const RunLock&) = delete;

  // Takes the exclusive lock on "kestrostats-s.lock" in the working
  // directory, waiting up to `wait_seconds` for a run that holds it. A lock
  // file this user may not write (made by a run as another user) is locked
  // through a read-only descriptor, which locks just as well.
  LockResult acquire(int wait_seconds);

  // Why the lock could not be used: the file and the system's reason.
  const std::string& problem() const { return problem_; }

 private:
  int fd_ = -1;
  std::string problem_;
};

}  // namespace season
