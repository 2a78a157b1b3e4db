// A fixture that gives every test a clean player table and game state, the
// default report settings, and a scratch working directory with an html/
// folder, so that games written by the pipeline land somewhere harmless.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "game_state.h"
#include "kestrostats_c.h"
#include "page_writer.h"
#include "players.h"
#include "program_runner.h"
#include "reportconfig.h"
#include "text.h"

class AnalyserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetGame();
    previous_dir_ = std::filesystem::current_path();
    std::filesystem::create_directory(dir_.path() / "html");
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    fpclose(fp);
    fpclose(fpw);
    freeMallocs();
    std::filesystem::current_path(previous_dir_);
  }

  // A fresh run: empty player table, initial game state, default settings.
  static void resetGame() {
    fpclose(fp);
    initPlayers();
    initGlobals();
    g_mod = 0;
    g_log_type = 0;
    g_game_count = kFirstGameCount;
    g_realtime_stats = 0;
    g_time_now.assign("2026-12-07,20-44-01");
    useDefaultReportSettings();
    freeMallocs();
  }

  static void useDefaultReportSettings() {
    g_config_file_extension.assign("html");
    g_config_stylesheet.assign("c-kestro.css");
    g_config_make_weapon_stats.assign("yes");
    g_config_use_weapon_colors.assign("yes");
    g_config_use_name_colors.assign("yes");
    g_config_display_unknown_team_players.assign("no");
    g_config_header_file.assign("c-header.html");
    g_config_footer_file.assign("c-footer.html");
  }

 public:
  // Adds players by raw name, in order (indices 0, 1, ...).
  static void addPlayers(std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) addPlayer(n);
  }

  // Runs `log` through the console pipeline and returns what it printed.
  static std::string runLog(const std::string& log) {
    fp = std::tmpfile();
    std::fputs(log.c_str(), fp);
    std::rewind(fp);
    ::testing::internal::CaptureStdout();
    readLog();
    std::string out = ::testing::internal::GetCapturedStdout();
    fpclose(fp);
    return out;
  }

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

 private:
  std::filesystem::path previous_dir_;
};

// Report tests use the same fixture.
using ReportTest = AnalyserTest;
