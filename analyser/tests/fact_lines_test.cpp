// The fact lines a converted log states a game's facts in: they read back
// exactly, only whole and well-formed, and never pass for anything else.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fact_lines.h"
#include "game.h"
#include "keyword_index.h"
#include "keywords.h"
#include "line_filter.h"
#include "pipeline_steps.h"
#include "text.h"

namespace {

StatedFacts everyFact() {
  StatedFacts facts;
  facts.played = "2017-06-23 12:43:00";
  facts.duration = 900;
  facts.ended = "capturelimit";
  facts.red_score = 8;
  facts.blue_score = 6;
  return facts;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(FactLines, ReadBackWhatWasWrittenAndLeaveOutWhatIsUnknown) {
  const StatedFacts written = everyFact();
  const std::vector<std::string> lines = linesOf(factLines(written));
  ASSERT_EQ(lines.size(), 4u);
  StatedFacts read;
  for (const std::string& line : lines) EXPECT_TRUE(readFactLine(line + "\r\n", read)) << line;
  EXPECT_EQ(read.played, written.played);
  EXPECT_EQ(read.duration, written.duration);
  EXPECT_EQ(read.ended, written.ended);
  EXPECT_EQ(read.red_score, 8);
  EXPECT_EQ(read.blue_score, 6);

  EXPECT_EQ(factLines(StatedFacts{}), "");
  StatedFacts malformed;
  malformed.played = "23 Jun 2017";
  malformed.ended = "Timelimit hit.";
  malformed.red_score = 3;  // without the blue score
  EXPECT_EQ(factLines(malformed), "");
}

TEST(FactLines, TheServersBotsReadBackOnceEachAndOnlyWhenTheyFitTheLine) {
  StatedFacts written;
  written.bots = {"Daemia", "^1Doom guy", "bad\\name", "", "line\nbreak"};
  const std::vector<std::string> lines = linesOf(factLines(written));
  ASSERT_EQ(lines, (std::vector<std::string>{"\\kestro-fact\\bot\\Daemia", "\\kestro-fact\\bot\\^1Doom guy"}));
  // A game that states a bot twice (a converted log read in two pieces) has it once.
  Game game;
  for (const std::string& line : {lines[0], lines[1], lines[0]}) EXPECT_TRUE(readStatedFact(game, line));
  EXPECT_EQ(game.facts.bots, (std::vector<std::string>{"Daemia", "^1Doom guy"}));
}

TEST(FactLines, OnlyAWholeWellFormedLineIsAFact) {
  const std::vector<std::string> not_facts = {
      "Raven^7: \\kestro-fact\\played\\2017-06-23 12:43:00",          // chat that quotes one
      "(Raven^7): \\kestro-fact\\ended\\fraglimit",                    // team chat
      "\\kestro-fact\\played\\2017-06-23 12:43:00^7 entered the game",  // a name that looks like one
      "\\kestro-fact\\played\\2017-06-23 12:43:00 was railed by Moss^7",
      " \\kestro-fact\\duration\\900",                                  // not at the line's start
      "]\\kestro-fact\\duration\\900",                                  // a typed command
      "_kestro-fact_duration_900",                                      // a cleaned line
      "\\kestro-fact\\played\\2017-13-23 12:43:00",
      "\\kestro-fact\\played\\2017-06-23 24:00:00",
      "\\kestro-fact\\duration\\-5",
      "\\kestro-fact\\duration\\1234567",
      "\\kestro-fact\\duration\\",
      "\\kestro-fact\\ended\\Timelimit",
      "\\kestro-fact\\ended\\time limit",
      "\\kestro-fact\\score\\8",
      "\\kestro-fact\\score\\8\\6\\1",
      "\\kestro-fact\\score\\8\\x",
      "\\kestro-fact\\map\\q3dm17",
      "\\kestro-fact\\",
  };
  for (const std::string& line : not_facts) {
    StatedFacts facts = everyFact();
    EXPECT_FALSE(readFactLine(line, facts)) << line;
    EXPECT_EQ(facts.played, everyFact().played) << line;
    EXPECT_EQ(facts.duration, 900) << line;
    EXPECT_EQ(facts.red_score, 8) << line;
  }
}

// The fact lines must not change how any other step reads the log: they hold
// no keyword of any table, are not chat, and are rejected as events.
TEST(FactLines, HoldNoKeywordOfTheReaders) {
  for (const std::string& line : linesOf(factLines(everyFact()))) {
    for (KeywordTable table : kReaderTables) {
      for (std::string_view keyword : table) EXPECT_EQ(line.find(keyword), std::string::npos) << line << " / " << keyword;
    }
    EXPECT_EQ(line.find("^7: "), std::string::npos);
    EXPECT_EQ(line.find("Round starts!"), std::string::npos);
    FixedText cleaned(line);
    cleanLine(cleaned);
    EXPECT_FALSE(validLine(LineScan(consoleKeywordIndex(), cleaned), valid_strings)) << line;
  }
}

TEST(FactLines, DatesFromTheServerStampAndTheConsolesLogfileLine) {
  EXPECT_EQ(playedFromStamp("20170623124300"), "2017-06-23 12:43:00");
  EXPECT_EQ(playedFromStamp("2017062312430"), "");
  EXPECT_EQ(playedFromStamp("20171323124300"), "");
  EXPECT_EQ(playedFromStamp("2017062312430x"), "");

  EXPECT_EQ(playedFromLogfileOpened("logfile opened on Wed Oct 12 19:05:02 2022\r\n"), "2022-10-12 19:05:02");
  EXPECT_EQ(playedFromLogfileOpened("logfile opened on Sun Jan  2 03:04:05 2022"), "2022-01-02 03:04:05");
  EXPECT_EQ(playedFromLogfileOpened("logfile opened on Wed Foo 12 19:05:02 2022"), "");
  EXPECT_EQ(playedFromLogfileOpened("logfile opened on Wed Oct 12 19:05:02 2022 and more"), "");
  EXPECT_EQ(playedFromLogfileOpened("Raven^7: logfile opened on Wed Oct 12 19:05:02 2022"), "");
}

TEST(FactLines, TheReaderStepSetsTheGamesFactsAndConsumesOnlyFactLines) {
  Game game;
  EXPECT_TRUE(readStatedFact(game, "\\kestro-fact\\played\\2017-06-23 12:43:00\n"));
  EXPECT_TRUE(readStatedFact(game, "\\kestro-fact\\score\\2\\8"));
  EXPECT_FALSE(readStatedFact(game, "Raven^7 entered the game"));
  EXPECT_FALSE(readStatedFact(game, "Raven^7: \\kestro-fact\\duration\\5"));
  EXPECT_EQ(game.facts.played.view(), "2017-06-23 12:43:00");
  EXPECT_EQ(game.facts.red_score, 2);
  EXPECT_EQ(game.facts.blue_score, 8);
  EXPECT_EQ(game.facts.duration, -1);
  EXPECT_EQ(game.facts.ended.view(), "");
}
