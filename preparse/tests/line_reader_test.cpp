// Tests of the input side: how lines are cut into pieces, the look-ahead
// hand-back, reading an input made of a file and bytes in memory, and where
// a run's handled part ends (findEndOfGames), checked against a plain
// forward count over the same pieces.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "end_of_games.h"
#include "line_reader.h"
#include "line_text.h"
#include "log_input.h"
#include "program_runner.h"

using namespace preparse;

namespace {

struct ReadPiece {
  std::string text;
  bool continuation;
  bool cut;
  friend bool operator==(const ReadPiece&, const ReadPiece&) = default;
};

std::vector<ReadPiece> readAll(const LogInput& input, std::uint64_t begin, std::uint64_t end) {
  LineReader reader(input, begin, end);
  std::vector<ReadPiece> pieces;
  std::string_view line;
  while (reader.nextLine(line)) pieces.push_back({std::string(line), reader.lineIsContinuation(), reader.lineIsCut()});
  EXPECT_FALSE(reader.failed());
  return pieces;
}

// The input keeps a view of `bytes`, which must outlive it.
LogInput inMemory(const std::string& bytes) {
  LogInput input;
  input.addBytes(bytes);
  return input;
}

// A file in a scratch directory, open for reading while the object lives.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    dir_.write("input.log", bytes);
    fd_ = ::open((dir_.path() / "input.log").c_str(), O_RDONLY);
  }
  ~TempFile() { ::close(fd_); }
  int fd() const { return fd_; }

 private:
  kstest::TempDir dir_;
  int fd_ = -1;
};

}  // namespace

TEST(LineReader, CutsLinesAsAFixedBufferReaderDoes) {
  const std::string overlong = std::string(509, 'a') + std::string(600, 'b') + "\n";
  const std::string with_nul = std::string("say: x\0ShutdownGame:\n", 21);
  const std::string nul_at_limit = std::string(508, 'c') + '\0' + "ShutdownGame: rest\n";
  const std::vector<ReadPiece> pieces = readAll(inMemory("one\r\n" + overlong + with_nul + nul_at_limit + "last"), 0,
                                                5 + overlong.size() + with_nul.size() + nul_at_limit.size() + 4);
  const std::vector<ReadPiece> expected = {
      {"one\r\n", false, false},
      {std::string(509, 'a'), false, true},
      {std::string(509, 'b'), true, true},
      {std::string(91, 'b') + "\n", true, false},
      // The text ends at the NUL; the rest of the line is taken with it.
      {"say: x", false, false},
      // A piece that a NUL cut short is no cut line: its rest counts as a
      // line of its own, as it always has.
      {std::string(508, 'c'), false, false},
      {"ShutdownGame: rest\n", false, false},
      {"last", false, false},
  };
  EXPECT_EQ(pieces, expected);
}

TEST(LineReader, HandsBackTheLastLineWithItsFlags) {
  const std::string log = std::string(509, 'x') + "tail\nnext\n";
  const LogInput input = inMemory(log);
  LineReader reader(input, 0, input.size());
  std::string_view line;
  ASSERT_TRUE(reader.nextLine(line));
  ASSERT_TRUE(reader.nextLine(line));
  EXPECT_EQ(line, "tail\n");
  reader.unreadLine();
  ASSERT_TRUE(reader.nextLine(line));
  EXPECT_EQ(line, "tail\n");
  EXPECT_TRUE(reader.lineIsContinuation());
  EXPECT_FALSE(reader.lineIsCut());
  ASSERT_TRUE(reader.nextLine(line));
  EXPECT_EQ(line, "next\n");
  EXPECT_FALSE(reader.lineIsContinuation());
  EXPECT_FALSE(reader.nextLine(line));
}

TEST(LineReader, FileAndMemoryPartsReadAsOneStream) {
  // Lines of every length around the piece limit, more than one read
  // buffer's worth, NUL bytes here and there; the first part ends inside a
  // line, as a tail cut off by a log truncation does.
  std::mt19937 random(3);
  std::string log;
  while (log.size() < 3 * 1024 * 1024) {
    const std::size_t length = random() % 4 == 0 ? 400 + random() % 700 : random() % 90;
    for (std::size_t i = 0; i < length; ++i) log.push_back(random() % 97 == 0 ? '\0' : static_cast<char>('a' + i % 26));
    log.push_back('\n');
  }
  const std::size_t split = 1234567;
  TempFile source(log.substr(split));
  LogInput joined;
  joined.addBytes(std::string_view(log).substr(0, split));
  joined.addFile(source.fd(), log.size() - split);
  EXPECT_TRUE(readAll(joined, 0, joined.size()) == readAll(inMemory(log), 0, log.size()));

  // A file that is shorter than announced is an incomplete input.
  LogInput truncated;
  truncated.addFile(source.fd(), log.size());
  LineReader reader(truncated, 0, truncated.size());
  std::string_view line;
  while (reader.nextLine(line)) {
  }
  EXPECT_TRUE(reader.failed());
}

