// A fixture that gives every test a fresh kestrostats-c run: an empty
// player table and game state, the default report settings, and a scratch
// working directory with an html/ folder, so that games written by the
// console's reading of a log land somewhere harmless.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "game.h"
#include "console_run.h"
#include "keyword_index.h"
#include "line_pipeline.h"
#include "line_event.h"
#include "game_report.h"
#include "players.h"
#include "program_runner.h"
#include "reportconfig.h"
#include "text.h"

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    console_ = std::make_unique<ConsoleRun>();
    current_ = console_.get();
    resetGame();
    previous_dir_ = std::filesystem::current_path();
    std::filesystem::create_directory(dir_.path() / "html");
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    fpclose(run().log);
    fpclose(console().rotation);
    current_ = nullptr;
    std::filesystem::current_path(previous_dir_);
  }

 public:
  // The run of the test being run.
  static ConsoleRun& console() { return *current_; }
  static Game& game() { return *current_->game; }
  static ::Run& run() { return current_->run; }
  static ReportConfig& config() { return current_->config; }

  // A fresh run: empty player table, initial game state, default settings.
  static void resetGame() {
    fpclose(run().log);
    initPlayers(game());
    initGame(game());
    run() = ::Run{};
    run().time_now.assign("2026-12-07,20-44-01");
    config() = ReportConfig{};
  }

  // Adds players by raw name, in order (indices 0, 1, ...).
  static void addPlayers(std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) addPlayer(game(), n);
  }

  // Runs `log` through kestrostats-c's reading and returns what it printed.
  static std::string runLog(const std::string& log) {
    run().log = std::tmpfile();
    std::fputs(log.c_str(), run().log);
    std::rewind(run().log);
    ::testing::internal::CaptureStdout();
    readLog(console());
    std::string out = ::testing::internal::GetCapturedStdout();
    fpclose(run().log);
    return out;
  }

  // The event of one console line, for the handlers under test.
  struct Line {
    explicit Line(std::string_view text) : text_(text), scan(consoleKeywordIndex(), text_), event(scan) {}
    std::string text_;
    LineScan scan;
    LineEvent event;
  };

  // What `write` writes to the report of the game in the table.
  static std::string render(const std::function<void(Report&)>& write) {
    Report report(game(), run(), config(), console().site);
    write(report);
    return report.mainPage();
  }

  // Writes the report of the game in the table to html/, as the program
  // does (through `file_system`), and remembers the page names.
  static PageResult makeHtml(FileSystem& file_system = realFileSystem()) {
    console().site = loadSiteFiles(config());
    Report report(game(), run(), config(), console().site);
    ::makeHtml(report);
    out_filename_stats = report.out_filename_stats;
    out_filename_wepns = report.out_filename_wepns;
    return writePages(report, console().rotation, file_system);
  }

  static int countOf(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  // Names of the pages makeHtml() wrote last.
  static inline std::string out_filename_stats;
  static inline std::string out_filename_wepns;

  kstest::TempDir dir_;

 private:
  static inline ConsoleRun* current_ = nullptr;
  std::unique_ptr<ConsoleRun> console_;
  std::filesystem::path previous_dir_;
};

using ReportTest = ConsoleTest;
