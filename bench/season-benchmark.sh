#!/usr/bin/env bash
# Wall time of a season run on a generated server log, against a throwaway
# MariaDB server, with the time split into its steps.
#
#   bench/season-benchmark.sh [SIZE_MB]        (default 50)
#
# Builds nothing: the programs come from build/bin/ of the source tree, or from
# $KS_BIN_DIR. ks-loggen writes a server log of SIZE_MB megabytes with a fixed
# seed into a scratch directory ($KS_BENCH_DIR, else a new one under /var/tmp,
# removed at the end unless KS_BENCH_KEEP=1), and scripts/throwaway-db.sh
# starts a MariaDB server of its own on 127.0.0.1.
#
# Rows, all on the same log, each on a fresh database:
#   - the whole run (10 page slots): wall time including the database server's
#     work and the pages, which is what an admin waits for;
#   - the run without pages (no page slots): conversion, parsing and SQL;
#   - ks-preparse alone, and kestrostats-c alone on the converted log;
#   - the mysql client applying the run's SQL script (db_sql.txt) alone, on a
#     database prepared with the run's schema script; the script is taken from
#     a run stopped just before it would apply it (KS_KILL_AT=games-written).
# Parsing is the run without pages less the SQL, the conversion and the
# 1 s processor-time wait at start.
set -euo pipefail

size_mb=${1-50}
seed=${KS_BENCH_SEED:-20240612}
case $size_mb in
  '' | *[!0-9.]* | *.*.*) echo "usage: $0 [SIZE_MB]" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
bin=${KS_BIN_DIR:-$top/build/bin}
for program in ks-loggen kestrostats-s kestrostats-c ks-preparse TagSift; do
  [ -x "$bin/$program" ] || { echo "error: $bin/$program not found; build it first" >&2; exit 1; }
done
command -v mariadbd > /dev/null && command -v mysql > /dev/null ||
  { echo "error: MariaDB server and client are needed (mariadb-server, mariadb-client)" >&2; exit 1; }

if [ -n "${KS_BENCH_DIR:-}" ]; then
  work=$KS_BENCH_DIR
  mkdir -p "$work"
else
  work=$(mktemp -d /var/tmp/ks-season-bench.XXXXXX)
fi
db_dir=$work/db
cleanup() {
  sh "$top/scripts/throwaway-db.sh" stop "$db_dir" > /dev/null 2>&1 || true
  if [ "${KS_BENCH_KEEP:-0}" != 1 ]; then
    rm -rf "$work/run" "$work/server.log"
    [ -n "${KS_BENCH_DIR:-}" ] || rm -rf "$work"
  fi
}
trap cleanup EXIT

echo "Generating a ${size_mb} MB server log (seed $seed) in $work ..."
"$bin/ks-loggen" server "$size_mb" "$seed" "$work/server.log"
cat "$work/server.log" > /dev/null
port=$(sh "$top/scripts/throwaway-db.sh" start "$db_dir")
export MYSQL_TCP_PORT=$port

run=$work/run
database=0
# fresh_run SLOTS: an empty working directory with the programs and the
# configurations, on a database of its own.
fresh_run() {
  database=$((database + 1))
  rm -rf "$run"
  mkdir -p "$run/html"
  cp "$bin/kestrostats-s" "$bin/kestrostats-c" "$bin/ks-preparse" "$bin/TagSift" "$run/"
  : > "$run/c-default.cfg"
  printf 'db_host:\n127.0.0.1\ndb_name:\nbench%s\ndb_user:\nroot\nno_of_game_stats:\n%s\nmake_season_site:\nno\n' \
    "$database" "$1" > "$run/s-default.cfg"
}
# seconds COMMAND...: runs the command in $run and prints its wall time.
seconds() {
  local start end
  start=$(date +%s.%N)
  (cd "$run" && "$@") > "$work/last.out" 2>&1 || { cat "$work/last.out" >&2; return 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

echo "Measuring ..."
fresh_run 10
whole=$(seconds ./kestrostats-s "$work/server.log")
games=$(sed -n 's/^ *games processed: *//p' "$work/last.out")
pages=$(find "$run/html" -type f | wc -l)
kestro_log=$run/converted.log
seconds ./ks-preparse "$work/server.log" "$kestro_log" > /dev/null
fresh_run 0
without_pages=$(seconds ./kestrostats-s "$work/server.log")
convert=$(seconds ./ks-preparse "$work/server.log" converted.log)
page_run=$(seconds ./kestrostats-c converted.log)
fresh_run 0
# (Through a shell of its own, which says nothing of the kill.)
(cd "$run" && sh -c 'KS_KILL_AT=games-written ./kestrostats-s "$1" > /dev/null 2>&1' sh "$work/server.log") \
  2> /dev/null || true
mysql -h 127.0.0.1 -u root < "$run/db_sql_schema.txt" > /dev/null
sql=$(seconds sh -c 'mysql -h 127.0.0.1 -u root < db_sql.txt > /dev/null')

size=$(stat -c %s "$work/server.log")
cores=$(nproc 2> /dev/null || echo 1)
cpu_model=$(grep -m1 '^model name' /proc/cpuinfo 2> /dev/null | sed 's/^[^:]*: *//')
echo
echo "kestro stats season benchmark: $(date -u '+%Y-%m-%d %H:%M UTC'), $cores cores (${cpu_model:-unknown})"
echo "server log: $size bytes; $games games counted, $pages pages written"
awk -v whole="$whole" -v nopages="$without_pages" -v convert="$convert" -v pages="$page_run" -v sql="$sql" \
    -v games="$games" 'BEGIN {
  parse = nopages - sql - convert - 1.0; if (parse < 0) parse = 0
  printf "%-46s %8.2f s  %7.0f games/s\n", "whole run (pages included)", whole, games / whole
  printf "%-46s %8.2f s  %7.0f games/s\n", "run without pages", nopages, games / nopages
  printf "  %-44s %8.2f s\n", "processor-time wait at start", 1.0
  printf "  %-44s %8.2f s\n", "conversion (ks-preparse alone)", convert
  printf "  %-44s %8.2f s\n", "parsing (the rest)", parse
  printf "  %-44s %8.2f s\n", "SQL (the client applying db_sql.txt alone)", sql
  printf "%-46s %8.2f s\n", "pages (kestrostats-c alone on the converted log)", pages
}'
echo
case $size_mb in
  50) target=5 ;;
  200) target=15 ;;
  *) target= ;;
esac
if [ -n "$target" ]; then
  verdict=$(awk -v whole="$whole" -v target="$target" 'BEGIN { print (whole <= target) ? "met" : "missed" }')
  echo "Target: the whole run on a ${size_mb} MB server log in at most $target s: $verdict."
else
  echo "Targets: the whole run on a 50 MB server log in at most 5 s, on 200 MB in at most 15 s."
fi