namespace {

// The old way: count the "ShutdownGame:" lines going forwards, then find
// where the handling of the last counted one (its continuing pieces
// included) ends.
std::uint64_t endByForwardCount(const std::string& log, bool count_unfinished_last) {
  const LogInput input = inMemory(log);
  LineReader reader(input, 0, input.size());
  std::string_view line;
  std::uint64_t at = 0;
  std::vector<std::uint64_t> ends;
  bool extending = false;
  bool last_is_shutdown = false;
  bool last_ended = true;
  while (reader.nextLine(line)) {
    at += reader.lineLength();
    if (!reader.lineIsContinuation()) {
      last_is_shutdown = isEvent(line, "ShutdownGame:");
      if (last_is_shutdown) ends.push_back(at);
      extending = last_is_shutdown && reader.lineIsCut();
    } else if (extending) {
      ends.back() = at;
      extending = reader.lineIsCut();
    }
    last_ended = !line.empty() && line.back() == '\n';
  }
  if (!count_unfinished_last && last_is_shutdown && !last_ended) ends.pop_back();
  return ends.empty() ? 0 : ends.back();
}

}  // namespace

TEST(FindEndOfGames, MatchesAForwardCountFromFileAndFromMemory) {
  const std::string shutdown = "  0:09 ShutdownGame:\n";
  const std::string overlong_shutdown = "  0:09 ShutdownGame: " + std::string(1200, 's') + "\n";
  const std::string nul_then_shutdown = std::string(508, 'n') + '\0' + "ShutdownGame:" + std::string(600, 'r');
  const std::string huge_line = std::string(150000, 'h') + "\n";  // longer than the scan's window
  const std::vector<std::string> logs = {
      "",
      "no games here\n",
      shutdown,
      "a\n" + shutdown + "b\n",
      "a\n" + shutdown + "  0:10 ShutdownGame:",  // unfinished at the end
      "a\n" + shutdown + "  0:10 ShutdownGame:\r",
      shutdown + overlong_shutdown,
      shutdown + overlong_shutdown.substr(0, 700),
      shutdown + nul_then_shutdown,
      shutdown + nul_then_shutdown + "\n" + huge_line,
      huge_line + shutdown + huge_line + huge_line,
      shutdown + std::string(200000, 'x'),
      std::string(509, 'c') + "ShutdownGame:\n",  // a continuation is no event
  };
  for (const std::string& log : logs) {
    for (bool count_unfinished : {true, false}) {
      const std::uint64_t expected = endByForwardCount(log, count_unfinished);
      const LogInput memory = inMemory(log);
      EXPECT_EQ(findEndOfGames(memory, count_unfinished).offset, expected) << log.substr(0, 80);
      TempFile file(log);
      LogInput from_file;
      from_file.addFile(file.fd(), log.size());
      const EndOfGames end = findEndOfGames(from_file, count_unfinished);
      EXPECT_EQ(end.offset, expected) << log.substr(0, 80);
      EXPECT_FALSE(end.read_failed);
    }
  }
}

TEST(FindEndOfGames, RandomLogsOfAwkwardLines) {
  const std::string kinds[] = {
      "  0:01 ShutdownGame:\n", "ShutdownGame:", "  0:02 Kill: 0 1 10: a killed b by MOD_RAILGUN\n",
      std::string(509, 'w'),    std::string("x\0", 2), "\n", std::string(70000, 'l'), "\r\n",
  };
  std::mt19937 random(17);
  for (int round = 0; round < 200 && !HasFailure(); ++round) {
    std::string log;
    const int parts = static_cast<int>(random() % 30);
    for (int i = 0; i < parts; ++i) log += kinds[random() % std::size(kinds)];
    for (bool count_unfinished : {true, false}) {
      TempFile file(log);
      LogInput from_file;
      from_file.addFile(file.fd(), log.size());
      EXPECT_EQ(findEndOfGames(from_file, count_unfinished).offset, endByForwardCount(log, count_unfinished))
          << "round " << round;
    }
  }
}
