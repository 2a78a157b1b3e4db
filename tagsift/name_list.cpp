#include "name_list.h"

#include <cstring>

namespace tagsift {

void stripLineEnd(std::string& line) {
  const std::size_t from = line.size() > 5 ? line.size() - 5 : 0;
  const std::size_t cut = line.find_first_of("\r\n", from);
  if (cut != std::string::npos) line.resize(cut);
}

bool readName(std::FILE* in, std::string& name) {
  char buffer[kLineLimit];
  if (std::fgets(buffer, sizeof buffer, in) == nullptr) return false;
  name.assign(buffer, std::strlen(buffer));
  stripLineEnd(name);
  return true;
}

bool readNameList(NameStore& store, const std::string& path, bool silent) {
  std::FILE* in = std::fopen(path.c_str(), "r");
  if (in == nullptr) {
    std::printf("Unable to open player file: %s.\n", path.c_str());
    return false;
  }
  if (!silent) std::printf("Reading File: %s : ", path.c_str());
  std::string name;
  while (readName(in, name)) addName(store, name);
  std::fclose(in);
  if (!silent) std::printf("Done\n");
  return true;
}

}  // namespace tagsift
