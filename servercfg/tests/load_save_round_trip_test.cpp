// Loading a .cfg and saving it again keeps every setting the file held.
//
// The property: for every row of the loader's table and many values of it,
// the default file with the line "set NAME VALUE" added is loaded and saved;
// the saved file then sets NAME to the value the loader read, or the loader
// listed the line as a problem. Then a hand-written file that sets every
// derived variable in unusual ways comes back unchanged.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <regex>

#include "config_line.h"
#include "config_loader.h"
#include "config_text.h"
#include "config_writer.h"
#include "fakes.h"
#include "loader_table.h"
#include "program_runner.h"

namespace cvarsmith {
namespace {

using testing::FakePlatform;
using testing::setLinesOf;
using testing::splitLines;

// A value as it stands in the line after the name, and what the loader must
// read from it.
struct NumberSample {
  std::string written;
  int number;
};
struct TextSample {
  std::string written;
  std::string word;
};
struct RealSample {
  std::string written;
  double number;
};

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

// Whole numbers in the forms a hand-written file uses: quoted, bare, with a
// comment right after it, with junk after the digits.
std::vector<NumberSample> numberForms(const std::vector<int>& numbers) {
  std::vector<NumberSample> samples;
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    const int n = numbers[i];
    const std::string digits = std::to_string(n);
    switch (i % 4) {
      case 0: samples.push_back({inQuotes(digits), n}); break;
      case 1: samples.push_back({digits, n}); break;
      case 2: samples.push_back({digits + "// note", n}); break;
      default: samples.push_back({inQuotes(digits + "abc"), n}); break;
    }
  }
  samples.push_back({inQuotes(""), 0});
  samples.push_back({"", 0});
  samples.push_back({"abc", 0});
  samples.push_back({inQuotes(" +12 "), 12});
  samples.push_back({"99999999999", INT_MAX});
  samples.push_back({"-99999999999", INT_MIN});
  return samples;
}

std::vector<int> randomNumbers(std::mt19937& random, int count, int low, int high) {
  std::uniform_int_distribution<int> pick(low, high);
  std::vector<int> numbers;
  for (int i = 0; i < count; ++i) numbers.push_back(pick(random));
  return numbers;
}

std::vector<NumberSample> flagSamples() {
  return numberForms({0, 1, 2, -1, 7, 1, 0, INT_MIN});
}

std::vector<NumberSample> integerSamples(std::mt19937& random) {
  std::vector<int> numbers = {0, 1, -1, 2, 20, 255, 256, 1023, 5000, 65535, INT_MAX, INT_MIN};
  for (int n : randomNumbers(random, 8, INT_MIN, INT_MAX)) numbers.push_back(n);
  return numberForms(numbers);
}

// Masks and coded values: every single bit, small values, and random ones.
std::vector<NumberSample> codedSamples(std::mt19937& random) {
  std::vector<int> numbers = {-1, INT_MAX, INT_MIN, 1023, 255, 257, 511, 15};
  for (int bit = 0; bit < 31; ++bit) numbers.push_back(1 << bit);
  for (int n = 0; n <= 9; ++n) numbers.push_back(n);
  for (int n : randomNumbers(random, 12, 0, 2047)) numbers.push_back(n);
  for (int n : randomNumbers(random, 6, INT_MIN, INT_MAX)) numbers.push_back(n);
  return numberForms(numbers);
}

std::vector<NumberSample> replacementSamples() {
  std::vector<int> numbers = {0, 3, -1, 12, 16384, 8193};
  for (int k = 0; k < 14; ++k) numbers.push_back(1 << k);
  return numberForms(numbers);
}

std::vector<RealSample> realSamples() {
  return {{inQuotes("3.0000"), 3.0},   {inQuotes("2.75"), 2.75},     {"4", 4.0},
          {inQuotes("0.1"), 0.1},      {"3.14159", 3.14159},       {inQuotes("1e-7"), 1e-7},
          {"-2.5// x", -2.5},        {inQuotes(".5"), 0.5},        {inQuotes("1e300"), 1e300},
          {inQuotes("12345678.123456789"), 12345678.123456789},    {"abc", 0.0},
          {inQuotes(""), 0.0},         {inQuotes("-0"), -0.0}};
}

// Texts: the awkward fixed ones, then random ones from an alphabet with
// blanks, tabs, comment marks, backslashes and bytes above 127.
std::vector<TextSample> textSamples(std::mt19937& random) {
  std::vector<TextSample> samples = {
      {inQuotes(""), ""},
      {inQuotes("none"), "none"},
      {"none", "none"},
      {inQuotes("  blanks around  "), "  blanks around  "},
      {inQuotes("a // not a comment"), "a // not a comment"},
      {"bare// comment", "bare"},
      {inQuotes("tab\there"), "tab\there"},
      {inQuotes("C:\\games\\log.txt"), "C:\\games\\log.txt"},
      {inQuotes("\xe9t\xe9 ^1red"), "\xe9t\xe9 ^1red"},
      {inQuotes(std::string(255, 'n')), std::string(255, 'n')},
      {inQuotes(std::string(256, 'n')), std::string(256, 'n')},
      {inQuotes(std::string(400, 'n')), std::string(400, 'n')},
      {"bare\"quote", "bare\"quote"},         // a double quote the writer cannot write
      {inQuotes("carriage\rreturn"), "carriage\rreturn"},
  };
  const std::string alphabet =
      "abcXYZ019 \t/\\^.:-_*'()[]{}#%&+=?!~`\x01\x7f\x80\xa0\xe9\xff";
  std::uniform_int_distribution<std::size_t> length(0, 300);
  std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
  for (int i = 0; i < 16; ++i) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += alphabet[letter(random)];
    samples.push_back({inQuotes(text), text});
  }
  return samples;
}

