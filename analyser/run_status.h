// How the suite's programs report what went wrong.
//
// A failure is named on standard error ("ERROR: <message>") where it
// happens, or carried up as an Error to the one place that names it; a run
// that goes on after a failure (the next log, the next game, the next step)
// keeps the first one in a RunStatus; and main alone turns the result into
// the exit status. The numbers are the exit statuses the README documents
// for kestrostats-s, -site, -admin and -setup; kestrostats-c, ks-preparse
// and TagSift document 1 for every failure (exitStatusZeroOrOne).
#pragma once

#include <string>
#include <string_view>
#include <utility>

enum class Failure {
  kNone = 0,
  kUsage = 1,     // command line or configuration
  kLog = 2,       // an input (a log, an archive) could not be read
  kDatabase = 3,  // the database failed: unreachable, login refused, a statement refused
  kProgram = 4,   // another program of the suite failed or is missing
  kWrite = 5,     // a file could not be written or removed
  kLocked = 6,    // another run held the working directory for too long
};

// A failure and the words that name it, on its way to the caller that
// reports it. Error{} is success.
struct Error {
  Failure failure = Failure::kNone;
  std::string message;

  bool failed() const { return failure != Failure::kNone; }
};

inline Error failWith(Failure failure, std::string message) { return Error{failure, std::move(message)}; }

// Prints "ERROR: <message>" on standard error. Standard output is flushed
// first, so that the two keep their order where both go to one terminal or
// journal.
void printError(std::string_view message);

class RunStatus {
 public:
  // Records a failure and names it on standard error.
  void fail(Failure failure, std::string_view message);
  void fail(const Error& error) { fail(error.failure, error.message); }
  // Records a failure whose message was already printed (the console texts
  // of kestrostats-c name some failures on standard output as well).
  void record(Failure failure);

  bool failed() const { return first_ != Failure::kNone; }
  Failure first() const { return first_; }

 private:
  Failure first_ = Failure::kNone;
};

// The exit status of a run that ended with `failure`, for the programs
// that number their failures (0 for none).
inline int exitStatusOf(Failure failure) { return static_cast<int>(failure); }

// For the programs that document 1 for any failure.
inline int exitStatusZeroOrOne(Failure failure) { return failure == Failure::kNone ? 0 : 1; }
