#include "driver.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "clients.h"
#include "events.h"
#include "line_text.h"
#include "run_state.h"

namespace preparse {

namespace {

constexpr const char* kOpenToReadError = "error: couldnt open file to read\n";
constexpr const char* kOpenToWriteError = "error: couldnt open file to write\n";
constexpr const char* kReadError = "error: couldnt read file\n";
constexpr const char* kWriteError = "error: couldnt write file\n";

void printError(const char* message) { std::fputs(message, stdout); }

// A log is a regular file; a directory or a device opens, but is none.
bool isRegularFile(std::FILE* file) {
  struct stat info;
  return file != nullptr && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}

// Flushes and closes a stream that was written. False when a write, the
// flush or the close failed: the file is then incomplete.
bool closeWritten(std::FILE*& file) {
  if (file == nullptr) return false;
  bool complete = std::fflush(file) == 0 && std::ferror(file) == 0;
  complete = std::fclose(file) == 0 && complete;
  file = nullptr;
  return complete;
}

// Copies everything still unread in `from` (none when null) to `to`, byte for
// byte. False when a read or a write failed.
bool copyRest(std::FILE* from, std::FILE* to) {
  if (from == nullptr) return true;
  std::array<char, 8192> chunk;
  std::size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), from)) > 0) {
    if (std::fwrite(chunk.data(), 1, n, to) != n) return false;
  }
  return std::ferror(from) == 0;
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

// A "ShutdownGame:" line: counts it, ends the open game, and forgets all the
// game taught, so that the next game starts as a run would start with it.
void endGame(std::string_view line) {
  ++shutdown_count;
  if (game_open) printEndGame(line);
  resetGameState();
}

// On a server without OSP a warm-up is not a game: lines are skipped up to
// the next "InitGame:" or "ShutdownGame:" (or the end of input), which
// becomes the current line.
void skipWarmup(FixedText& line) {
  while (nextLine(line)) {
    if (lineIsContinuation()) continue;
    if (isEvent(line, "InitGame:") || isEvent(line, "ShutdownGame:")) {
      stripNewLineChars(line);
      return;
    }
  }
  line.clear();
}

bool announcesOsp(std::string_view line) {
  // Only a game start pays for the lower-case copy.
  const std::string lower = toLowerCase(line);
  return contains(lower, "\\gameversion\\osp") || contains(lower, "\\gamename\\osp\\");
}

// Opens and closes game sections and counts the "ShutdownGame:" lines. May
// replace the line (warm-up skip).
void frameLine(FixedText& line) {
  std::string_view event = eventText(line);
  if (event.starts_with("InitGame: ") && announcesOsp(line)) OSP = 1;
  if (OSP == 1) {
    // OSP writes warm-ups as games of their own; the match begins at "Game_Start:".
    if (event.starts_with("InitGame:")) getGameInfo(line);
    if (event.starts_with("Game_Start:")) openGame();
  } else {
    if (event.starts_with("Warmup:")) {
      skipWarmup(line);
      event = eventText(line);
    }
    if (event.starts_with("InitGame:")) {
      getGameInfo(line);
      openGame();
    }
  }
  if (event.starts_with("ShutdownGame:")) endGame(line);
}

void handleLine(FixedText& line) {
  // The rest of an overlong line is no line of its own and holds no event.
  if (lineIsContinuation()) return;
  stripNewLineChars(line);
  frameLine(line);
  if (game_open) translateLine(line);
}

// Handles lines up to and including the input's last counted "ShutdownGame:"
// line; the stream then stands at the first line after it.
void mainLoop() {
  FixedText line;
  while (shutdown_count < total_shut && nextLine(line)) handleLine(line);
  // An overlong "ShutdownGame:" line keeps its rest: it is not the next
  // run's first line.
  while (lineIsCut() && nextLine(line)) {
  }
}

// Carry-over mode: writes the run's input, the previous tail (when there is
// one) followed by the source, byte for byte, and makes it fp_now. So a line
// that the previous run found cut off at the end of its source is whole
// again. Returns an error message, or null.
const char* openJoinedInput(const CarryOverNames& names) {
  std::FILE* tail = std::fopen(names.tail.c_str(), "rb");
  if (tail == nullptr && errno != ENOENT) return kOpenToReadError;  // there, but unreadable: keep it
  std::FILE* input = std::fopen(names.input.c_str(), "w+b");
  if (input == nullptr) {
    fpclose(tail);
    return kOpenToWriteError;
  }
  const bool copied = copyRest(tail, input) && copyRest(fp_in, input);
  const bool read_failed = (tail != nullptr && std::ferror(tail) != 0) || std::ferror(fp_in) != 0;
  fpclose(tail);
  if (!copied || std::fflush(input) != 0 || std::ferror(input) != 0) {
    std::fclose(input);
    std::remove(names.input.c_str());
    return read_failed ? kReadError : kWriteError;
  }
  std::rewind(input);
  fp_now = input;
  return nullptr;
}

