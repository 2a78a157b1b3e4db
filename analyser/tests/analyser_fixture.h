// A fixture that gives every test a fresh game and run: an empty player
// table, the initial game state, and a scratch working directory. runLog()
// drives lines through the line pipeline with the console's bookkeeping
// and no game end, so a test sees the game the lines made.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "events.h"
#include "game.h"
#include "keyword_index.h"
#include "keywords.h"
#include "line_event.h"
#include "line_pipeline.h"
#include "players.h"
#include "program_runner.h"
#include "text.h"

class AnalyserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state_ = std::make_unique<State>();
    current_ = state_.get();
    resetGame();
    previous_dir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    fpclose(run().log);
    current_ = nullptr;
    std::filesystem::current_path(previous_dir_);
  }

 public:
  static Game& game() { return *current_->game; }
  static ::Run& run() { return current_->run; }

  // A fresh run: empty player table, initial game state.
  static void resetGame() {
    fpclose(run().log);
    initPlayers(game());
    initGame(game());
    run() = ::Run{};
  }

  // Adds players by raw name, in order (indices 0, 1, ...).
  static void addPlayers(std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) addPlayer(game(), n);
  }

  // Runs `log` through the pipeline and returns what it printed.
  static std::string runLog(const std::string& log) {
    run().log = std::tmpfile();
    std::fputs(log.c_str(), run().log);
    std::rewind(run().log);
    ::testing::internal::CaptureStdout();
    ReadingHooks hooks;
    LinePipeline pipeline(run(), game(), hooks,
                          {consoleKeywordIndex(), HighBytes::kReplaced, valid_strings, addPlayer_strings});
    EXPECT_TRUE(pipeline.readLog());
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

  static int countOf(const std::string& text, const std::string& word) {
    int n = 0;
    for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }

  kstest::TempDir dir_;

 private:
  // The console's bookkeeping; no line ends the game.
  struct ReadingHooks final : PipelineHooks {
    bool takeRawLine(std::string_view) override { return false; }
    bool bookkeeping(Game& game, ::Run& run, const LineEvent& event) override {
      return updateMiscInfo(game, run, event);
    }
    bool endsGame(Game&, const LineEvent&) override { return false; }
    void finishGame(Game&) override {}
  };
  struct State {
    ::Run run;
    std::unique_ptr<Game> game = std::make_unique<Game>();
  };

  static inline State* current_ = nullptr;
  std::unique_ptr<State> state_;
  std::filesystem::path previous_dir_;
};
