#!/usr/bin/env bash
# Time and peak memory of kestrostats-site on a long season with game
# records, against a throwaway MariaDB server, the generator pinned to one
# core.
#
#   bench/season-site-records-benchmark.sh [GAMES] [PLAYERS]   (default 100000 and 10000)
#
# Builds nothing: the programs come from build/bin/ of the source tree, or
# from $KS_BIN_DIR. kestrostats-s makes the season's tables (the record
# tables among them) from a sample log; then PLAYERS
# players, GAMES games of 2 to 14 players each (every figure column filled,
# deterministic), the kills between the players of each game and the page
# slots of the newest 100 games replace its data. The site is written once
# into an empty folder, then once more after one new game (every list page
# and the pages of that game's players change) and once with nothing
# changed. Fails when one of the two later runs, the ones a server makes
# after every game, took more than $KS_SITE_LIMIT seconds (default 15); the
# first run into an empty folder is a one-off (a new site, or the upgrade to
# game records) and is only reported.
#
# The database server gets a buffer pool that holds the season's tables
# (2 GB; $KS_BENCH_DB_OPTIONS replaces the options, "" for the server's own
# 128 MB): with the default one every run reads the 0.9 GB of records from
# the disk again, which measures the disk rather than the site.
# Needs mariadb-server, mariadb-client, time and util-linux (taskset).
set -euo pipefail

games=${1-100000}
players=${2-10000}
limit=${KS_SITE_LIMIT:-15}
case "$players$games" in '' | *[!0-9]*) echo "usage: $0 [GAMES] [PLAYERS]" >&2; exit 2 ;; esac

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
bin=${KS_BIN_DIR:-$top/build/bin}
for program in kestrostats-site kestrostats-s kestrostats-c ks-preparse; do
  [ -x "$bin/$program" ] || { echo "error: $bin/$program not found; build it first" >&2; exit 1; }
done
for tool in mariadbd mysql taskset /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "error: $tool is needed" >&2; exit 1; }
done

