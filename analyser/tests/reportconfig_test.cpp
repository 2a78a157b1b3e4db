#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "program_runner.h"
#include "reportconfig.h"

namespace {

// Reads `content` as the report configuration into `config`; returns what
// was printed.
std::string readConfigFrom(const kstest::TempDir& dir, const std::string& content, ReportConfig& config) {
  dir.write("report.cfg", content);
  config.path.assign((dir.path() / "report.cfg").string());
  ::testing::internal::CaptureStdout();
  EXPECT_FALSE(readConfig(config).failed());
  return ::testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(ReportConfig, ACommentOnlyFileKeepsEveryDefaultAndPrintsTheBlock) {
  kstest::TempDir dir;
  ReportConfig config;
  std::string out = readConfigFrom(dir, "# nothing but a comment\n#file_extension:\n#htm\n", config);
  std::string rule = "     ------------------------------------------------------------\n";
  EXPECT_EQ(out, rule + "                             Configuration\n" + rule +
                     "                       config file: " + config.path.c_str() + "\n" +
                     "                    file extension: html\n"
                     "                        stylesheet: c-kestro.css\n"
                     "                make weapon stats?: yes\n"
                     "     display unknown team players?: no\n"
                     "                       header file: c-header.html\n"
                     "                       footer file: c-footer.html\n" +
                     rule);
  EXPECT_TRUE(config.use_name_colors);
  EXPECT_TRUE(config.use_weapon_colors);
}

TEST(ReportConfig, KeyLinesTakeTheWholeNextLineAsTheirValue) {
  kstest::TempDir dir;
  ReportConfig config;
  readConfigFrom(dir,
                 "file_extension:\r\nhtm\r\n"
                 "make_weapon_stats:\nYes\n"           // only the exact "yes" is on
                 "stylesheet: \nmine.css\n"            // a trailing blank: no key line
                 "header_file:\n#top.html\n"           // a value may start with "#"
                 "use_name_colors:\nyes\nuse_name_colors:\nno\n"  // the last value wins
                 "footer_file:\n",                     // a key on the last line keeps its default
                 config);
  EXPECT_EQ(config.file_extension.view(), "htm");
  EXPECT_EQ(config.make_weapon_stats_text.view(), "Yes");
  EXPECT_FALSE(config.make_weapon_stats);
  EXPECT_EQ(config.stylesheet.view(), "c-kestro.css");
  EXPECT_EQ(config.header_file.view(), "#top.html");
  EXPECT_EQ(config.use_name_colors_text.view(), "no");
  EXPECT_EQ(config.footer_file.view(), "c-footer.html");
}

TEST(ReportConfig, AMissingFileIsReported) {
  ReportConfig config;
  config.path.assign("/nonexistent/report.cfg");
  ::testing::internal::CaptureStdout();
  EXPECT_EQ(readConfig(config).failure, Failure::kUsage);
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "ERROR: could not open config file \"/nonexistent/report.cfg\"\n");
}
