// The Cvarsmith program run from a shell, with its settings store in a
// private configuration directory.
#include <gtest/gtest.h>

#include <regex>

#include "config_text.h"
#include "program_runner.h"

namespace {

using cvarsmith::testing::hasLine;
using cvarsmith::testing::splitLines;

class CvarsmithProgram : public ::testing::Test {
 protected:
  kstest::TempDir dir;

  void SetUp() override { dir.installProgram("Cvarsmith"); }

  kstest::RunResult run(const std::string& options) {
    return kstest::runIn(dir, "XDG_CONFIG_HOME=\"$PWD/config\" ./Cvarsmith " + options +
                                  " 2>stderr.txt");
  }
  std::string errors() const { return dir.read("stderr.txt"); }
};

TEST_F(CvarsmithProgram, WritesThePresetConfiguration) {
  kstest::RunResult result = run("--preset ctf --write server.cfg");
  ASSERT_EQ(result.status, 0) << errors();
  EXPECT_EQ(result.output, "Config File Generated Successfully\n");
  std::string text = dir.read("server.cfg");
  EXPECT_TRUE(hasLine(text, "set g_gametype                 \"4\""));
  EXPECT_TRUE(hasLine(text, "map \"q3ctf1\""));
}

TEST_F(CvarsmithProgram, DefaultFileIsTheCoreFile) {
  ASSERT_EQ(run("--write default.cfg").status, 0) << errors();
  std::vector<std::string> expected =
      splitLines(cvarsmith::testing::readFile(CVARSMITH_TEST_DATA "/default_server.cfg"));
  std::vector<std::string> actual = splitLines(dir.read("default.cfg"));
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i] != "<date line>") {
      EXPECT_EQ(actual[i], expected[i]);
    }
  }
  EXPECT_TRUE(std::regex_match(actual[4], std::regex(R"(//         on [ \d]\d/[ \d]\d/\d{4} [ \d]\d:\d\d:\d\d          //)")));
}

TEST_F(CvarsmithProgram, OptionsActInOrder) {
  ASSERT_EQ(run("--write ffa.cfg --preset 1v1 --write 1v1.cfg").status, 0) << errors();
  EXPECT_TRUE(hasLine(dir.read("ffa.cfg"), "set g_gametype                 \"0\""));
  EXPECT_TRUE(hasLine(dir.read("1v1.cfg"), "set g_gametype                 \"1\""));
}

TEST_F(CvarsmithProgram, UnwritableFileFailsWithStatusOne) {
  kstest::RunResult result = run("--write no-such-dir/server.cfg");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(errors(), "Unable to open output file.\n");
  EXPECT_EQ(result.output, "");
  if (std::filesystem::exists("/dev/full")) {
    EXPECT_EQ(run("--write /dev/full").status, 1);
  }
}

TEST_F(CvarsmithProgram, UsageErrorsChangeNothing) {
  for (const char* options : {"--write a.cfg --preset duel", "--write a.cfg --bogus",
                              "--write a.cfg --exe", "--write a.cfg --explain sv_fps", "",
                              "--write ''"}) {
    kstest::RunResult result = run(options);
    EXPECT_EQ(result.status, 2) << options;
    EXPECT_FALSE(errors().empty()) << options;
    EXPECT_FALSE(dir.exists("a.cfg")) << options;
  }
}

TEST_F(CvarsmithProgram, HelpAndExplain) {
  kstest::RunResult help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("Usage: Cvarsmith", 0), 0u);

  kstest::RunResult button = run("--explain 'Load .cfg'");
  EXPECT_EQ(button.status, 0);
  EXPECT_EQ(button.output, "\nClick to read in a config file.\n");

  kstest::RunResult quad = run("--explain replace_quad");
  EXPECT_EQ(quad.output,
            "set replace_quad <bitmask>\nSpecifies if a weapon or powerup is to be replaced with "
            "another on any map. (512 - Quad)\n");
  // Three entries of two lines each, separated by empty lines.
  std::string dmflags = run("--explain dmflags").output;
  EXPECT_EQ(std::count(dmflags.begin(), dmflags.end(), '\n'), 8);
}

TEST_F(CvarsmithProgram, ExecutablePathFromStoreOptionAndPreset) {
  dir.write("config/Cvarsmith/Cvarsmith.conf", "[General]\nQ3EXEPATH=/srv/q3/ioq3ded\n");
  EXPECT_EQ(run("--explain exe_path").output.substr(0, 16), "/srv/q3/ioq3ded\n");
  EXPECT_EQ(run("--exe /opt/game/q3ded --explain exe_path").output.substr(0, 20),
            "/opt/game/q3ded\nQuak");
  // A preset restores every default, the executable path included.
  EXPECT_EQ(run("--exe /opt/game/q3ded --preset ffa --explain exe_path").output.substr(0, 16),
            "/srv/q3/ioq3ded\n");
}

}  // namespace