work=$(mktemp -d /var/tmp/ks-site-records-bench.XXXXXX)
# KS_BENCH_KEEP=1 leaves the folder and its database server running, for a profiler.
cleanup() {
  if [ "${KS_BENCH_KEEP:-0}" = 1 ]; then
    echo "kept: $work (database server on port $MYSQL_TCP_PORT; stop it with scripts/throwaway-db.sh stop $work/db)"
    return
  fi
  sh "$top/scripts/throwaway-db.sh" stop "$work/db" > /dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
MYSQL_TCP_PORT=$(KS_DB_OPTIONS=${KS_BENCH_DB_OPTIONS---innodb-buffer-pool-size=2G} \
  sh "$top/scripts/throwaway-db.sh" start "$work/db")
export MYSQL_TCP_PORT
query() { mysql -h 127.0.0.1 -u root -N -B -e "use bench; $1"; }

run=$work/run
mkdir -p "$run/html"
cp "$bin/kestrostats-site" "$bin/kestrostats-s" "$bin/kestrostats-c" "$bin/ks-preparse" "$run/"
cp "$top/samples/ffa-chat.log" "$run/"
: > "$run/c-default.cfg"
printf 'db_host:\n127.0.0.1\ndb_name:\nbench\ndb_user:\nroot\nno_of_game_stats:\n100\nmake_season_site:\nno\nserver_name:\nbench\nsite_title:\nBench League\n' \
  > "$run/s-default.cfg"
echo "Making the season's tables with kestrostats-s ..."
(cd "$run" && ./kestrostats-s ffa-chat.log > season.out 2>&1) || { cat "$run/season.out" >&2; exit 1; }
query "delete from head_to_head; delete from game_kills; delete from game_players; delete from games;"

# A figure of its own from a seeded RAND for every counter column of a table.
figures() {
  local table=$1 seed=$2 names="" values="" n=0
  for c in $(query "select column_name from information_schema.columns where table_schema='bench' and
      table_name='$table' and data_type='int' and column_name not in ('frags','kills','deaths','slot','place','game_id','players','games')
      order by ordinal_position;"); do
    n=$((n + 1))
    names="$names, $c"
    values="$values, floor(rand($seed * 131 + $n) * 40)"
  done
  echo "$names|$values"
}

echo "Filling $players players, $games games with their players and kills ..."
IFS='|' read -r pnames pvalues < <(figures playerstats seq)
query "delete from playerstats; delete from gamestats; delete from clanstats; delete from countedgames;
  insert into playerstats (raw_name, name, model, quote, skill, combat, frags, kills, deaths$pnames)
  select concat('^', seq % 8, 'Player', seq), concat('Player', seq), 'sarge/default', concat('gg ', seq),
         rand(seq) * 300 - 80, rand(seq + 1) * 200, 0, 0, 0$pvalues
  from seq_0_to_$((players - 1));"
maps="'q3dm17','q3dm6','q3dm13','q3tourney2','q3ctf1','q3ctf4','pro-q3dm6','ztn3tourney1','q3dm1','q3dm7'"
query "insert into games (id, fingerprint, server, log, played, counted, listed, map, type, duration, ended,
         red_score, blue_score, players, winner_team, page, weapon_page)
  select seq, sha2(seq, 256), 'bench', concat('games', seq div 1000, '.log'),
         if(seq % 50 = 0, null, '2024-01-01' + interval seq * 7 minute), '2024-01-01' + interval seq * 7 minute + interval 1 day,
         '2024-01-01' + interval seq * 7 minute + interval if(seq % 50 = 0, 1, 0) day,
         elt(1 + seq % 10, $maps), elt(1 + seq % 4, 'ffa', 'tdm', 'ctf', 'ca'), if(seq % 9 = 0, null, 300 + seq % 900),
         'timelimit', if(seq % 4 = 0, null, seq % 5), if(seq % 4 = 0, null, seq % 3), 2 + seq % 13,
         if(seq % 4 = 0, null, if(seq % 5 > seq % 3, 'red', if(seq % 5 < seq % 3, 'blue', 'draw'))),
         concat('kestrostats_', seq, '_main.html'), concat('kestrostats_', seq, '_wpn.html')
  from seq_1_to_$games;"
IFS='|' read -r gnames gvalues < <(figures game_players "g.id * 16 + s.seq")
# Slot s of game g is player (g * 37 + s * 733) mod PLAYERS: distinct within a game.
query "insert into game_players (game_id, slot, raw_name, name, team, result, place, frags, kills, deaths$gnames)
  select g.id, s.seq, concat('^', ((g.id * 37 + s.seq * 733) % $players) % 8, 'Player', (g.id * 37 + s.seq * 733) % $players),
         concat('Player', (g.id * 37 + s.seq * 733) % $players),
         if(g.type = 'ffa', 'none', if(s.seq % 2 = 0, 'red', 'blue')),
         if(g.type = 'ffa', if(s.seq = 0, 'won', 'lost'),
            if(g.winner_team = 'draw', 'draw', if(g.winner_team = if(s.seq % 2 = 0, 'red', 'blue'), 'won', 'lost'))),
         s.seq + 1, (14 - s.seq) * 3, (14 - s.seq) * 3 + floor(rand(g.id + s.seq) * 4), floor(rand(g.id * 3 + s.seq) * 30)$gvalues
  from games g join seq_0_to_13 s on s.seq < g.players;
  update games g join game_players p on p.game_id = g.id and p.slot = 0 set g.winner = p.raw_name where g.type = 'ffa';
  insert into countedgames (fingerprint, log, counted, server, pages) select fingerprint, log, counted, server, 1 from games;
  insert into countedgames (fingerprint, log, counted, server, pages)
    select sha2(concat('old', seq), 256), 'old.log', '2023-12-31', 'bench', 1 from seq_1_to_100;
  update playerstats s join (select raw_name, count(*) n, sum(frags) f, sum(kills) k, sum(deaths) d
    from game_players group by raw_name) p on p.raw_name = s.raw_name set s.games = p.n, s.frags = p.f, s.kills = p.k, s.deaths = p.d;"
echo "  the kills between the players of each game ..."
query "insert into game_kills (game_id, killer, victim, kills)
  select a.game_id, a.raw_name, b.raw_name, 1 + (a.slot * 7 + b.slot * 3 + a.game_id) % 5
  from game_players a join game_players b on b.game_id = a.game_id and b.slot <> a.slot
  where (a.slot + b.slot + a.game_id) % 3 <> 0;
  insert into head_to_head select killer, victim, sum(kills) from game_kills group by killer, victim;
  insert into gamestats (server, slot, html) select 'bench', seq + 100 - $games, concat('kestrostats_', seq, '_main.html')
    from seq_$((games > 100 ? games - 99 : 1))_to_$games;
  update miscstats set value=now() where variable='time';"
rows=$(query "select (select count(*) from game_players), (select count(*) from game_kills), (select count(*) from head_to_head);")
echo "  $(echo "$rows" | cut -f1) player rows, $(echo "$rows" | cut -f2) kill rows, $(echo "$rows" | cut -f3) head-to-head pairs"

# site NAME [LIMITED]: one run, pinned to one core; with LIMITED it must
# keep to the limit.
site() {
  (cd "$run" && taskset -c 0 /usr/bin/time -f '%e %U %S %M' -o time.txt ./kestrostats-site > site.out)
  read -r wall user system memory < "$run/time.txt"
  printf '%-28s %6s s wall  %5s s user  %5s s system  %4s MB peak   %s\n' "$1" "$wall" "$user" "$system" \
    $((memory / 1024)) "$(sed 's/.*; //; s/ ->.*//' "$run/site.out")"
  [ "${2-}" = limited ] || return 0
  awk "BEGIN { exit !($wall <= $limit) }" || { echo "error: $1 took ${wall} s, more than ${limit} s" >&2; exit 1; }
}
site "into an empty folder:"
query "insert into games (id, fingerprint, server, log, played, counted, listed, map, type, duration, players, winner)
         values ($games + 1, sha2('new', 256), 'bench', 'new.log', '2030-01-01 00:00:00', '2030-01-01 00:10:00',
                 '2030-01-01 00:00:00', 'q3dm17', 'ffa', 600, 1, '^1Player1');
       insert into game_players (game_id, slot, raw_name, name, result, place, frags, kills, deaths)
         values ($games + 1, 0, '^1Player1', 'Player1', 'won', 1, 20, 20, 3);"
site "after one more game:" limited
site "nothing changed:" limited
files=$(find "$run/html/season" -type f | wc -l)
size=$(du -sm "$run/html/season" | cut -f1)
json=$(du -sm "$run/html/season/games.json" | cut -f1)
echo "kestrostats-site: $games games, $players players -> $files files, ${size} MB (games.json ${json} MB); limit ${limit} s"
