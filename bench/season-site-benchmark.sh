#!/usr/bin/env bash
# Time of kestrostats-site on a large season, against a throwaway MariaDB
# server, the generator pinned to one core.
#
#   bench/season-site-benchmark.sh [PLAYERS] [GAMES]    (default 10000 and 100)
#
# Builds nothing: the programs come from build/bin/ of the source tree, or
# from $KS_BIN_DIR. kestrostats-s makes the season's tables from a sample log;
# then PLAYERS rows with every column filled (deterministic figures, names
# with colour codes), 50 clan tags and GAMES page slots (with their weapon
# pages and JSON files as empty files) replace its data. The site is written
# once to warm the caches, then measured three times each: into an empty
# folder, with every page changed (every player one game more) and with
# nothing changed (pages that already hold what they would get are not
# rewritten). Prints the best of each; fails when rewriting every page took
# more than $KS_SITE_LIMIT seconds (default 5).
# Needs mariadb-server, mariadb-client, time and util-linux (taskset).
set -euo pipefail

players=${1-10000}
games=${2-100}
limit=${KS_SITE_LIMIT:-5}
case "$players$games" in '' | *[!0-9]*) echo "usage: $0 [PLAYERS] [GAMES]" >&2; exit 2 ;; esac

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
bin=${KS_BIN_DIR:-$top/build/bin}
for program in kestrostats-site kestrostats-s kestrostats-c ks-preparse; do
  [ -x "$bin/$program" ] || { echo "error: $bin/$program not found; build it first" >&2; exit 1; }
done
for tool in mariadbd mysql taskset /usr/bin/time; do
  command -v "$tool" > /dev/null || { echo "error: $tool is needed" >&2; exit 1; }
done

work=$(mktemp -d /var/tmp/ks-site-bench.XXXXXX)
cleanup() {
  sh "$top/scripts/throwaway-db.sh" stop "$work/db" > /dev/null 2>&1 || true
  [ "${KS_BENCH_KEEP:-0}" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT
MYSQL_TCP_PORT=$(sh "$top/scripts/throwaway-db.sh" start "$work/db")
export MYSQL_TCP_PORT
query() { mysql -h 127.0.0.1 -u root -N -B -e "use bench; $1"; }

run=$work/run
mkdir -p "$run/html"
cp "$bin/kestrostats-site" "$bin/kestrostats-s" "$bin/kestrostats-c" "$bin/ks-preparse" "$run/"
cp "$top/samples/ffa-chat.log" "$run/"
: > "$run/c-default.cfg"
printf 'db_host:\n127.0.0.1\ndb_name:\nbench\ndb_user:\nroot\nno_of_game_stats:\n%s\ndetect_clan_tag:\nyes\nmake_season_site:\nno\nserver_name:\nbench\n' \
  "$games" > "$run/s-default.cfg"
echo "Making the season's tables with kestrostats-s ..."
(cd "$run" && ./kestrostats-s ffa-chat.log > season.out 2>&1) || { cat "$run/season.out" >&2; exit 1; }

echo "Filling $players players, 50 clan tags and $games game pages ..."
# Every counter column gets a figure of its own from a seeded RAND per row.
columns=$(query "select column_name from information_schema.columns where table_schema='bench' and
  table_name='playerstats' and data_type='int' order by ordinal_position;")
names="" values="" n=0
for c in $columns; do
  n=$((n + 1))
  names="$names, $c"
  values="$values, floor(rand(seq * 131 + $n) * 400)"
done
query "delete from playerstats; delete from gamestats; delete from clanstats;
  insert into playerstats (raw_name, name, model, quote, skill, combat$names)
  select concat('^', seq % 8, 'Player', seq, '^7[TAG', seq % 50, ']'), concat('Player', seq, '[TAG', seq % 50, ']'),
         'sarge/default', concat('good game number ', seq), rand(seq) * 300 - 80, rand(seq + 1) * 200$values
  from seq_1_to_$players;
  insert into clanstats (tag, stat) select concat('[TAG', seq, ']'), rand(seq) * 5 from seq_0_to_49;
  insert into gamestats (server, slot, html) select 'bench', seq, concat('kestrostats_2024_06_12_20_', lpad(seq div 60, 2, '0'), '_',
         lpad(seq mod 60, 2, '0'), '_', seq, '_CTF_RED_vs_BLUE_main.html') from seq_1_to_$games;
  update miscstats set value=now() where variable='time';"
query "select html from gamestats;" | while read -r page; do
  : > "$run/html/$page"
  : > "$run/html/${page%main.html}wpn.html"
  : > "$run/html/${page%main.html}game.json"
done

# site: one run, pinned to one core; its figures are appended to times.txt.
site() {
  (cd "$run" && taskset -c 0 /usr/bin/time -f '%e %U %S %M' -o time.txt ./kestrostats-site > site.out)
  cat "$run/time.txt" >> "$work/times.txt"
}
# measure NAME PREPARE: three runs, each after PREPARE; prints the best.
measure() {
  : > "$work/times.txt"
  for _ in 1 2 3; do
    eval "$2"
    site
  done
  sort -n "$work/times.txt" | head -1 | {
    read -r wall user system memory
    printf '%-34s %6s s wall  %5s s user  %5s s system  %4s MB peak\n' "$1" "$wall" "$user" "$system" $((memory / 1024))
    echo "$wall" > "$work/best-$3.txt"
  }
}
site  # warms the caches
measure "written into an empty folder:" 'rm -rf "$run/html/season"' empty
measure "every page changed:" 'query "update playerstats set games=games+1;"' changed
measure "nothing changed:" ':' same
pages=$(find "$run/html/season" -type f | wc -l)
size=$(du -sm "$run/html/season" | cut -f1)
best=$(cat "$work/best-changed.txt")
echo "kestrostats-site: $players players, $games game pages -> $pages files, ${size} MB (best of three; limit ${limit} s)"
awk "BEGIN { exit !($best <= $limit) }" || { echo "error: rewriting every page took ${best} s, more than ${limit} s" >&2; exit 1; }
