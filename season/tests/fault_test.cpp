// A season that meets hostile players and unlucky admins: names and quotes
// that try to leave their SQL literals, a database that is down or refuses
// a statement, an archive that cannot be written, a full disk and two runs
// at once. Whatever happens, every game ends up counted exactly once, and
// the run's exit status says when something went wrong.
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "season_fixture.h"

namespace {

class SeasonFaults : public SeasonTest {
 protected:
  struct Run {
    int status;
    std::string out;
    std::string errors;
  };

  Run run(const std::string& args, const std::string& environment = "") {
    Run result;
    result.status =
        kstest::runIn(dir_, environment + " ./kestrostats-s " + args + " > out.txt 2> errors.txt").status;
    result.out = dir_.read("out.txt");
    result.errors = dir_.read("errors.txt");
    return result;
  }

  std::string counted() const { return sql("select count(*) from countedgames;"); }
};

// A two-player console game in which `killer` rails `victim` `kills` times.
std::string consoleGame(const std::string& killer, const std::string& victim, int kills) {
  std::string game = killer + "^7 entered the game\n" + victim + "^7 entered the game\n";
  for (int i = 0; i < kills; ++i) game += victim + "^7 was railed by " + killer + "^7\n";
  return game + "Timelimit hit.\n----- CL_Shutdown -----\n";
}

// A server's complete game.
std::string completeGame(const std::string& killer, int kills) { return serverGame(killer, kills) + kGameEnd; }

// The main pages in html/.
int mainPages(const std::filesystem::path& html) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(html)) {
    n += entry.path().filename().string().ends_with("_main.html");
  }
  return n;
}

}  // namespace

TEST_F(SeasonFaults, ANameOfBlanksWithAHostileQuoteStaysInItsLiteral) {
  // The colour-free name is only blanks: it is marked with "\_", and the
  // marked name, cut to its 50-character column, ends in a lone backslash.
  const std::string blanks(49, ' ');
  const std::string payload = "; DROP TABLE gamestats; UPDATE playerstats SET kills=999; -- ";
  dir_.write("hostile.log", blanks + "^7 entered the game\nVictim^7 entered the game\nZed^7 entered the game\n" +
                                blanks + "^7: " + payload + "\n" + "Victim^7 was railed by " + blanks +
                                "^7\nZed^7 was railed by Victim^7\nVictim^7 was railed by Zed^7\n"
                                "Timelimit hit.\n");
  writeSeasonConfig("no_of_game_stats:\n2\n");
  Run result = run("hostile.log");
  ASSERT_EQ(result.status, 0) << result.out << result.errors;
  EXPECT_EQ(result.errors, "");
  // Every player of the game is counted, and nothing else changed.
  EXPECT_EQ(sql("select count(*) from playerstats where games=1;"), "3\n");
  EXPECT_EQ(column("Victim", "kills"), "1");
  EXPECT_EQ(column("Zed", "kills"), "1");
  EXPECT_EQ(sql("select count(*) from gamestats;"), "2\n");
  // The log reader made "=" a "_"; the rest of the quote is stored as text.
  EXPECT_EQ(column(blanks, "concat(length(name), ':', quote)"),
            "50:; DROP TABLE gamestats; UPDATE playerstats SET kills_999; -- ");
}

TEST_F(SeasonFaults, ATrailingBlankMakesAnotherPlayerAlsoInTablesOfEarlierVersions) {
  dir_.write("first.log", consoleGame("Alice", "Bob", 5));
  Run first = run("first.log");
  ASSERT_EQ(first.status, 0) << first.out << first.errors;
  // The tables as earlier versions made them: a padding collation for the
  // names and no transactions. The next run brings them up to date.
  sql("alter table playerstats modify raw_name VARCHAR(50) BINARY NOT NULL, engine=MyISAM;");
  sql("alter table clanstats modify tag VARCHAR(50) BINARY NOT NULL, engine=MyISAM;");
  dir_.write("games.log", consoleGame("Alice ", "Bob", 2) + consoleGame("Alice", "Bob", 1));
  Run result = run("games.log");
  ASSERT_EQ(result.status, 0) << result.out << result.errors;
  EXPECT_EQ(column("Alice ", "kills"), "2");
  EXPECT_EQ(column("Alice", "kills"), "6");
  for (const char* table : {"playerstats", "clanstats"}) {
    EXPECT_EQ(sql(std::string("select concat(engine, ' ', data_type) from information_schema.tables join "
                              "information_schema.columns using (table_schema, table_name) where table_schema='") +
                  database_ + "' and table_name='" + table + "' and ordinal_position=1;"),
              "InnoDB varbinary\n")
        << table;
  }
}

