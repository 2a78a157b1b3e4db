#include "keywords.h"

#include "text.h"

int firstContained(KeywordTable table, std::string_view line) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (contains(line, table[i])) return static_cast<int>(i);
  }
  return -1;
}
