#!/usr/bin/env bash
# Throughput and memory benchmark of kestrostats-c and ks-preparse.
#
#   bench/run-benchmark.sh [SIZE_MB]        (default 1024; 2 is a quick check)
#
# Builds nothing: the programs come from build/bin/ of the source tree, or from
# $KS_BIN_DIR. ks-loggen writes a console log and a server log of SIZE_MB
# megabytes (MB = 2^20 bytes) with a fixed seed into a scratch directory
# ($KS_BENCH_DIR, else a new one under /var/tmp, removed at the end unless
# KS_BENCH_KEEP=1). Each file is read once to put it into the page cache; then
# every run is pinned to one processor core (taskset; $KS_BENCH_CORE, default 1)
# and timed with GNU time, which also reports the peak resident memory.
#
# Rows of the table, all on the same two files:
#   - wc -l: the baseline, a program that only reads the file;
#   - kestrostats-c start-up: the program on an empty log, which is its
#     start-up wait alone (it spins until it has used 1 s of processor time);
#   - kestrostats-c on the console log: raw figures over the whole run, and
#     "net" figures over the elapsed time less the nominal 1 s wait;
#   - ks-preparse on the server log.
# "x base" is the elapsed time divided by the baseline's elapsed time on the
# same file. "cpu s" is user plus system time, which other load on the machine
# disturbs less than the elapsed time; "cpu MB/s" is the throughput on it. The
# net row takes the 1 s wait off both the elapsed and the processor time.
set -euo pipefail

size_mb=${1-1024}
seed=${KS_BENCH_SEED:-20240612}
case $size_mb in
  '' | *[!0-9.]* | *.*.*) echo "usage: $0 [SIZE_MB]" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
bin=${KS_BIN_DIR:-$top/build/bin}
for program in ks-loggen kestrostats-c ks-preparse; do
  if [ ! -x "$bin/$program" ]; then
    echo "error: $bin/$program not found; build it first (cmake --build build)" >&2
    exit 1
  fi
done

# GNU time (Debian "time") and taskset (Debian "util-linux").
if [ ! -x /usr/bin/time ] || ! command -v taskset > /dev/null; then
  if [ "$(id -u)" = 0 ] && command -v apt-get > /dev/null; then
    sh "$top/scripts/ensure-packages.sh" time util-linux
  fi
fi
[ -x /usr/bin/time ] || { echo "error: GNU time (/usr/bin/time) is needed: apt-get install time" >&2; exit 1; }
command -v taskset > /dev/null || { echo "error: taskset is needed: apt-get install util-linux" >&2; exit 1; }

cores=$(nproc 2> /dev/null || echo 1)
core=${KS_BENCH_CORE:-1}
[ "$core" -lt "$cores" ] || core=0
cpu_model=$(grep -m1 '^model name' /proc/cpuinfo 2> /dev/null | sed 's/^[^:]*: *//')
cpu_model=${cpu_model:-unknown}

if [ -n "${KS_BENCH_DIR:-}" ]; then
  work=$KS_BENCH_DIR
  mkdir -p "$work"
else
  work=$(mktemp -d /var/tmp/ks-bench.XXXXXX)
fi
cleanup() {
  if [ "${KS_BENCH_KEEP:-0}" != 1 ]; then
    rm -rf "$work/console.log" "$work/server.log" "$work/run" "$work/times"
    [ -n "${KS_BENCH_DIR:-}" ] || rmdir "$work" 2> /dev/null || true
  fi
}
trap cleanup EXIT

echo "Generating ${size_mb} MB logs (seed $seed) in $work ..."
t0=$(date +%s.%N)
"$bin/ks-loggen" console "$size_mb" "$seed" "$work/console.log"
t1=$(date +%s.%N)
"$bin/ks-loggen" server "$size_mb" "$seed" "$work/server.log"
t2=$(date +%s.%N)
generated=$(awk -v a="$t0" -v b="$t1" -v c="$t2" 'BEGIN { printf "%.1f s (console), %.1f s (server)", b - a, c - b }')
cat "$work/console.log" > /dev/null
cat "$work/server.log" > /dev/null

# The analyser's working directory: the programs, an empty report
# configuration and a page folder.
run=$work/run
rm -rf "$run"
mkdir -p "$run/html"
cp "$bin/kestrostats-c" "$bin/ks-preparse" "$run/"
: > "$run/c-default.cfg"
: > "$run/empty.log"
mkdir -p "$work/times"

# measure NAME COMMAND...: runs the command pinned to the core, in $run,
# standard output into times/NAME.out; leaves "elapsed user system maxrss_kb"
# in times/NAME.
measure() {
  local name=$1
  shift
  (cd "$run" && /usr/bin/time -f '%e %U %S %M' -o "$work/times/$name" \
     taskset -c "$core" "$@" > "$work/times/$name.out")
}

