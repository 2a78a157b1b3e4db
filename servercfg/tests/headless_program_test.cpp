// The Cvarsmith program run from a shell, with its settings store in a
// private configuration directory.
#include <gtest/gtest.h>

#include <filesystem>
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
                              "--write a.cfg --exe", "--write a.cfg --explain sv_fps",
                              "--write ''"}) {
    kstest::RunResult result = run(options);
    EXPECT_EQ(result.status, 2) << options;
    EXPECT_FALSE(errors().empty()) << options;
    EXPECT_FALSE(dir.exists("a.cfg")) << options;
  }
}

TEST_F(CvarsmithProgram, WithoutOptionsOrDisplayItExplainsTheOptions) {
  kstest::RunResult result = kstest::runIn(
      dir, "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=\"$PWD/config\" "
           "./Cvarsmith 2>stderr.txt");
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(errors().find("--write"), std::string::npos) << errors();
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

TEST_F(CvarsmithProgram, LoadListsTheLinesItCannotApply) {
  dir.write("in.cfg",
            "// hand-written\n"
            "exec other.cfg\n"
            "seta sv_hostname \"Loaded Server\"\n"
            "set sv_fps 20\n"
            "map q3dm17");
  kstest::RunResult result = run("--load in.cfg --write out.cfg");
  ASSERT_EQ(result.status, 0) << errors();
  EXPECT_EQ(result.output,
            "There were problems importing the following lines:\n"
            "  2: exec other.cfg\n"
            "  4: set sv_fps 20\n"
            "Config File Generated Successfully\n");
  std::string text = dir.read("out.cfg");
  EXPECT_TRUE(hasLine(text, "set sv_hostname                \"Loaded Server\""));
  EXPECT_TRUE(hasLine(text, "map \"q3dm17\""));

  kstest::RunResult missing = run("--load missing.cfg --write never.cfg");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(errors(), "Error Opening File.\n");
  EXPECT_FALSE(dir.exists("never.cfg"));
}

TEST_F(CvarsmithProgram, LoadOfSomethingNotAFileFails) {
  dir.write("folder/keep.txt", "");
  for (const char* target : {"folder", "/dev/zero"}) {
    if (!std::filesystem::exists(target) && target[0] == '/') continue;
    kstest::RunResult result = run(std::string("--load ") + target + " --write never.cfg");
    EXPECT_EQ(result.status, 1) << target;
    EXPECT_EQ(errors(), "Error Opening File.\n") << target;
    EXPECT_FALSE(dir.exists("never.cfg")) << target;
  }
}

TEST_F(CvarsmithProgram, ModeStartPresetOnlyWithYes) {
  dir.write("ctf.cfg", "set mode_start \"4\"\nset timelimit \"25\"\n");
  ASSERT_EQ(run("--load ctf.cfg --write no.cfg").status, 0) << errors();
  std::string text = dir.read("no.cfg");
  EXPECT_TRUE(hasLine(text, "set g_gametype                 \"0\""));
  EXPECT_TRUE(hasLine(text, "set mode_start                 \"4\""));
  ASSERT_EQ(run("--load ctf.cfg --write yes.cfg --yes").status, 0) << errors();
  text = dir.read("yes.cfg");
  EXPECT_TRUE(hasLine(text, "set g_gametype                 \"4\""));
  EXPECT_TRUE(hasLine(text, "set timelimit                  \"25\""));
}

TEST_F(CvarsmithProgram, SetAndTheBoxesOutsideTheFile) {
  ASSERT_EQ(run("--set sv_hostname='My  Server' --set G_GAMETYPE=3 --set map_file=maps.txt "
                "--no-log --admin-log admin.log --start-map q3dm6 --write a.cfg")
                .status,
            0)
      << errors();
  std::string text = dir.read("a.cfg");
  EXPECT_TRUE(hasLine(text, "set sv_hostname                \"My  Server\""));
  EXPECT_TRUE(hasLine(text, "set g_gametype                 \"3\""));
  EXPECT_TRUE(hasLine(text, "set map_file                   \"maps.txt\""));
  EXPECT_TRUE(hasLine(text, "set g_log                      \"\""));
  EXPECT_TRUE(hasLine(text, "set admin_log                  \"admin.log\""));
  EXPECT_TRUE(hasLine(text, "map \"q3dm6\""));
  ASSERT_EQ(run("--no-start-map --write b.cfg").status, 0);
  EXPECT_EQ(dir.read("b.cfg").find("\nmap "), std::string::npos);

  for (const char* options : {"--set sv_fps=20 --write c.cfg", "--set replace_quad=12 --write c.cfg",
                              "--set 'sv_hostname=a\"b' --write c.cfg",
                              "--set =1 --write c.cfg", "--net-ip 1.2.3 --write c.cfg",
                              "--net-port 70000 --write c.cfg", "--dedicated lan --write c.cfg",
                              "--hunkmegs x --write c.cfg"}) {
    EXPECT_EQ(run(options).status, 2) << options;
    EXPECT_FALSE(dir.exists("c.cfg")) << options;
  }
}

TEST_F(CvarsmithProgram, BatchWritesTheStartScript) {
  ASSERT_EQ(run("--exe '/opt/quake 3/ioq3ded' --dedicated private --net-ip 10.0.0.1 "
                "--net-port 27961 --hunkmegs 128 --fs-game cpma --config-name '' "
                "--cvar-restart --batch start.sh")
                .status,
            0)
      << errors();
  EXPECT_EQ(dir.read("start.sh"),
            "#!/bin/sh\n"
            "cd '/opt/quake 3' || exit 1\n"
            "'./ioq3ded' +cvar_restart +set com_hunkmegs 128 +set fs_game cpma +set dedicated 1 "
            "+set net_IP 10.0.0.1 +set net_Port 27961 \n");
  EXPECT_EQ(run("--batch no-dir/start.sh").status, 1);
  EXPECT_EQ(errors(), "Unable to open output file.\n");
}

TEST_F(CvarsmithProgram, SpawnListenRunsTheExecutableInItsDirectory) {
  // A stand-in for the game: records its arguments, where it ran and the
  // configuration it was given.
  dir.write("game/osp/.keep", "");
  dir.write("game/fakeq3",
            "#!/bin/sh\n"
            "printf '%s\\n' \"$@\" > args.txt\n"
            "pwd > ran-in.txt\n"
            "cp osp/temp-cfg-file-000111.cfg seen.cfg\n"
            "echo game over\n");
  std::filesystem::permissions(dir.path() / "game/fakeq3", std::filesystem::perms::owner_all);
  kstest::RunResult result = run("--exe \"$PWD/game/fakeq3\" --no-start-map --spawn-listen");
  ASSERT_EQ(result.status, 0) << errors();
  EXPECT_EQ(result.output, "game over\n");
  EXPECT_EQ(dir.read("game/args.txt"),
            "+cvar_restart\n+set\ncom_hunkmegs\n56\n+set\nfs_game\nosp\n+exec\n"
            "temp-cfg-file-000111.cfg\n");
  EXPECT_EQ(dir.read("game/ran-in.txt"),
            std::filesystem::canonical(dir.path() / "game").string() + "\n");
  EXPECT_TRUE(hasLine(dir.read("game/seen.cfg"), "map \"q3dm1\""));
  EXPECT_FALSE(dir.exists("game/osp/temp-cfg-file-000111.cfg"));
  EXPECT_FALSE(dir.exists("game/pellombatchfile-000.sh"));
  // The first --exe answered the first-use question and was stored.
  EXPECT_EQ(run("--explain exe_path").output.substr(0, 2 + dir.path().string().size()),
            dir.path().string() + "/g");

  kstest::RunResult missing = run("--exe \"$PWD/game/nothing\" --spawn-listen");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(errors().find("was unable to locate"), std::string::npos);
}

}  // namespace
