#include "driver.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "clients.h"
#include "events.h"
#include "line_text.h"
#include "run_state.h"

namespace preparse {

// Carry-over mode state: the files and the source's first "InitGame: " line,
// which is handled once before the carried lines and again before the rest
// of the source.
std::FILE* fp_lastgame = nullptr;
std::FILE* fp_lastgame_1 = nullptr;
std::FILE* fp_lastgame_2 = nullptr;
FixedText init_line;

namespace {

void printError(const char* message) { std::fputs(message, stdout); }

// Copies everything still unread in `from` to `to`, byte for byte.
void copyRest(std::FILE* from, std::FILE* to) {
  if (from == nullptr) return;
  std::array<char, 8192> chunk;
  std::size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), from)) > 0) std::fwrite(chunk.data(), 1, n, to);
}

// Appends a whole file to `to`; a file that does not open is passed over.
void appendFile(const std::string& name, std::FILE* to) {
  std::FILE* from = std::fopen(name.c_str(), "rb");
  copyRest(from, to);
  fpclose(from);
}

std::string carryOverName(std::string_view pattern_prefix, std::string_view source) {
  std::string name(pattern_prefix);
  name.append(source);
  if (name.size() > kMaxTextLength) name.resize(kMaxTextLength);
  stripIllegalFilenameChars(name);
  return name;
}

void openGame() {
  std::fputs("----------------- GAME BEGIN ---------------\n", fp_out);
  printGameInfo();
  init();
  game_open = true;
}

// On a server without OSP a warm-up is not a game: lines are skipped up to
// the next "InitGame:" or "ShutdownGame:" (or the end of input), which
// becomes the current line.
void skipWarmup(FixedText& line) {
  while (nextLine(line)) {
    if (holdsEvent(line, "InitGame:") || holdsEvent(line, "ShutdownGame:")) {
      stripNewLineChars(line);
      return;
    }
  }
}

// Opens and closes game sections and counts the source's "ShutdownGame:"
// lines. May replace the line (warm-up skip).
void frameLine(FixedText& line) {
  if (contains(line, "InitGame: ")) {
    const std::string lower = toLowerCase(line.view());
    if (contains(lower, "\\gameversion\\osp") || contains(lower, "\\gamename\\osp\\")) OSP = 1;
  }
  if (OSP == 1) {
    // OSP writes warm-ups as games of their own; the match begins at "Game_Start:".
    if (contains(line, "InitGame:")) getGameInfo(line);
    if (contains(line, "Game_Start:")) openGame();
  } else {
    if (contains(line, "Warmup:")) skipWarmup(line);
    if (contains(line, "InitGame:")) {
      getGameInfo(line);
      openGame();
    }
  }
  if (fp_now == fp_in && contains(line, "ShutdownGame:")) ++shutdown_count;
  if (contains(line, "ShutdownGame:") && game_open) {
    game_open = false;
    OSP = 0;
    printEndGame(line);
    init();
  }
}

void handleLine(FixedText& line) {
  freeMallocs();
  stripNewLineChars(line);
  // A chat line is a player's text: it can neither open nor end a game.
  if (!isChatLine(line)) frameLine(line);
  if (game_open) translateLine(line);
}

// Copies the first `length` bytes of `from` to `to` and puts `from` back at
// `resume_at`.
void copyPrefix(std::FILE* from, long length, long resume_at, std::FILE* to) {
  std::fseek(from, 0, SEEK_SET);
  std::array<char, 8192> chunk;
  while (length > 0) {
    std::size_t want = static_cast<std::size_t>(std::min<long>(length, static_cast<long>(chunk.size())));
    std::size_t n = std::fread(chunk.data(), 1, want, from);
    if (n == 0) break;
    std::fwrite(chunk.data(), 1, n, to);
    length -= static_cast<long>(n);
  }
  std::fseek(from, resume_at, SEEK_SET);
}

// Carry-over mode, before the main loop: writes the source's lines before its
// first "InitGame: " line to the head file (counting the "ShutdownGame:"
// lines among them), joins tail and head, and opens the joined file as
// fp_now. `line` becomes the "InitGame: " line; `have_line` is false when the
// source has none. The head is copied byte for byte, so that no odd byte of
// the log is lost on its way to the next run. False when a carry-over file
// cannot be written or read.
bool prepareCarryOver(const CarryOverNames& names, FixedText& line, bool& have_line) {
  fp_lastgame_2 = std::fopen(names.head.c_str(), "wb");
  if (fp_lastgame_2 == nullptr) return false;
  have_line = false;
  long head_length = 0;
  FixedText raw;
  while (readLine(fp_in, raw)) {
    if (holdsEvent(raw, "InitGame: ")) {
      init_line = raw;
      line = raw;
      have_line = true;
      break;
    }
    if (holdsEvent(raw, "ShutdownGame:")) ++shutdown_count;
    head_length = std::ftell(fp_in);
  }
  if (!have_line) head_length = std::ftell(fp_in);
  copyPrefix(fp_in, head_length, std::ftell(fp_in), fp_lastgame_2);
  fpclose(fp_lastgame_2);

  fp_lastgame = std::fopen(names.joined.c_str(), "wb");
  if (fp_lastgame == nullptr) return false;
  appendFile(names.tail, fp_lastgame);
  appendFile(names.head, fp_lastgame);
  fpclose(fp_lastgame);
  fp_lastgame = std::fopen(names.joined.c_str(), "rb");
  fp_now = fp_lastgame;
  return fp_lastgame != nullptr;
}

