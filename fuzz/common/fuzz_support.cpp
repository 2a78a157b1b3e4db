#include "fuzz_support.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "ks_preparse.h"

namespace fs = std::filesystem;

namespace ksfuzz {

namespace {

fs::path g_scratch;
fs::path g_previous;
bool g_active = false;
std::vector<std::string> g_commands;

void removeScratch() {
  std::error_code ignored;
  if (!g_scratch.empty()) fs::remove_all(g_scratch, ignored);
}

// Removes everything in the scratch directory except html/, which is emptied.
void emptyScratch() {
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(g_scratch, ignored)) {
    if (entry.path().filename() == "html") {
      for (const fs::directory_entry& page : fs::directory_iterator(entry.path(), ignored)) {
        fs::remove_all(page.path(), ignored);
      }
    } else {
      fs::remove_all(entry.path(), ignored);
    }
  }
}

// Splits the words of a command the programs build: bare words and words in
// double quotes with backslash escapes, up to the first output redirection.
std::vector<std::string> commandWords(std::string_view command) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < command.size()) {
    while (i < command.size() && command[i] == ' ') ++i;
    if (i >= command.size() || command[i] == '>') break;
    std::string word;
    if (command[i] == '"') {
      for (++i; i < command.size() && command[i] != '"'; ++i) {
        if (command[i] == '\\' && i + 1 < command.size()) ++i;
        word += command[i];
      }
      ++i;  // the closing quote
    } else {
      while (i < command.size() && command[i] != ' ') word += command[i++];
    }
    words.push_back(word);
  }
  return words;
}

// Runs "./ks-preparse SOURCE TARGET [1]" in this process; other commands do
// nothing. A leading "#" pre-command (the season's form) is passed over: the
// converted log is what the command would have produced.
int runInProcess(std::string_view command) {
  std::size_t start = command.find_first_not_of("# ");
  if (start == std::string_view::npos) return 0;
  std::vector<std::string> words = commandWords(command.substr(start));
  if (words.empty() || words[0] != "./ks-preparse" || words.size() > 4) return 127;
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  return preparse::run(static_cast<int>(words.size()), argv.data());
}
// Where the scratch directory goes: $TMPDIR when set, else /dev/shm when the
// machine has it, else the system's temporary folder. Inputs in the server's
// form write and convert a few files each; in memory that costs a fraction
// of what a disk file system's inode allocation does.
fs::path scratchParent() {
  std::error_code ignored;
  if (std::getenv("TMPDIR") == nullptr && fs::is_directory("/dev/shm", ignored) && access("/dev/shm", W_OK) == 0) {
    return "/dev/shm";
  }
  return fs::temp_directory_path();
}

}  // namespace

void initialise() {
  if (std::getenv("KS_FUZZ_VERBOSE") == nullptr) {
    std::fflush(stdout);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, STDOUT_FILENO);
      close(null);
    }
  }
  std::string pattern = (scratchParent() / "ks-fuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  g_scratch = pattern;
  fs::create_directory(g_scratch / "html");
  std::atexit(removeScratch);
}

ScratchRun::ScratchRun() {
  g_previous = fs::current_path();
  fs::current_path(g_scratch);
  g_commands.clear();
  g_active = true;
}

ScratchRun::~ScratchRun() {
  g_active = false;
  std::fflush(nullptr);
  emptyScratch();
  fs::current_path(g_previous);
}

void writeFile(const char* name, std::string_view bytes) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) {
    std::perror(name);
    std::abort();
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

const std::vector<std::string>& commandsRun() { return g_commands; }

std::string_view inputText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size < kMaxInput ? size : kMaxInput};
}

}  // namespace ksfuzz

// Replaces the C library's system() for the whole fuzz binary: inside a
// ScratchRun no shell is started (see fuzz_support.h); outside, the call goes
// to the C library.
extern "C" int system(const char* command) {
  if (!ksfuzz::g_active) {
    using SystemFunction = int (*)(const char*);
    static SystemFunction real = reinterpret_cast<SystemFunction>(dlsym(RTLD_NEXT, "system"));
    return real != nullptr ? real(command) : -1;
  }
  if (command == nullptr) return 0;  // "is a shell available?"
  ksfuzz::g_commands.emplace_back(command);
  std::fflush(stdout);
  return ksfuzz::runInProcess(command);
}
