// TagSift: the input holds two name lists, the normal one and the reversed
// one, separated by the first byte 0x1e (the second list is empty when
// there is none). The first two bytes choose the minimum tag length (0..11)
// and the minimum number of matches (0..7). A whole run reads both lists
// into the name store, counts and writes the candidates and filters them into the
// tag file, which must then hold only tags of at least the minimum length.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "tagsift.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int min_length = data[0] % 12;
  const int min_matches = data[1] % 8;
  std::string_view lists = ksfuzz::inputText(data + 2, size - 2);
  std::size_t split = lists.find('\x1e');
  std::string_view normal = lists.substr(0, split);
  std::string_view reversed = split == std::string_view::npos ? std::string_view() : lists.substr(split + 1);

  ksfuzz::ScratchRun run;
  ksfuzz::writeFile("players.txt", normal);
  ksfuzz::writeFile("players-r.txt", reversed);
  const std::string length = std::to_string(min_length);
  const std::string matches = std::to_string(min_matches);
  const char* argv[] = {"TagSift", "-s", "-l", length.c_str(), "-m", matches.c_str(), "-w", nullptr};
  tagsift::run(7, argv);

  std::ifstream tags("tags.txt", std::ios::binary);
  std::string tag;
  const std::size_t shortest = static_cast<std::size_t>(min_length > 1 ? min_length : 1);
  while (std::getline(tags, tag)) {
    if (tag.size() < shortest) {
      std::fprintf(stderr, "tag \"%s\" is shorter than %zu\n", tag.c_str(), shortest);
      std::abort();
    }
  }
  return 0;
}
