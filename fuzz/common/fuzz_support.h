// What the fuzz targets share.
//
// The programs under test work in their current directory (pages go to
// html/, temporary and carry-over files sit beside the log), print to
// standard output and start other programs through std::system. The helpers
// here keep all of that inside one process and one scratch directory (in
// /dev/shm when the machine has it and $TMPDIR is not set):
// - ScratchRun switches into a private scratch directory for the length of
//   one input and empties it again afterwards (html/ stays, emptied), so no
//   input sees files left by another;
// - standard output is sent to /dev/null once at start-up (KS_FUZZ_VERBOSE=1
//   keeps it), libFuzzer's own messages go to standard error;
// - while a ScratchRun is active, std::system does not start a shell: a
//   "./ks-preparse SOURCE TARGET [1]" command (after an optional "#"
//   pre-command) runs the pre-parser in this process, and every other
//   command is recorded and does nothing. Outside a ScratchRun (libFuzzer's
//   own commands) std::system behaves as usual.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ksfuzz {

// Inputs longer than this are cut: every target's work per input stays small.
inline constexpr std::size_t kMaxInput = 16 * 1024;

// Sends standard output to /dev/null (unless KS_FUZZ_VERBOSE is set) and
// creates the scratch directory with its html/ folder. Call once.
void initialise();

class ScratchRun {
 public:
  ScratchRun();
  ~ScratchRun();
  ScratchRun(const ScratchRun&) = delete;
  ScratchRun& operator=(const ScratchRun&) = delete;
};

// Writes bytes to a file in the current directory.
void writeFile(const char* name, std::string_view bytes);

// The commands std::system received during the current ScratchRun.
const std::vector<std::string>& commandsRun();

// The input as text, cut to kMaxInput bytes.
std::string_view inputText(const std::uint8_t* data, std::size_t size);

}  // namespace ksfuzz
