// Cvarsmith's .cfg loader: the input is a .cfg file, loaded with
// loadConfigFile() into the settings the program starts with. A mode_start
// line's preset question is answered with OK.
#include <cstdint>
#include <cstdlib>
#include <map>

#include "config_loader.h"
#include "fuzz_support.h"
#include "platform.h"
#include "server_settings.h"

namespace {

using namespace cvarsmith;

class OkMessages final : public MessageBoxes {
 public:
  void showMessage(const std::string&, const std::string&, MessageIcon) override {}
  bool askOkCancel(const std::string&, const std::string&, MessageIcon) override { return true; }
};

// A store without the program's key: defaults stay defaults.
class EmptyStore final : public SettingsStore {
 public:
  bool keyExists() override { return false; }
  std::optional<std::string> readValue(std::string_view) override { return std::nullopt; }
  bool writeValue(std::string_view, const std::string&, bool) override { return false; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ksfuzz::initialise();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ksfuzz::ScratchRun run;
  ksfuzz::writeFile("input.cfg", ksfuzz::inputText(data, size));
  OkMessages messages;
  EmptyStore store;
  ServerSettings settings = startUpSettings(store);
  LoadReport report = loadConfigFile(settings, "input.cfg", messages, store);
  if (report.outcome != LoadOutcome::Loaded) {
    std::fprintf(stderr, "an existing file did not load\n");
    std::abort();
  }
  return 0;
}
