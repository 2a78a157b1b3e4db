#include "pk3_builder.h"

#include <zip.h>

namespace setup {

bool writePk3(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  int code = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (z == nullptr) return false;
  for (const auto& [name, content] : entries) {
    zip_source_t* source = zip_source_buffer(z, content.data(), content.size(), 0);
    if (source == nullptr || zip_file_add(z, name.c_str(), source, ZIP_FL_ENC_RAW) < 0) {
      zip_source_free(source);
      zip_discard(z);
      return false;
    }
  }
  return zip_close(z) == 0;  // the buffers are read here, while `entries` lives
}

}  // namespace setup