bool isPowerOfTwoUpTo8192(int n) { return n > 0 && n <= 8192 && (n & (n - 1)) == 0; }

// What the saved file must hold for a row after a value was loaded.
struct Expected {
  enum class Kind { Value, NoLine, Listed } kind = Kind::Value;
  std::string value;
};

Expected value(std::string text) { return {Expected::Kind::Value, std::move(text)}; }
Expected listed() { return {Expected::Kind::Listed, ""}; }
Expected noLine() { return {Expected::Kind::NoLine, ""}; }

Expected expectedForNumber(const LoaderEntry& entry, int number) {
  if (std::holds_alternative<NoTarget>(entry.target)) {
    return value("0");  // g_needpass follows the (default, empty) server password
  }
  if (std::holds_alternative<FlagTarget>(entry.target)) return value(number != 0 ? "1" : "0");
  if (std::holds_alternative<ReplacementTarget>(entry.target) && !isPowerOfTwoUpTo8192(number)) {
    return listed();
  }
  return value(std::to_string(number));
}

Expected expectedForText(const LoaderEntry& entry, const std::string& word) {
  const TextTarget& target = std::get<TextTarget>(entry.target);
  if (!fitsInConfigLine(word)) return listed();
  if (word.size() > target.maxLength) return listed();
  // No admin log: the writer leaves the line out.
  if (std::string_view(entry.name) == "admin_log" && (word.empty() || word == "none")) {
    return noLine();
  }
  return value(word);
}

class LoadSaveProperty : public ::testing::Test {
 protected:
  void SetUp() override {
    fake.messages.answerOk = false;  // mode_start: keep the file's own values
    RenderedConfig rendered = renderConfig(ServerSettings{}, fake.clock.localNow(), false);
    defaults = rendered.text;
    addedLineNumber = static_cast<int>(splitLines(defaults).size()) + 1;
  }

  // The default file plus `line`, loaded into start-up settings and saved.
  struct Outcome {
    std::string problems;
    std::string saved;
  };
  Outcome roundTrip(const std::string& line) {
    dir.write("in.cfg", defaults + line + "\n");
    ServerSettings settings = startUpSettings(fake.store);
    LoadReport report =
        loadConfigFile(settings, (dir.path() / "in.cfg").string(), fake.messages, fake.store);
    const std::string out = (dir.path() / "out.cfg").string();
    fake.files.answer = ChosenFile{out, "out.cfg"};
    ConfigWriterMemory memory;
    const WriteOutcome written =
        writeConfig(settings, memory, WriteMode::Prompted, std::nullopt, fake.platform);
    EXPECT_EQ(written, WriteOutcome::Written) << line;
    return {report.problems, written == WriteOutcome::Written ? dir.read("out.cfg") : ""};
  }

  bool addedLineListed(const Outcome& outcome) const {
    char number[16];
    std::snprintf(number, sizeof number, "%3d: ", addedLineNumber);
    return outcome.problems.find(number) != std::string::npos;
  }

  void check(const LoaderEntry& entry, const std::string& written, const Expected& expected) {
    const std::string line = std::string("set ") + entry.name + " " + written;
    const Outcome outcome = roundTrip(line);
    const std::vector<std::string> saved = setLinesOf(outcome.saved, entry.name);
    switch (expected.kind) {
      case Expected::Kind::Listed:
        EXPECT_TRUE(addedLineListed(outcome)) << line;
        return;
      case Expected::Kind::NoLine:
        EXPECT_FALSE(addedLineListed(outcome)) << line;
        EXPECT_TRUE(saved.empty()) << line;
        return;
      case Expected::Kind::Value:
        EXPECT_FALSE(addedLineListed(outcome)) << line;
        char head[64];
        std::snprintf(head, sizeof head, "set %-27s", entry.name);
        EXPECT_EQ(saved, std::vector<std::string>{head + inQuotes(expected.value)}) << line;
        return;
    }
  }

