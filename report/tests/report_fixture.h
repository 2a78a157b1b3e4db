// A fixture for report tests: a clean game, the default report settings, and
// a scratch working directory with an html/ folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "analyser_fixture.h"
#include "page_writer.h"
#include "program_runner.h"
#include "reportconfig.h"

class ReportTest : public AnalyserTest {
 protected:
  void SetUp() override {
    AnalyserTest::SetUp();
    g_config_file_extension.assign("html");
    g_config_stylesheet.assign("c-kestro.css");
    g_config_make_weapon_stats.assign("yes");
    g_config_use_weapon_colors.assign("yes");
    g_config_use_name_colors.assign("yes");
    g_config_display_unknown_team_players.assign("no");
    g_config_header_file.assign("c-header.html");
    g_config_footer_file.assign("c-footer.html");
    g_time_now.assign("2026-12-07,20-44-01");
    g_realtime_stats = 0;
    previous_dir_ = std::filesystem::current_path();
    std::filesystem::create_directory(dir_.path() / "html");
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    fpclose(fpw);
    std::filesystem::current_path(previous_dir_);
    AnalyserTest::TearDown();
  }

 public:
  // What `write` writes to the page.
  static std::string render(const std::function<void()>& write) {
    fpw = std::tmpfile();
    write();
    std::string out;
    std::rewind(fpw);
    for (int c; (c = std::fgetc(fpw)) != EOF;) out += static_cast<char>(c);
    fpclose(fpw);
    return out;
  }

  static int countOf(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  kstest::TempDir dir_;

 protected:
  std::filesystem::path previous_dir_;
};
