// Helpers for reading a rendered .cfg in tests.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace cvarsmith::testing {

inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline bool hasLine(const std::string& text, const std::string& line) {
  auto lines = splitLines(text);
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The "set" lines of a file whose variable is `name`.
inline std::vector<std::string> setLinesOf(const std::string& text, const std::string& name) {
  std::vector<std::string> found;
  for (const std::string& line : splitLines(text)) {
    if (line.rfind("set " + name + " ", 0) == 0) found.push_back(line);
  }
  return found;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace cvarsmith::testing