TEST_F(SeasonFaults, AStatementTheServerRefusesStopsAtItsGameAndTheNextRunGoesOnFromThere) {
  writeSeasonConfig("no_of_game_stats:\n5\n");
  dir_.write("games.log", consoleGame("Ann", "Bob", 1) + consoleGame("Mallory", "Bob", 2) +
                              consoleGame("Cid", "Bob", 3));
  ASSERT_EQ(run("games.log").status, 0);  // creates the tables...
  sql("delete from countedgames; delete from playerstats;");  // ...and forgets the games again
  // Mallory's row cannot be written: the server refuses the statement.
  sql("create trigger refuse_mallory before insert on playerstats for each row "
      "set new.raw_name = if(new.raw_name = 'Mallory', null, new.raw_name);");
  Run refused = run("games.log");
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.errors.find("cannot be null"), std::string::npos) << refused.errors;
  EXPECT_NE(refused.errors.find("ERROR: the database stopped at game 1002 of games.log"), std::string::npos)
      << refused.errors;
  EXPECT_EQ(counted(), "1\n");  // Ann's game; Mallory's was rolled back whole, Cid's never tried
  EXPECT_EQ(column("Bob", "games"), "1");
  // The pages made while the games were applied went again (once every
  // program the run started is done: they hold the directory's lock).
  kstest::runIn(dir_, "flock kestrostats-s.lock true");
  EXPECT_EQ(mainPages(dir_.path() / "html"), 3);  // the first run's, in their slots
  sql("drop trigger refuse_mallory;");
  ASSERT_EQ(run("games.log").status, 0);
  EXPECT_EQ(counted(), "3\n");
  EXPECT_EQ(column("Bob", "concat_ws(' ', games, deaths)"), "3 6");
  EXPECT_EQ(mainPages(dir_.path() / "html"), 5);  // every slot: Ann's game, counted before, got its pages too
}