// Carry-over mode, after the main loop: everything not yet read becomes the
// next tail. It is written under a scratch name and renamed into place only
// when complete, so that a failed or killed run leaves the previous tail as
// it was. Returns an error message, or null.
const char* saveTail(const CarryOverNames& names) {
  std::FILE* out = std::fopen(names.new_tail.c_str(), "wb");
  if (out == nullptr) return kOpenToWriteError;
  const bool copied = copyRest(fp_now, out);
  const bool read_failed = std::ferror(fp_now) != 0;
  const bool complete = closeWritten(out) && copied;
  if (complete && std::rename(names.new_tail.c_str(), names.tail.c_str()) == 0) return nullptr;
  std::remove(names.new_tail.c_str());
  return read_failed ? kReadError : kWriteError;
}

// Closes the source and, in carry-over mode, removes the run's input file.
void closeInputs(const CarryOverNames& names) {
  if (fp_now != nullptr && fp_now != fp_in) {
    fpclose(fp_now);
    std::remove(names.input.c_str());
  }
  fp_now = nullptr;
  fpclose(fp_in);
}

// Converts the open source into the open target. Returns an error message,
// or null.
const char* convert(const CarryOverNames& names, bool carry_over) {
  const char* error = nullptr;
  if (carry_over) {
    error = openJoinedInput(names);
  } else {
    fp_now = fp_in;
  }
  if (error == nullptr) {
    analyze(fp_now, !carry_over);
    mainLoop();
    if (std::ferror(fp_now) != 0) error = kReadError;
  }
  if (!closeWritten(fp_out) && error == nullptr) error = kWriteError;
  if (error == nullptr && carry_over) error = saveTail(names);
  return error;
}

}  // namespace

CarryOverNames carryOverNames(std::string_view source) {
  const std::string tail = carryOverName("kestro_lastgame_1_", source);
  return {tail, tail + "-input", tail + "-new"};
}

int analyze(std::FILE* file, bool count_unfinished_last) {
  total_shut = 0;
  const long start = std::ftell(file);
  FixedText piece;
  bool continuation = false;
  bool last_line_is_shutdown = false;
  bool last_piece_ended = true;
  while (readLine(file, piece)) {
    // Counted as the main loop counts: at the first piece of a line.
    if (!continuation) {
      last_line_is_shutdown = isEvent(piece, "ShutdownGame:");
      if (last_line_is_shutdown) ++total_shut;
    }
    continuation = isCutPiece(piece);
    last_piece_ended = !piece.empty() && piece[piece.size() - 1] == '\n';
  }
  if (!count_unfinished_last && last_line_is_shutdown && !last_piece_ended) --total_shut;
  std::fseek(file, start, SEEK_SET);
  return total_shut;
}

void getGameInfo(std::string_view line) {
  // Newer server builds name the protocol "\com_protocol\"; both forms mark a
  // full server-info line.
  if (!isEvent(line, "InitGame:") || !contains(line, "\\mapname\\") || !contains(line, "protocol\\")) return;
  mapname.assign(upTo(afterKeyword(line, "\\mapname\\"), "\\"));
  gametype.assign(upTo(afterKeyword(line, "\\g_gametype\\"), "\\"));
}

void printGameInfo() {
  std::fprintf(fp_out, "Current map: %s\n", mapname.c_str());
  std::fprintf(fp_out, "GameType: %s\n", gametype.c_str());
}

void printEndGame(std::string_view line) {
  if (!isEvent(line, "ShutdownGame:")) return;
  std::fputs("Timelimit hit.\n", fp_out);
  std::fputs("----- CL_Shutdown -----\n", fp_out);
  init();
}

int run(int argc, char** argv) {
  resetRunState();
  if (argc != 3 && argc != 4) {
    std::fputs("\nInvalid arguments\n", stdout);
    std::fputs("usage: ks-preparse source.log target.log\n", stdout);
    return 1;
  }
  const bool carry_over = argc == 4 && std::strcmp(argv[3], "1") == 0;
  const char* source = argv[1];
  const char* target = argv[2];

  // Both are opened before either is checked: an unreadable source leaves
  // an empty target, which its readers take for a log without games.
  fp_in = std::fopen(source, "rb");
  fp_out = std::fopen(target, "wb");
  const bool source_is_file = isRegularFile(fp_in);
  if (!source_is_file || fp_out == nullptr) {
    printError(!source_is_file ? kOpenToReadError : kOpenToWriteError);
    fpclose(fp_in);
    fpclose(fp_out);
    return 1;
  }
  // Only a file this run made is removed again, never a device.
  const bool target_is_file = isRegularFile(fp_out);

  const CarryOverNames names = carryOverNames(source);
  const char* error = convert(names, carry_over);
  closeInputs(names);
  if (error == nullptr) return 0;
  printError(error);
  if (target_is_file) std::remove(target);
  return 1;
}

}  // namespace preparse
