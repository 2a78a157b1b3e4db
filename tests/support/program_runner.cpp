#include "program_runner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kstest {

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "kstest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void TempDir::write(const std::string& relative, const std::string& content) const {
  fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << content;
}

std::string TempDir::read(const std::string& relative) const {
  std::ifstream in(path_ / relative, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool TempDir::exists(const std::string& relative) const { return fs::exists(path_ / relative); }

void TempDir::installProgram(const std::string& name) const {
  fs::copy_file(binDir() / name, path_ / name, fs::copy_options::overwrite_existing);
}

RunResult runIn(const TempDir& dir, const std::string& command) {
  std::string full = "cd '" + dir.path().string() + "' && " + command + " < /dev/null";
  RunResult result;
  FILE* pipe = popen(full.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> chunk;
  std::size_t n;
  while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) result.output.append(chunk.data(), n);
  int status = pclose(pipe);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  return result;
}

fs::path binDir() { return KS_BIN_DIR; }

fs::path sourceDir() { return KS_SOURCE_DIR; }

}  // namespace kstest
