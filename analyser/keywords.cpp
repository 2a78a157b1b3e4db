#include "keywords.h"

int firstContained(KeywordTable table, std::string_view text) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (text.find(table[i]) != std::string_view::npos) return static_cast<int>(i);
  }
  return -1;
}

std::uint64_t containedMask(KeywordTable table, std::string_view text) {
  std::uint64_t mask = 0;
  for (std::size_t i = 0; i < table.size() && i < 64; ++i) {
    if (text.find(table[i]) != std::string_view::npos) mask |= std::uint64_t{1} << i;
  }
  return mask;
}
