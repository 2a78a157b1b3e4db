#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "program_runner.h"
#include "reportconfig.h"

namespace {

// Reads `content` as the report configuration; returns what was printed.
std::string readConfigFrom(const kstest::TempDir& dir, const std::string& content) {
  dir.write("report.cfg", content);
  g_config.assign((dir.path() / "report.cfg").string());
  ::testing::internal::CaptureStdout();
  readConfig();
  return ::testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(ReportConfig, ACommentOnlyFileKeepsEveryDefaultAndPrintsTheBlock) {
  kstest::TempDir dir;
  std::string out = readConfigFrom(dir, "# nothing but a comment\n#file_extension:\n#htm\n");
  std::string rule = "     ------------------------------------------------------------\n";
  EXPECT_EQ(out, rule + "                             Configuration\n" + rule +
                     "                       config file: " + g_config.c_str() + "\n" +
                     "                    file extension: html\n"
                     "                        stylesheet: c-kestro.css\n"
                     "                make weapon stats?: yes\n"
                     "     display unknown team players?: no\n"
                     "                       header file: c-header.html\n"
                     "                       footer file: c-footer.html\n" +
                     rule);
  EXPECT_TRUE(isYes(g_config_use_name_colors));
  EXPECT_TRUE(isYes(g_config_use_weapon_colors));
}

TEST(ReportConfig, KeyLinesTakeTheWholeNextLineAsTheirValue) {
  kstest::TempDir dir;
  readConfigFrom(dir,
                 "file_extension:\r\nhtm\r\n"
                 "make_weapon_stats:\nYes\n"           // only the exact "yes" is on
                 "stylesheet: \nmine.css\n"            // a trailing blank: no key line
                 "header_file:\n#top.html\n"           // a value may start with "#"
                 "use_name_colors:\nyes\nuse_name_colors:\nno\n"  // the last value wins
                 "footer_file:\n");                    // a key on the last line keeps its default
  EXPECT_EQ(g_config_file_extension.view(), "htm");
  EXPECT_EQ(g_config_make_weapon_stats.view(), "Yes");
  EXPECT_FALSE(isYes(g_config_make_weapon_stats));
  EXPECT_EQ(g_config_stylesheet.view(), "c-kestro.css");
  EXPECT_EQ(g_config_header_file.view(), "#top.html");
  EXPECT_EQ(g_config_use_name_colors.view(), "no");
  EXPECT_EQ(g_config_footer_file.view(), "c-footer.html");
}

TEST(ReportConfigDeathTest, AMissingFileEndsTheProgramWithStatus1) {
  g_config.assign("/nonexistent/report.cfg");
  EXPECT_EXIT(readConfig(), ::testing::ExitedWithCode(1), "");
}
