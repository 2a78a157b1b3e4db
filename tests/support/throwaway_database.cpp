#include "throwaway_database.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "program_runner.h"

namespace kstest {

namespace {

std::string capture(const std::string& command, int* status = nullptr) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 4096> chunk;
  std::size_t n;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), n);
  int rc = pclose(pipe);
  if (status != nullptr) *status = rc;
  return output;
}

std::string script() { return (sourceDir() / "scripts" / "throwaway-db.sh").string(); }

}  // namespace

bool ThrowawayDatabase::start() {
  if (running()) return true;
  if (std::system("command -v mariadbd > /dev/null 2>&1 && command -v mysql > /dev/null 2>&1") != 0) {
    error_ = "MariaDB server or client is not installed";
    return false;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "kstest-db-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return false;
  dir_ = pattern;
  int status = 0;
  std::string out = capture("sh '" + script() + "' start '" + dir_ + "' < /dev/null", &status);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  if (status != 0 || out.empty()) {
    error_ = "the test database did not start: " + out;
    return false;
  }
  port_ = out.substr(out.find_last_of('\n') + 1);
  setenv("MYSQL_TCP_PORT", port_.c_str(), 1);
  return true;
}

void ThrowawayDatabase::stop() {
  if (dir_.empty()) return;
  std::system(("sh '" + script() + "' stop '" + dir_ + "' < /dev/null").c_str());
  dir_.clear();
  port_.clear();
}

std::string ThrowawayDatabase::query(const std::string& sql) const {
  std::string quoted = "'";
  for (char c : sql) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  quoted += "'";
  return capture("mysql -h 127.0.0.1 -P " + port_ + " -u root -N -B -e " + quoted + " 2>&1 < /dev/null");
}

ThrowawayDatabase& sharedDatabase() {
  static ThrowawayDatabase database;
  return database;
}

}  // namespace kstest