TEST_F(SeasonFaults, ADatabaseThatIsDownOrRefusesTheLoginLeavesTheLiveLogForLater) {
  std::filesystem::create_directory(dir_.path() / "archive");
  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\n");
  const std::string games = completeGame("Alice", 2) + completeGame("Carl", 1);
  dir_.write("live.log", games);
  Run down = run("live.log", "MYSQL_TCP_PORT=1");  // nothing listens there
  EXPECT_EQ(down.status, 3);
  EXPECT_NE(down.errors.find("ERROR: could not reach the database"), std::string::npos) << down.errors;
  EXPECT_EQ(dir_.read("live.log"), games);
  EXPECT_FALSE(dir_.exists("kestro_realtime_pending_live.log"));

  dir_.write("s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                  "\ndb_user:\nnobody_here\nrealtime_log:\nyes\nbackup_dir:\narchive/\n");
  EXPECT_EQ(run("live.log").status, 3);
  EXPECT_EQ(dir_.read("live.log"), games);

  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\n");
  Run back = run("live.log");
  ASSERT_EQ(back.status, 0) << back.out << back.errors;
  EXPECT_EQ(counted(), "2\n");
  EXPECT_EQ(column("Bob", "games"), "2");
  EXPECT_EQ(dir_.read("archive/live.log"), games);
}

TEST_F(SeasonFaults, AnArchiveThatCannotBeWrittenKeepsTheLiveLog) {
  dir_.write("blocked", "a file where the archive folder should be\n");
  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\nblocked/\n");
  const std::string games = completeGame("Alice", 2);
  dir_.write("live.log", games);
  Run blocked = run("live.log");
  EXPECT_EQ(blocked.status, 5);
  EXPECT_NE(blocked.errors.find("could not append live.log to the archive blocked/live.log"), std::string::npos)
      << blocked.errors;
  EXPECT_EQ(dir_.read("live.log"), games);
  EXPECT_FALSE(dir_.exists("kestro_realtime_pending_live.log"));
  EXPECT_EQ(counted(), "0\n");

  std::filesystem::remove(dir_.path() / "blocked");
  std::filesystem::create_directory(dir_.path() / "blocked");
  ASSERT_EQ(run("live.log").status, 0);
  EXPECT_EQ(counted(), "1\n");
  EXPECT_EQ(dir_.read("blocked/live.log"), games);

  // With no backup_dir, a live log named in small letters in the working
  // directory would be its own archive.
  writeSeasonConfig("realtime_log:\nyes\n");
  const std::string more = games + completeGame("Dave", 1);
  dir_.write("live.log", more);
  Run itself = run("live.log");
  EXPECT_EQ(itself.status, 5);
  EXPECT_EQ(dir_.read("live.log"), more);
}

TEST_F(SeasonFaults, AFullDiskCountsNothingTwiceAndLosesNoLine) {
  if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  const std::filesystem::path disk = dir_.path() / "disk";
  std::filesystem::create_directory(disk);
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=4m") != 0) GTEST_SKIP() << "cannot mount a tmpfs here";
  struct Unmount {
    std::filesystem::path at;
    ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
  } unmount{disk};
  // The season works on the small disk; its programs stay outside it.
  for (const char* program : {"kestrostats-s", "kestrostats-c", "ks-preparse", "TagSift"}) {
    std::filesystem::create_symlink(kstest::binDir() / program, disk / program);
  }
  std::filesystem::create_directory(disk / "html");
  std::filesystem::create_directory(disk / "archive");
  std::filesystem::copy_file(dir_.path() / "c-default.cfg", disk / "c-default.cfg");
  dir_.write("disk/s-default.cfg", "db_host:\n127.0.0.1\ndb_name:\n" + database_ +
                                       "\ndb_user:\nroot\nrealtime_log:\nyes\nbackup_dir:\narchive/\n"
                                       "no_of_game_stats:\n3\nmake_season_site:\nno\n");
  std::string written;  // everything the server wrote
  int games = 0;
  int failed_runs = 0;
  // The disk is left with less and less room while a run starts; each
  // failed run is followed by one with room again.
  for (long room : {400000L, 60000L, 20000L, 6000L, 1000L}) {
    const std::string piece = completeGame("P" + std::to_string(room), 30) + completeGame("Q" + std::to_string(room), 30);
    dir_.write("disk/live.log", dir_.read("disk/live.log") + piece);
    written += piece;
    games += 2;
    const auto space = std::filesystem::space(disk);
    long fill = static_cast<long>(space.available) - room;
    dir_.write("disk/filler", std::string(fill > 0 ? static_cast<std::size_t>(fill) : 0, 'x'));
    if (kstest::runIn(dir_, "cd disk && ./kestrostats-s live.log > ../out.txt 2>&1").status != 0) ++failed_runs;
    std::filesystem::remove(disk / "filler");
    auto after = kstest::runIn(dir_, "cd disk && ./kestrostats-s live.log > ../out.txt 2>&1");
    ASSERT_EQ(after.status, 0) << room << ": " << dir_.read("out.txt");
    EXPECT_EQ(counted(), std::to_string(games) + "\n") << room;
    EXPECT_EQ(dir_.read("disk/archive/live.log"), written) << room;
    EXPECT_EQ(dir_.read("disk/live.log"), written) << room;  // never changed
  }
  EXPECT_EQ(column("Bob", "games"), std::to_string(games));
  EXPECT_GE(failed_runs, 3);  // the disk did run full
}

TEST_F(SeasonFaults, TwoRunsAtOnceCountEveryGameOnce) {
  std::filesystem::create_directory(dir_.path() / "archive");
  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\n");
  dir_.write("live.log", completeGame("Alice", 2) + completeGame("Carl", 1));
  // ("true;" first: the working directory must be changed before the "&".)
  auto both = kstest::runIn(dir_,
                            "true; ./kestrostats-s live.log > one.txt 2>&1 & ./kestrostats-s live.log > two.txt 2>&1; "
                            "second=$?; wait $!; first=$?; echo \"$first $second\"");
  EXPECT_EQ(both.output, "0 0\n") << dir_.read("one.txt") << dir_.read("two.txt");
  EXPECT_EQ(counted(), "2\n");
  EXPECT_EQ(column("Bob", "games"), "2");

  // A run that may not wait gives up at once with its own status.
  writeSeasonConfig("realtime_log:\nyes\nbackup_dir:\narchive/\nlock_wait_seconds:\n0\n");
  auto locked = kstest::runIn(dir_, "true; flock kestrostats-s.lock sleep 3 & sleep 0.5; "
                                    "./kestrostats-s live.log > out.txt 2> errors.txt; echo $?; wait");
  EXPECT_EQ(locked.output, "6\n");
  EXPECT_NE(dir_.read("errors.txt").find("another run is still working in this directory"), std::string::npos);
}

TEST_F(SeasonFaults, ARunKilledWhileItsClientCommitsKeepsTheDirectoryLockedUntilTheClientEnds) {
  // A mysql that takes its time: every call waits a moment before the real
  // client runs, while "slow" exists.
  std::string client = kstest::runIn(dir_, "command -v mysql").output;
  while (!client.empty() && client.back() == '\n') client.pop_back();
  dir_.write("slowbin/mysql", "#!/bin/sh\necho started >> mysql-calls\n[ -f slow ] && sleep 2\nexec " + client +
                                   " \"$@\"\n");
  std::filesystem::permissions(dir_.path() / "slowbin/mysql", std::filesystem::perms::owner_all);
  writeSeasonConfig("lock_wait_seconds:\n1\n");
  dir_.write("a.log", consoleGame("Ann", "Bob", 2));
  dir_.write("b.log", consoleGame("Cid", "Bob", 1));
  dir_.write("slow", "");
  // The run is killed alone (its children go on) once its second client,
  // the one that commits the games, has started.
  auto killed = kstest::runIn(dir_,
                              "true; PATH=$PWD/slowbin:$PATH ./kestrostats-s a.log > out.txt 2>&1 & pid=$!; "
                              "while [ \"$(cat mysql-calls 2>/dev/null | wc -l)\" -lt 2 ]; do sleep 0.05; done; "
                              "kill -9 $pid; wait $pid; ./kestrostats-s b.log > next.txt 2> next-errors.txt; echo $?");
  EXPECT_EQ(killed.output, "6\n") << dir_.read("next.txt") << dir_.read("next-errors.txt");
  std::filesystem::remove(dir_.path() / "slow");
  // Once the orphaned client has ended, the directory is free again.
  auto later = kstest::runIn(dir_, "sleep 3; ./kestrostats-s a.log b.log > out.txt 2>&1; echo $?");
  EXPECT_EQ(later.output, "0\n") << dir_.read("out.txt");
  EXPECT_EQ(counted(), "2\n");
  EXPECT_EQ(column("Bob", "concat_ws(' ', deaths, games)"), "3 2");
}

TEST_F(SeasonFaults, NamesInOtherAlphabetsStayApart) {
  // Two cp1251 names of four letters each, which once were both "____".
  const std::string vasya = "\xc2\xe0\xf1\xff";
  const std::string petya = "\xcf\xe5\xf2\xff";
  dir_.write("cyrillic.log", vasya + "^7 entered the game\n" + petya + "^7 entered the game\n" + petya +
                                 "^7 was railed by " + vasya + "^7\n" + vasya + "^7 was railed by " + petya + "^7\n" +
                                 petya + "^7 was railed by " + vasya + "^7\n" + "Timelimit hit.\n");
  Run result = run("cyrillic.log");
  ASSERT_EQ(result.status, 0) << result.out << result.errors;
  EXPECT_EQ(sql("select hex(raw_name), hex(name), kills, deaths, suicides from playerstats order by raw_name;"),
            "C2E0F1FF\tC2E0F1FF\t2\t1\t0\nCFE5F2FF\tCFE5F2FF\t1\t2\t0\n");
  // Read again: the same games, known by their fingerprints.
  ASSERT_EQ(run("cyrillic.log").status, 0);
  EXPECT_EQ(counted(), "1\n");
}

TEST_F(SeasonFaults, ExitStatusesNameTheStepThatFailed) {
  dir_.write("games.log", consoleGame("Ann", "Bob", 1));
  std::filesystem::create_directory(dir_.path() / "folder.log");
  writeSeasonConfig("no_of_game_stats:\n2\n");
  Run unreadable = run("missing.log folder.log games.log");
  EXPECT_EQ(unreadable.status, 2);
  EXPECT_NE(unreadable.errors.find("could not open logfile \"folder.log\""), std::string::npos);
  EXPECT_EQ(counted(), "1\n");  // the readable log still counts

  std::filesystem::remove(dir_.path() / "kestrostats-c");
  dir_.write("more.log", consoleGame("Cid", "Bob", 1));
  Run no_pages = run("more.log");
  EXPECT_EQ(no_pages.status, 4);
  EXPECT_NE(no_pages.errors.find("./kestrostats-c could not write every page of more.log (exit status 127"),
            std::string::npos)
      << no_pages.errors;
  EXPECT_EQ(counted(), "2\n");  // the games are in; only their pages are missing
}

TEST_F(SeasonFaults, ARunWithNothingWrongPrintsNoErrorLine) {
  std::string logs;
  for (const auto& entry : std::filesystem::directory_iterator(kstest::sourceDir() / "samples")) {
    std::filesystem::copy_file(entry.path(), dir_.path() / entry.path().filename());
    logs += " " + entry.path().filename().string();
  }
  const std::filesystem::path real_logs = kstest::sourceDir() / ".." / "shared" / "reallogs";
  if (std::filesystem::exists(real_logs)) {
    for (const auto& entry : std::filesystem::directory_iterator(real_logs)) {
      if (entry.path().extension() != ".log") continue;
      std::filesystem::copy_file(entry.path(), dir_.path() / entry.path().filename());
      logs += " " + entry.path().filename().string();
    }
  }
  writeSeasonConfig("no_of_game_stats:\n3\ndetect_clan_tag:\nyes\nprocess_clan_tag_auto:\nyes\n"
                    "make_season_site:\nyes\n");
  for (int pass = 0; pass < 2; ++pass) {  // the second run finds every game counted
    Run result = run(logs);
    EXPECT_EQ(result.status, 0) << pass;
    EXPECT_EQ(result.errors, "") << pass;
    EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << pass << result.out;
  }
  EXPECT_TRUE(dir_.exists("html/season/index.html"));
  EXPECT_TRUE(dir_.exists("html/season/season.json"));
}

TEST_F(SeasonFaults, AMissingSiteProgramIsAnError) {
  std::filesystem::remove(dir_.path() / "kestrostats-site");
  writeSeasonConfig("make_season_site:\nyes\n");
  dir_.write("games.log", consoleGame("Ann", "Bob", 1));
  Run result = run("games.log");
  EXPECT_EQ(result.status, 4);
  EXPECT_NE(result.errors.find("./kestrostats-site could not write the season site (exit status 127: not found)"),
            std::string::npos)
      << result.errors;
  EXPECT_EQ(counted(), "1\n");  // the games are in all the same
}