  void checkReal(const LoaderEntry& entry, const RealSample& sample) {
    const std::string line = std::string("set ") + entry.name + " " + sample.written;
    const std::vector<std::string> saved = setLinesOf(roundTrip(line).saved, entry.name);
    ASSERT_EQ(saved.size(), 1u) << line;
    const std::size_t open = saved[0].find('"');
    const double reread = std::strtod(saved[0].c_str() + open + 1, nullptr);
    EXPECT_EQ(reread, sample.number) << line << " saved as " << saved[0];
  }

  kstest::TempDir dir;
  FakePlatform fake;
  std::string defaults;
  int addedLineNumber = 0;
};

TEST_F(LoadSaveProperty, EveryRowKeepsTheValueItLoaded) {
  std::mt19937 random(20240518);
  for (const LoaderEntry& entry : kLoaderEntries) {
    SCOPED_TRACE(entry.name);
    if (std::holds_alternative<TextTarget>(entry.target)) {
      for (const TextSample& sample : textSamples(random)) {
        check(entry, sample.written, expectedForText(entry, sample.word));
      }
    } else if (std::holds_alternative<RealTarget>(entry.target)) {
      for (const RealSample& sample : realSamples()) checkReal(entry, sample);
    } else {
      std::vector<NumberSample> samples;
      if (std::holds_alternative<DecodedTarget>(entry.target)) {
        samples = codedSamples(random);
      } else if (std::holds_alternative<ReplacementTarget>(entry.target)) {
        samples = replacementSamples();
      } else if (entry.kind == LoaderKind::Flag) {
        samples = flagSamples();
      } else {
        samples = integerSamples(random);
      }
      for (const NumberSample& sample : samples) {
        check(entry, sample.written, expectedForNumber(entry, sample.number));
      }
    }
  }
}

TEST_F(LoadSaveProperty, MapLineKeepsItsName) {
  std::mt19937 random(1999);
  for (const TextSample& sample : textSamples(random)) {
    if (sample.written.front() != '"') continue;  // a bare map name ends at a blank, not a "//"
    const std::string line = "map " + sample.written;
    const Outcome outcome = roundTrip(line);
    if (!fitsInConfigLine(sample.word)) {
      EXPECT_TRUE(addedLineListed(outcome)) << line;
      continue;
    }
    EXPECT_FALSE(addedLineListed(outcome)) << line;
    std::vector<std::string> mapLines;
    for (const std::string& saved : splitLines(outcome.saved)) {
      if (saved.rfind("map ", 0) == 0) mapLines.push_back(saved);
    }
    EXPECT_EQ(mapLines, std::vector<std::string>{"map " + inQuotes(sample.word)});
  }
}

// Written by hand in the writer's layout, with the log files, the MOTD
// lines, every derived variable, groups switched off with values kept, and
// mask bits that no check box stands for.
TEST(HandWrittenFile, ComesBackUnchangedButForItsDate) {
  kstest::TempDir dir;
  FakePlatform fake;
  ServerSettings settings = startUpSettings(fake.store);
  LoadReport report =
      loadConfigFile(settings, CVARSMITH_TEST_DATA "/hand_written.cfg", fake.messages, fake.store);
  EXPECT_EQ(report.problems, "");
  EXPECT_TRUE(fake.messages.asked.empty());
  EXPECT_TRUE(settings.files.adminLogEnabled);

  fake.files.answer = ChosenFile{(dir.path() / "saved.cfg").string(), "saved.cfg"};
  ConfigWriterMemory memory;
  ASSERT_EQ(writeConfig(settings, memory, WriteMode::Prompted, std::nullopt, fake.platform),
            WriteOutcome::Written);
  std::vector<std::string> original =
      splitLines(testing::readFile(CVARSMITH_TEST_DATA "/hand_written.cfg"));
  std::vector<std::string> saved = splitLines(dir.read("saved.cfg"));
  ASSERT_EQ(saved.size(), original.size());
  EXPECT_EQ(saved[4], "//         on 12/ 7/2024  9:05:03          //");
  for (std::size_t i = 0; i < original.size(); ++i) {
    if (i != 4) {
      EXPECT_EQ(saved[i], original[i]) << "line " << i + 1;
    }
  }
}

}  // namespace
}  // namespace cvarsmith
