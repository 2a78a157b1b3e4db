// A MariaDB server of the test run's own (scripts/throwaway-db.sh): its own
// data folder, on 127.0.0.1 and a free port. Started once for a test
// program; clients started by the programs under test find it through
// MYSQL_TCP_PORT, which this sets in the environment.
#pragma once

#include <string>

namespace kstest {

class ThrowawayDatabase {
 public:
  // Starts the server; false (with the reason in error()) when MariaDB is
  // not installed or does not start.
  bool start();
  void stop();
  bool running() const { return !port_.empty(); }
  const std::string& error() const { return error_; }
  const std::string& port() const { return port_; }

  // Runs SQL as root and returns the client's output without headings,
  // one row per line, columns separated by tabs.
  std::string query(const std::string& sql) const;

 private:
  std::string dir_;
  std::string port_;
  std::string error_;
};

// The server shared by all tests of one program (started on first use).
ThrowawayDatabase& sharedDatabase();

}  // namespace kstest
