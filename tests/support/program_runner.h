// Helpers for black-box tests: a scratch working directory and a way to run a
// built program in it, capturing its standard output and exit status.
#pragma once

#include <filesystem>
#include <string>

namespace kstest {

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes `content` to a file below the directory (parents created).
  void write(const std::string& relative, const std::string& content) const;
  // Reads a file below the directory; "" when it does not exist.
  std::string read(const std::string& relative) const;
  bool exists(const std::string& relative) const;
  // Copies a built program from the build's bin directory into the directory,
  // so that programs can start each other as ./name.
  void installProgram(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

struct RunResult {
  int status = -1;     // exit status; -1 when the program did not exit normally
  std::string output;  // standard output (standard error is left alone)
};

// Runs `command` through the shell in `dir`, standard input from /dev/null.
RunResult runIn(const TempDir& dir, const std::string& command);

// The directory that holds the built programs (set by the build).
std::filesystem::path binDir();
// The top folder of the source tree, for the bundled samples and site files.
std::filesystem::path sourceDir();

}  // namespace kstest
