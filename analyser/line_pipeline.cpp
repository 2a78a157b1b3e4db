#include "line_pipeline.h"

#include <cstdio>

#include "events.h"
#include "game.h"
#include "kills.h"
#include "line_event.h"
#include "line_filter.h"
#include "pipeline_steps.h"
#include "players.h"
#include "teams.h"
#include "weaponstats.h"

void LinePipeline::processLine(FixedText& line) {
  if (hooks_.takeRawLine(line)) return;
  if (readStatedFact(game_, line)) return;
  cleanLine(line, form_.high);
  if (handleChatLine(game_, line)) {
    hooks_.keepLine(line);
    return;
  }
  noteLimitHit(game_, line);
  const LineScan scan(form_.index, line);
  if (!validLine(scan, form_.valid)) {
    hooks_.rejectedLine(game_, line);
    handleRejectedLine(game_, line);
    return;
  }
  hooks_.keepLine(line);
  const LineEvent event(scan);
  if (hooks_.bookkeeping(game_, run_, event)) return;
  addPlayersOfLine(game_, event, form_.add_player);
  assignTeam(game_, event);
  updateCTFStats(game_, event);
  updateTables(game_, event);
  hooks_.afterKills(game_, event);
  scanWeaponStats(game_, event);
  if (!hooks_.endsGame(game_, event)) return;
  hooks_.finishGame(game_);
  initPlayers(game_);
  initGame(game_);
}

bool LinePipeline::readLog() {
  FixedText line;
  while (!hooks_.stopReading() && readLine(run_.log, line)) processLine(line);
  return run_.log == nullptr || std::ferror(run_.log) == 0;
}

void initGame(Game& game) {
  game.mapname.clear();
  game.game_ends = false;
  game.gametype = kFreeForAll;
  game.make_html = true;
  game.int_swap = 0;
  game.connect_sequence = ReconnectStep::kNone;
  game.ca_win_red = 0;
  game.ca_win_blue = 0;
  game.facts = GameFacts{};
}

int countWrittenGame(Run& run) {
  if (run.game_count == 99999999) run.game_count = kFirstGameCount;
  run.game_count += 1;
  return run.game_count;
}
