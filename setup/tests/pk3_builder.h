// Writes small .pk3 (zip) archives for the tests: no game file is shipped.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace setup {

// Writes an archive holding `entries` (name, content); false on failure.
bool writePk3(const std::filesystem::path& path, const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace setup
