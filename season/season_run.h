// What a season run carries from log to log and from game to game, passed
// to every step that needs it.
#pragma once

#include <memory>

#include "counting_rules.h"
#include "database_session.h"
#include "game.h"
#include "game_fingerprint.h"
#include "game_spans.h"
#include "realtime_log.h"
#include "run_output.h"
#include "run_status.h"
#include "season_config.h"

namespace season {

struct SeasonRun {
  explicit SeasonRun(const SeasonConfig& season_config) : config(season_config), database(season_config) {}

  const SeasonConfig& config;
  CountingRules rules;                                    // what is left out
  Run run;                                                // the log being read and the games counted
  std::unique_ptr<Game> game = std::make_unique<Game>();  // the game being read
  RunStatus status;
  DatabaseSession database;     // the database work of the log being read
  GameFingerprint fingerprint;  // of the game being read
  InputGames input_games;       // where the counted games of the input lie
  // Realtime mode: the current log's files, and whether a snapshot of it is
  // being read (taken by this run, or by an earlier one that did not finish
  // it). Its games must all reach the database before it is finished.
  RealtimeFiles realtime;
  bool snapshot_taken = false;
  // A step of the current log failed: a realtime snapshot stays pending.
  bool log_failed = false;
  // A quiet run on a terminal shows its progress here (else null).
  ProgressLine* progress = nullptr;
};

}  // namespace season
