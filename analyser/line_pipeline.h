// The line pipeline: the one loop that reads a log for kestrostats-c and for
// kestrostats-s. Each line goes through the same steps in the same order;
// what the two programs do differently is asked of their PipelineHooks.
//
//   line as read ──hooks.takeRawLine──► (taken: next line)
//        │ readStatedFact: a fact line is no event
//   cleanLine ──► chat? ──► quote, hooks.keepLine
//        │ noteLimitHit
//   LineScan ──valid?──no──► hooks.rejectedLine, handleRejectedLine
//        │ hooks.keepLine
//   LineEvent ──hooks.bookkeeping──► (handled: next line)
//        │
//   addPlayersOfLine · assignTeam · updateCTFStats · updateTables
//   · hooks.afterKills · scanWeaponStats
//        │ hooks.endsGame
//   hooks.finishGame, then initPlayers + initGame: the next game starts
#pragma once

#include <string_view>

#include "keywords.h"
#include "text.h"

struct Game;
struct LineEvent;
struct Run;
class KeywordIndex;

// What a program adds to the pipeline. Every hook but the two that decide
// (bookkeeping, endsGame) may do nothing.
class PipelineHooks {
 public:
  virtual ~PipelineHooks() = default;

  // Sees each line as read, before anything else. True when the hook has
  // taken the line (a server log handed to the converter): the pipeline
  // then goes on with the next line.
  virtual bool takeRawLine(std::string_view line) = 0;
  // A cleaned line that the game is made of: a chat line or a valid line.
  virtual void keepLine(std::string_view) {}
  // A cleaned line that the keyword tables rejected.
  virtual void rejectedLine(Game&, std::string_view) {}
  // The bookkeeping step, first of the handlers. True when the line is
  // fully handled.
  virtual bool bookkeeping(Game& game, Run& run, const LineEvent& event) = 0;
  // Runs after the kills and before the weapon statistics.
  virtual void afterKills(Game&, const LineEvent&) {}
  // The last step: true when the line closes the game.
  virtual bool endsGame(Game& game, const LineEvent& event) = 0;
  // The closed game, before it is cleared for the next one.
  virtual void finishGame(Game& game) = 0;
  // Asked before each line: true ends the reading early.
  virtual bool stopReading() const { return false; }
};

// How lines are read: the keyword index and what becomes of bytes above 127.
struct PipelineForm {
  const KeywordIndex& index;
  HighBytes high;
  KeywordTable valid;       // lines outside it are rejected
  KeywordTable add_player;  // lines that introduce players
};

class LinePipeline {
 public:
  LinePipeline(Run& run, Game& game, PipelineHooks& hooks, PipelineForm form)
      : run_(run), game_(game), hooks_(hooks), form_(form) {}

  // Runs one line through the pipeline. The buffer is cleaned in place.
  void processLine(FixedText& line);

  // Reads run.log (which a hook may replace on the way) to its end, or
  // until hooks.stopReading(). False when it could not be read to its end.
  bool readLog();

 private:
  Run& run_;
  Game& game_;
  PipelineHooks& hooks_;
  PipelineForm form_;
};

// Clears the game's state at a game boundary; the run's state survives.
void initGame(Game& game);

// Numbers the next written game (wrapping after 99999999) and returns it.
int countWrittenGame(Run& run);