// Handles lines while the source still holds a "ShutdownGame:" ahead. In
// carry-over mode the end of the joined file switches to the source, whose
// first "InitGame: " line is then handled again. Returns whether that switch
// happened.
bool mainLoop(FixedText line, bool have_line, bool carry_over) {
  bool switched = false;
  while (have_line && shutdown_count < total_shut) {
    handleLine(line);
    have_line = nextLine(line);
    if (!have_line && carry_over && !switched) {
      fpclose(fp_lastgame);
      fp_now = fp_in;
      clearUnreadLine();
      switched = true;
      line = init_line;
      have_line = true;
    }
  }
  // The line read last (the one after the last counted "ShutdownGame:") is
  // dropped: it is in neither the target nor the tail file.
  return switched;
}

// Carry-over mode, after the main loop: everything not yet read becomes the
// next run's tail. When the loop never reached the source (no complete game
// after its first "InitGame: "), the source's "InitGame: " line and the rest
// of the source are kept too, so that nothing of the log is lost.
bool saveTail(const CarryOverNames& names, bool switched) {
  fp_lastgame_1 = std::fopen(names.tail.c_str(), "wb");
  if (fp_lastgame_1 == nullptr) return false;
  copyRest(fp_now, fp_lastgame_1);
  if (!switched) {
    std::fputs(init_line.c_str(), fp_lastgame_1);
    copyRest(fp_in, fp_lastgame_1);
  }
  fpclose(fp_lastgame_1);
  return true;
}

void closeInputs() {
  if (fp_now != fp_in) fpclose(fp_now);
  fp_lastgame = nullptr;
  fp_now = nullptr;
  fpclose(fp_in);
}

}  // namespace

CarryOverNames carryOverNames(std::string_view source) {
  return {carryOverName("kestro_lastgame_", source), carryOverName("kestro_lastgame_1_", source),
          carryOverName("kestro_lastgame_2_", source)};
}

int analyze(const char* path) {
  total_shut = 0;
  std::FILE* file = std::fopen(path, "rb");
  FixedText line;
  while (readLine(file, line)) {
    if (holdsEvent(line, "ShutdownGame:")) ++total_shut;
  }
  fpclose(file);
  return total_shut;
}

void getGameInfo(std::string_view line) {
  // Newer server builds name the protocol "\com_protocol\"; both forms mark a
  // full server-info line.
  if (!contains(line, "InitGame:") || !contains(line, "\\mapname\\") || !contains(line, "protocol\\")) return;
  mapname.assign(upTo(afterKeyword(line, "\\mapname\\"), "\\"));
  gametype.assign(upTo(afterKeyword(line, "\\g_gametype\\"), "\\"));
}

void printGameInfo() {
  std::fprintf(fp_out, "Current map: %s\n", mapname.c_str());
  std::fprintf(fp_out, "GameType: %s\n", gametype.c_str());
}

void printEndGame(std::string_view line) {
  if (!contains(line, "ShutdownGame:")) return;
  std::fputs("Timelimit hit.\n", fp_out);
  std::fputs("----- CL_Shutdown -----\n", fp_out);
  init();
}

int run(int argc, char** argv) {
  resetRunState();
  init_line.clear();
  if (argc != 3 && argc != 4) {
    std::fputs("\nInvalid arguments\n", stdout);
    std::fputs("usage: ks-preparse source.log target.log\n", stdout);
    return 1;
  }
  const bool carry_over = argc == 4 && std::strcmp(argv[3], "1") == 0;
  const char* source = argv[1];
  const char* target = argv[2];

  analyze(source);
  fp_in = std::fopen(source, "rb");
  fp_out = std::fopen(target, "wb");
  if (fp_in == nullptr || fp_out == nullptr) {
    printError(fp_in == nullptr ? "error: couldnt open file to read\n" : "error: couldnt open file to write\n");
    fpclose(fp_in);
    fpclose(fp_out);
    return 1;
  }

  const CarryOverNames names = carryOverNames(source);
  FixedText line;
  bool have_line = true;
  if (carry_over) {
    if (!prepareCarryOver(names, line, have_line)) {
      printError("error: couldnt open file to write\n");
      closeInputs();
      fpclose(fp_out);
      return 1;
    }
  } else {
    fp_now = fp_in;
  }

  init();
  const bool switched = mainLoop(line, have_line, carry_over);
  fpclose(fp_out);

  int status = 0;
  if (carry_over && !saveTail(names, switched)) {
    printError("error: couldnt open file to write\n");
    status = 1;
  }
  closeInputs();
  return status;
}

}  // namespace preparse
