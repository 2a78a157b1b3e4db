// The two key/value configuration readers: kestrostats-c's report
// configuration and kestrostats-s's season configuration, each reading the
// input as its file.
//
// So that the season reader gets past the database settings, a valid
// database block is appended after the input, behind lines that bring
// the reader back to where it expects a key wherever the input stops: a line
// end (finishing a cut line or giving a pending key an empty value), then
// two "#" lines (the first may still be taken as a value; at a key's place
// each is a comment). Later keys win, so the block always holds.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "reportconfig.h"
#include "season_config.h"

namespace {

constexpr std::string_view kDatabaseBlock = "\n#\n#\ndb_host:\nlocalhost\ndb_name:\nkestro_fuzz\n";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun run;
  std::string_view text = ksfuzz::inputText(data, size);
  ksfuzz::writeFile("c-input.cfg", text);
  ReportConfig report;
  report.path.assign("c-input.cfg");
  readConfig(report);

  std::string season_file(text);
  season_file += kDatabaseBlock;
  ksfuzz::writeFile("s-input.cfg", season_file);
  season::SeasonConfig config;
  config.path.assign("s-input.cfg");
  season::readConfig(config);
  return 0;
}
