#include "line_filter.h"

#include "text.h"

bool hasAServerKeyword(std::string_view line) { return containsAny(server_keyword, line); }

int validLine(std::string_view line, KeywordTable valid) {
  if (line.size() > 500 || line.size() < 2) return 0;
  int entry = firstContained(valid, line);
  if (entry < 0 || hasAServerKeyword(line)) return 0;
  if (valid[entry] == " ate " && !contains(line, "rocket") && !contains(line, "grenade")) return 0;
  return 1;
}
