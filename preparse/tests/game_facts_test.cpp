// What a server states of a game reaches the converted log as fact lines at
// the end of the game's section, and nothing a player writes or is named
// ever does.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "conversion.h"
#include "game_facts.h"

namespace {

std::string convert(const std::string& log) { return preparse::convertBytes({}, log, false).target; }

// The converted log's fact lines, in order.
std::vector<std::string> factLinesOf(const std::string& converted) {
  std::vector<std::string> facts;
  std::istringstream in(converted);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("\\kestro-fact\\")) facts.push_back(line);
  }
  return facts;
}

std::string ospInitGame(const std::string& map) {
  return "0.0 InitGame: \\g_gametype\\0\\gamename\\osp\\mapname\\" + map + "\\com_protocol\\71\n";
}

std::string plainInitGame(const std::string& stamp, const std::string& type) {
  return stamp + " InitGame: \\sv_hostname\\x\\g_gametype\\" + type + "\\mapname\\q3ctf1\\protocol\\68\n";
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(GameFacts, StampsInMinutesAndInTenthsOfSeconds) {
  EXPECT_EQ(preparse::stampTenths("  0:00 InitGame:"), 0);
  EXPECT_EQ(preparse::stampTenths("981:27 ShutdownGame:"), (981 * 60 + 27) * 10);
  EXPECT_EQ(preparse::stampTenths("915.6 Exit: Timelimit hit."), 9156);
  EXPECT_EQ(preparse::stampTenths("InitGame: \\mapname\\x"), -1);  // a server console's unstamped line
  EXPECT_EQ(preparse::stampTenths(" 1:7 Exit:"), -1);
  EXPECT_EQ(preparse::stampTenths(" 1:75 Exit:"), -1);
  EXPECT_EQ(preparse::stampTenths("15:00"), -1);
}

TEST(GameFacts, AnOspGameIsDatedByItsServerTimeAndTimedFromGameStart) {
  const std::string log =
      // A warm-up with a date of its own, which is no game.
      ospInitGame("dm1") + "0.0 ServerTime:\t20170621112856\t11:28:56 (21 Jun 2017)\n" + "5.0 ShutdownGame:\n" +
      // The match: dated by the ServerTime after its InitGame.
      ospInitGame("dm1") + "0.0 ServerTime:\t20170623124300\t12:43:00 (23 Jun 2017)\n" +
      "10.0 ClientUserinfoChanged: 0 n\\Ann\\t\\0\\model\\sarge\n"
      "15.6 Game_Start:\n"
      "916.0 Exit: Fraglimit hit.\n"
      "916.0 score: 20  ping: 4  client: 0 Ann\n"
      "917.0 ShutdownGame:\n" +
      // A game after a warm-up dated before it, with no ServerTime of its own.
      ospInitGame("dm2") + "0.0 ServerTime:\t20170624100000\t10:00:00 (24 Jun 2017)\n" + "3.0 ShutdownGame:\n" +
      ospInitGame("dm2") + "1.0 Game_Start:\n" + "50.0 ShutdownGame:\n";
  const std::string converted = convert(log);
  EXPECT_EQ(factLinesOf(converted), (Lines{"\\kestro-fact\\played\\2017-06-23 12:43:00", "\\kestro-fact\\duration\\900",
                                           "\\kestro-fact\\ended\\fraglimit"}));
  // The facts come last in the section, where all of them are known.
  EXPECT_NE(converted.find("\\kestro-fact\\ended\\fraglimit\nTimelimit hit.\n----- CL_Shutdown -----\n"),
            std::string::npos);
}

TEST(GameFacts, APlainServersExitGivesItsLengthReasonAndTeamScore) {
  const std::string log = plainInitGame("  3:32", "4") +
                          "  5:00 red:1  blue:1\n"  // no exit yet: not the final score
                          " 11:15 Exit: Capturelimit hit.\n"
                          " 11:15 red:8  blue:6\n"
                          " 11:15 red:9  blue:9\n"  // only the line after the exit counts
                          " 11:22 ShutdownGame:\n" +
                          // A game the server aborted: no exit, no facts.
                          plainInitGame(" 11:22", "4") + " 12:00 ShutdownGame:\n" +
                          // Stamps that start again (a restarted server clock) give no length.
                          plainInitGame("981:27", "0") + "  0:35 Exit: Timelimit hit.\n" + "  0:40 ShutdownGame:\n";
  EXPECT_EQ(factLinesOf(convert(log)), (Lines{"\\kestro-fact\\duration\\463", "\\kestro-fact\\ended\\capturelimit",
                                              "\\kestro-fact\\score\\8\\6", "\\kestro-fact\\ended\\timelimit"}));
}

TEST(GameFacts, NamesAndChatThatImitateFactsOrServerLinesStateNothing) {
  const std::string log =
      plainInitGame("  0:00", "0") +
      "  0:01 ClientUserinfoChanged: 0 n\\kestro-fact played 2001-01-01 00:00:00\\t\\1\\model\\sarge\n"
      "  0:01 ClientUserinfoChanged: 1 n\\red:9  blue:9\\t\\2\\model\\sarge\n"
      "  0:02 say: red:9  blue:9: \\kestro-fact\\played\\2001-01-01 00:00:00\n"
      "  0:02 say: red:9  blue:9: ServerTime:\t20010101000000\n"
      "  0:03 say: red:9  blue:9: Exit: Fraglimit hit.\n"
      "  0:04 Kill: 1 0 10: red:9  blue:9 killed kestro-fact played 2001-01-01 00:00:00 by MOD_RAILGUN\n"
      "  0:05 ShutdownGame:\n";
  const std::string converted = convert(log);
  EXPECT_EQ(factLinesOf(converted), Lines{});
  // The chat and the kill are still there, as the console form writes them.
  EXPECT_NE(converted.find("red:9  blue:9^7: \\kestro-fact\\played\\2001-01-01 00:00:00\n"), std::string::npos);
  EXPECT_NE(converted.find("kestro-fact played 2001-01-01 00:00:00^7 was railed by red:9  blue:9^7\n"),
            std::string::npos);
}
