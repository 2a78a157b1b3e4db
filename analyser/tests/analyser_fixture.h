// A fixture that gives every test a clean player table and game state.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "game_state.h"
#include "kestrostats_c.h"
#include "players.h"
#include "text.h"

class AnalyserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    initPlayers();
    initGlobals();
    g_mod = 0;
    g_log_type = 0;
    g_game_count = kFirstGameCount;
    freeMallocs();
  }
  void TearDown() override {
    fpclose(fp);
    freeMallocs();
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
};
