#include "tag_filter.h"

#include <string>

namespace tagsift {

int filterCandidates(std::istream& in, std::ostream& out) {
  std::string current;
  if (!std::getline(in, current)) return 0;
  int written = 0;
  std::string next;
  while (std::getline(in, next)) {
    // "Contains" covers "begins with": a longer prefix tag extends at its
    // end, a longer suffix tag (turned back from the reversed list) at its
    // beginning.
    if (next.find(current) == std::string::npos) {
      out << current << '\n';
      ++written;
    }
    current.swap(next);
  }
  out << current << '\n';
  return written + 1;
}

}  // namespace tagsift