echo "Measuring (pinned to core $core) ..."
measure wc_console wc -l "$work/console.log"
measure startup ./kestrostats-c empty.log
rm -f "$run"/html/* "$run/db_sql_gamestats.txt"
measure analyser ./kestrostats-c "$work/console.log"
# What writing its output costs at the least: a copy of the pages it wrote.
rm -rf "$work/html-copy"
measure copy_pages cp -r html "$work/html-copy"
page_bytes=$(du -sb "$run/html" | cut -f1)
rm -rf "$work/html-copy"
measure wc_server wc -l "$work/server.log"
measure preparse ./ks-preparse "$work/server.log" "$work/run/converted.log"

console_bytes=$(stat -c %s "$work/console.log")
server_bytes=$(stat -c %s "$work/server.log")
console_lines=$(cut -d' ' -f1 "$work/times/wc_console.out")
server_lines=$(cut -d' ' -f1 "$work/times/wc_server.out")
games_written=$(sed -n 's/^ *games processed: *//p' "$work/times/analyser.out")
games_converted=$(grep -c -- '-- GAME BEGIN --' "$run/converted.log" || true)

echo
echo "kestro stats benchmark: $(date -u '+%Y-%m-%d %H:%M UTC'), $cores cores ($cpu_model), runs pinned to core $core"
echo "console log: $console_bytes bytes, $console_lines lines; kestrostats-c wrote ${games_written:-?} games"
echo "server log:  $server_bytes bytes, $server_lines lines; ks-preparse converted $games_converted games"
echo "ks-loggen wrote them in $generated"
echo "MB = 2^20 bytes; x base = elapsed / elapsed of wc -l on the same file; cpu = user + system time"
echo
awk -v dir="$work/times" -v cb="$console_bytes" -v sb="$server_bytes" -v pb="$page_bytes" -v games="${games_written:-0}" '
  function load(name,   line, f) {
    line = ""
    getline line < (dir "/" name)
    close(dir "/" name)
    split(line, f, " ")
    el[name] = f[1]; cpu[name] = f[2] + f[3]; rss[name] = f[4]
  }
  function mbs(bytes, seconds) { return seconds > 0 ? sprintf("%9.1f", bytes / 1048576 / seconds) : "        -" }
  # offset: seconds taken off both the elapsed and the processor time.
  function row(label, file, name, bytes, base, offset,   seconds, used) {
    seconds = el[name] - offset; if (seconds < 0.01) seconds = 0.01
    used = cpu[name] - offset; if (used < 0.01) used = 0.01
    if (base < 0.01) base = 0.01  # GNU time counts in hundredths
    printf "%-34s %-8s %9.2f %s %8.1f %8.2f %s %8.1f\n", label, file, seconds, mbs(bytes, seconds),
           seconds / base, used, mbs(bytes, used), rss[name] / 1024
  }
  BEGIN {
    load("wc_console"); load("startup"); load("analyser"); load("wc_server"); load("preparse"); load("copy_pages")
    printf "%-34s %-8s %9s %9s %8s %8s %9s %8s\n", "run", "file", "elapsed s", "MB/s", "x base", "cpu s",
           "cpu MB/s", "peak MB"
    row("wc -l (baseline)", "console", "wc_console", cb, el["wc_console"], 0)
    printf "%-34s %-8s %9.2f %9s %8s %8.2f %9s %8.1f\n", "kestrostats-c start-up wait alone", "empty",
           el["startup"], "-", "-", cpu["startup"], "-", rss["startup"] / 1024
    row("kestrostats-c (raw)", "console", "analyser", cb, el["wc_console"], 0)
    row("kestrostats-c (net: less 1 s wait)", "console", "analyser", cb, el["wc_console"], 1.0)
    row("cp -r of the pages it wrote", "pages", "copy_pages", pb, el["copy_pages"], 0)
    row("wc -l (baseline)", "server", "wc_server", sb, el["wc_server"], 0)
    row("ks-preparse", "server", "preparse", sb, el["wc_server"], 0)
    net = el["analyser"] - 1.0; if (net < 0.01) net = 0.01
    copy = el["copy_pages"]; if (copy < 0.01) copy = 0.01
    printf "\nkestrostats-c: %.0f games/s (net); its net time is %.1f x the copy of its pages\n", games / net, net / copy
  }'
echo
echo "Targets: ks-preparse 250 MB/s or better on a 1 GB log; kestrostats-c (net) within 2 x the copy of its pages;"
echo "peak memory under 16 MB."
