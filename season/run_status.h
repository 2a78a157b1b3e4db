// How a season run ends. The run goes on after most failures (the next log,
// the next step), so a failure is recorded here and the program's exit
// status reports the first one; every failure is also named on standard
// error as it happens.
#pragma once

#include <string_view>

namespace season {

// Exit statuses of kestrostats-s (documented in the README).
enum class Failure {
  kNone = 0,
  kUsage = 1,     // command line or configuration
  kLog = 2,       // a log could not be read
  kDatabase = 3,  // the mysql client failed: server unreachable, login refused, SQL error
  kProgram = 4,   // another program of the suite failed or is missing
  kWrite = 5,     // a file could not be written (script, snapshot, archive, list)
  kLocked = 6,    // another run held the working directory for too long
};

class RunStatus {
 public:
  // Records a failure and prints "ERROR: <message>" on standard error.
  void fail(Failure failure, std::string_view message);
  bool failed() const { return first_ != Failure::kNone; }
  int exitStatus() const { return static_cast<int>(first_); }

 private:
  Failure first_ = Failure::kNone;
};

}  // namespace season
