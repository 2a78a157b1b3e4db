// The record of every counted game, held against the season's totals in a
// real database.
#include <algorithm>
#include <iterator>
#include <filesystem>
#include <string>

#include "program_runner.h"
#include "season_fixture.h"

namespace fs = std::filesystem;

using GameRecords = SeasonTest;

namespace {

fs::path realLogs() { return kstest::sourceDir() / ".." / "shared" / "reallogs"; }

std::string trimmed(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace

TEST_F(GameRecords, EveryCountedGameHasOneRecordThatAddsUpToTheTotals) {
  std::string logs;
  for (const char* sample : {"ffa-chat.log", "warmup.log", "ctf-osp.log"}) {
    fs::copy_file(kstest::sourceDir() / "samples" / sample, dir_.path() / sample);
    logs += std::string(" ") + sample;
  }
  if (fs::exists(realLogs())) {
    for (const auto& entry : fs::directory_iterator(realLogs())) {
      if (entry.path().extension() != ".log") continue;
      fs::copy_file(entry.path(), dir_.path() / entry.path().filename());
      logs += " " + entry.path().filename().string();
    }
  }
  auto run = season(logs);
  ASSERT_EQ(run.status, 0) << run.output;

  const int counted = std::stoi(trimmed(sql("select count(*) from countedgames;")));
  ASSERT_GT(counted, 3);
  EXPECT_EQ(trimmed(sql("select count(*), count(distinct fingerprint) from games;")),
            std::to_string(counted) + "\t" + std::to_string(counted));
  EXPECT_EQ(trimmed(sql("select count(*) from countedgames c left join games g using (fingerprint) "
                        "where g.id is null;")),
            "0");
  // Each player's games, and their figures summed, are the player's totals.
  EXPECT_EQ(trimmed(sql("select count(*) from playerstats p left join (select raw_name, count(*) n, sum(frags) f, "
                        "sum(kills) k, sum(deaths) d, sum(suicides) s, sum(damage_given) dg, "
                        "sum(accuracy_total_hits) h, sum(kills_RG) rg, sum(ctf_flag_caps) c from game_players "
                        "group by raw_name) g using (raw_name) where g.n is null or g.n<>p.games or g.f<>p.frags or "
                        "g.k<>p.kills or g.d<>p.deaths or g.s<>p.suicides or g.dg<>p.damage_given or "
                        "g.h<>p.accuracy_total_hits or g.rg<>p.kills_RG or g.c<>p.ctf_flag_caps;")),
            "0");
  // Whom a player killed, summed over victims, is the kills of others,
  // team mates included.
  EXPECT_EQ(trimmed(sql("select count(*) from (select raw_name, sum(kills+team_kills) k from game_players group by "
                        "raw_name) p left join (select killer, sum(kills) k from game_kills group by killer) h on "
                        "h.killer=p.raw_name where coalesce(h.k, 0)<>p.k;")),
            "0");
  // The season's head-to-head sums are those of the games, pair by pair.
  const std::string pairs = trimmed(sql("select count(*) from head_to_head;"));
  EXPECT_NE(pairs, "0");
  EXPECT_EQ(trimmed(sql("select count(*) from (select killer, victim, sum(kills) k from game_kills group by killer, "
                        "victim) g join head_to_head h using (killer, victim) where h.kills=g.k;")),
            pairs);
  EXPECT_EQ(trimmed(sql("select count(*) from games g where players<>(select count(*) from game_players p "
                        "where p.game_id=g.id);")),
            "0");
  // A team game has its score and winner; a free-for-all its winner or none.
  EXPECT_EQ(trimmed(sql("select count(*) from games where type='ctf' and (red_score is null or winner_team is "
                        "null or winner_team<>if(red_score=blue_score, 'draw', if(red_score>blue_score, 'red', "
                        "'blue')));")),
            "0");
  EXPECT_EQ(trimmed(sql("select count(*) from games where log not like '%.log' or log like '%/%';")), "0");
  if (!fs::exists(realLogs())) return;
  // The OSP server logs date their games; the plain server's CTF games have
  // the score the server stated at their exit, though it logs no capture.
  EXPECT_EQ(trimmed(sql("select count(*), count(played) from games where log like 'osp-server%';")), "5\t5");
  EXPECT_EQ(trimmed(sql("select date(played) from games where log='osp-server-ffa-1game-7players.log';")),
            "2017-06-23");
  EXPECT_EQ(trimmed(sql("select type, red_score, blue_score, winner_team from games where "
                        "log='ioq3-server-ffa-ctf-codeminer-games.log' and type='ctf' and red_score+blue_score>0 order by id;")),
            "ctf\t8\t6\tred\nctf\t2\t8\tblue\nctf\t0\t1\tblue");
}

TEST_F(GameRecords, ADatabaseOfAnEarlierVersionIsUpgradedAndRecordsItsNewGames) {
  dir_.write("first.log", serverGame("Alice", 3) + kGameEnd);
  ASSERT_EQ(season("first.log").status, 0);
  // As an earlier version left it: totals, fingerprints, no records.
  sql("drop table games, game_players, game_kills, head_to_head;");
  dir_.write("second.log", serverGame("Carol", 2) + kGameEnd);
  auto run = season("second.log");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(trimmed(sql("select count(*) from countedgames;")), "2");
  EXPECT_EQ(trimmed(sql("select log, map, type, players, winner, played is null from games;")),
            "second.log\tq3dm17\tffa\t2\tCarol\t1");
  EXPECT_EQ(trimmed(sql("select raw_name, result, place, kills, deaths from game_players order by place;")),
            "Carol\twon\t1\t2\t0\nBob\tlost\t2\t0\t2");
  EXPECT_EQ(trimmed(sql("select killer, victim, kills from game_kills;")), "Carol\tBob\t2");
  EXPECT_EQ(trimmed(sql("select killer, victim, kills from head_to_head;")), "Carol\tBob\t2");
  // Records kept before the season summed them: the next run sums them once.
  sql("drop table head_to_head;");
  dir_.write("third.log", serverGame("Carol", 1) + kGameEnd);
  ASSERT_EQ(season("third.log").status, 0);
  EXPECT_EQ(trimmed(sql("select killer, victim, kills from head_to_head;")), "Carol\tBob\t3");
}

TEST_F(GameRecords, AGameWhoseRecordCannotBeWrittenIsNotCountedAtAll) {
  // A games table the record cannot go into: the game's totals and its
  // fingerprint go back with it, and the run says so.
  kstest::sharedDatabase().query("create database " + database_ + "; use " + database_ +
                                 "; create table games(id INT UNSIGNED NOT NULL AUTO_INCREMENT PRIMARY KEY);");
  dir_.write("games.log", serverGame("Alice", 3) + kGameEnd + serverGame("Dora", 1) + kGameEnd);
  auto run = season("games.log");
  EXPECT_NE(run.status, 0) << run.output;
  EXPECT_EQ(trimmed(sql("select count(*) from countedgames;")), "0");
  EXPECT_EQ(trimmed(sql("select count(*) from playerstats;")), "0");

  sql("drop table games;");
  run = season("games.log");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(trimmed(sql("select count(*) from games;")), "2");
  EXPECT_EQ(column("Bob", "games"), "2");
}

TEST_F(GameRecords, NamesAndMapsFromTheLogAreStoredAsWrittenNeverAsStatements) {
  std::string log = serverGame("x\"),(1,2);drop table games;--", 2) + kGameEnd;
  log.replace(log.find("q3dm17"), 6, "Evil\"Map'),(");
  dir_.write("games.log", log);
  auto run = season("games.log");
  ASSERT_EQ(run.status, 0) << run.output;
  // The record's names are the totals' keys, byte for byte; the map is
  // stored as the log's reader took it.
  EXPECT_EQ(trimmed(sql("select count(*) from game_players g join playerstats p using (raw_name);")), "2");
  EXPECT_EQ(trimmed(sql("select hex(killer) from game_kills;")),
            trimmed(sql("select hex(raw_name) from playerstats where raw_name like 'x%';")));
  EXPECT_EQ(trimmed(sql("select hex(map) from games;")), trimmed(sql(R"sql(select hex('evil_map\'),(');)sql")));
}

TEST_F(GameRecords, EachRecordNamesItsPagesInTheRotation) {
  writeSeasonConfig("no_of_game_stats:\n3\n");
  dir_.write("c-default.cfg", "make_weapon_stats:\nyes\n");
  dir_.write("games.log", serverGame("Alice", 3) + kGameEnd + serverGame("Dora", 1) + kGameEnd);
  auto run = season("games.log");
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string pages = trimmed(sql("select page, weapon_page from games order by id;"));
  ASSERT_EQ(std::count(pages.begin(), pages.end(), '\n'), 1) << pages;
  for (const std::string& name : {pages.substr(0, pages.find('\t')), pages.substr(pages.rfind('\t') + 1)}) {
    EXPECT_TRUE(fs::is_regular_file(dir_.path() / "html" / name)) << name;
  }
  EXPECT_EQ(trimmed(sql("select count(*) from games g join gamestats s on s.html=g.page;")), "2");
  EXPECT_EQ(trimmed(sql("select count(*) from games where weapon_page not like '%\\\\_wpn.html';")), "0");
}

TEST_F(GameRecords, GamesDisplacedWithinTheRunStillNameTheirPagesThoughNoneWasWritten) {
  writeSeasonConfig("no_of_game_stats:\n2\n");
  dir_.write("c-default.cfg", "make_weapon_stats:\nyes\n");
  dir_.write("games.log", serverGame("Alice", 3) + kGameEnd + serverGame("Dora", 1) + kGameEnd +
                              serverGame("Erin", 2) + kGameEnd + serverGame("Finn", 4) + kGameEnd);
  auto run = season("games.log");
  ASSERT_EQ(run.status, 0) << run.output;
  // The two slots hold the last two games, whose pages are the only ones in html/.
  EXPECT_EQ(trimmed(sql("select count(*) from games g join gamestats s on s.html=g.page;")), "2");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path() / "html"), {}), 4);
  for (const char* id : {"3", "4"}) {
    const std::string page = trimmed(sql(std::string("select page from games where id=") + id + ";"));
    EXPECT_TRUE(fs::is_regular_file(dir_.path() / "html" / page)) << page;
  }
  // Every record names its pages as when every page was written and then displaced.
  EXPECT_EQ(trimmed(sql("select count(*) from games where page like '%\\\\_main.html' and "
                        "weapon_page like '%\\\\_wpn.html';")),
            "4");
}
