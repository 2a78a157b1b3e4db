#!/usr/bin/env bash
# Peak memory and run time of TagSift on generated name lists.
#
#   bench/tagsift-memory.sh [NAMES]               (default 100000)
#   bench/tagsift-memory.sh --lists DIR [NAMES]   only write the two lists into DIR
#
# Builds nothing: TagSift comes from build/bin/ of the source tree, or from
# $KS_BIN_DIR. The generator writes NAMES distinct player names of exactly 50
# characters with a fixed seed ($KS_BENCH_SEED): most carry a clan tag in
# front or at the end, some colour codes, a made-up player name and random
# characters. "players.txt" holds them in ascending byte order, and
# "players-r.txt" the names written backwards, also in ascending byte order:
# the two lists as TagSift expects them. The lists go into a scratch
# directory ($KS_BENCH_DIR, else a new one under /var/tmp, removed at the end
# unless KS_BENCH_KEEP=1).
#
# TagSift then runs with its default settings (-l 6 -m 4) under GNU time,
# which reports the peak resident memory; the figure per input name is that
# peak divided by NAMES. The target is at most 1 KB (1024 bytes) per name;
# the script ends with status 1 when the run misses it.
set -euo pipefail

lists_only=""
if [ "${1-}" = "--lists" ]; then
  [ $# -ge 2 ] || { echo "usage: $0 --lists DIR [NAMES]" >&2; exit 2; }
  lists_only=$2
  shift 2
fi
names=${1-100000}
seed=${KS_BENCH_SEED:-20240612}
case $names in
  '' | *[!0-9]*) echo "usage: $0 [NAMES] | $0 --lists DIR [NAMES]" >&2; exit 2 ;;
esac
case $seed in
  '' | *[!0-9]*) echo "error: KS_BENCH_SEED must be a whole number" >&2; exit 2 ;;
esac
[ "$names" -ge 1 ] || { echo "error: NAMES must be at least 1" >&2; exit 2; }
target_bytes=1024

# write_lists DIR: players.txt and players-r.txt for $names names.
write_lists() {
  local dir=$1
  # The generator draws from its own Park-Miller generator (exact in the
  # double arithmetic of every awk), so the lists are the same whichever awk
  # runs it. The five-character serial number in base 36 keeps the names
  # distinct.
  awk -v count="$names" -v seed="$seed" '
    function draw(n) { state = (state * 16807) % 2147483647; return int(state / 2147483647 * n) }
    function pick(alphabet,   text) { return substr(alphabet, draw(length(alphabet)) + 1, 1) }
    function word(alphabet, n,   text, i) { text = ""; for (i = 0; i < n; ++i) text = text pick(alphabet); return text }
    function serial(value,   text, i) {
      text = ""
      for (i = 0; i < 5; ++i) { text = substr(digits36, value % 36 + 1, 1) text; value = int(value / 36) }
      return text
    }
    BEGIN {
      state = seed % 2147483646 + 1
      digits36 = "0123456789abcdefghijklmnopqrstuvwxyz"
      letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
      filler = letters "0123456789_-.!"
      syllables = "ka ro zen dar mi to rex vo lu sha gr im nox fa qu el"
      nsyllables = split(syllables, syllable, " ")
      # About one clan for every 40 names; a few clans hold most tagged players.
      clans = int(count / 40) + 1
      for (c = 0; c < clans; ++c) {
        core = word(letters, 3 + draw(4))
        style = draw(8)
        if (style == 0) tag[c] = "[" core "]"
        else if (style == 1) tag[c] = "=" core "="
        else if (style == 2) tag[c] = "{" core "}"
        else if (style == 3) tag[c] = core "|"
        else if (style == 4) tag[c] = "<" core ">"
        else if (style == 5) tag[c] = "." core
        else if (style == 6) tag[c] = "-" core
        else tag[c] = "*" core "*"
        suffix[c] = style >= 5
      }
      for (i = 0; i < count; ++i) {
        player = ""
        for (s = 1 + draw(3); s > 0; --s) player = player syllable[draw(nsyllables) + 1]
        if (draw(4) == 0) player = "^" draw(10) player
        player = player "_" serial(i)
        kind = draw(10)
        if (kind < 3) { front = ""; back = "" }
        else {
          c = draw(10) < 5 ? draw(int(clans / 10) + 1) : draw(clans)
          if (suffix[c]) { front = ""; back = tag[c] } else { front = tag[c]; back = "" }
        }
        fill = 50 - length(front) - length(player) - length(back)
        print front player word(filler, fill) back
      }
    }' > "$dir/names.unsorted"
  LC_ALL=C sort "$dir/names.unsorted" > "$dir/players.txt"
  awk '{ text = ""; for (i = length($0); i > 0; --i) text = text substr($0, i, 1); print text }' \
    "$dir/names.unsorted" | LC_ALL=C sort > "$dir/players-r.txt"
  rm -f "$dir/names.unsorted"
}

if [ -n "$lists_only" ]; then
  mkdir -p "$lists_only"
  write_lists "$lists_only"
  echo "Wrote $lists_only/players.txt and $lists_only/players-r.txt ($names names, seed $seed)"
  exit 0
fi

here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")
bin=${KS_BIN_DIR:-$top/build/bin}
if [ ! -x "$bin/TagSift" ]; then
  echo "error: $bin/TagSift not found; build it first (cmake --build build)" >&2
  exit 1
fi
# GNU time (Debian "time").
if [ ! -x /usr/bin/time ] && [ "$(id -u)" = 0 ] && command -v apt-get > /dev/null; then
  sh "$top/scripts/ensure-packages.sh" time
fi
[ -x /usr/bin/time ] || { echo "error: GNU time (/usr/bin/time) is needed: apt-get install time" >&2; exit 1; }

if [ -n "${KS_BENCH_DIR:-}" ]; then
  work=$KS_BENCH_DIR
  mkdir -p "$work"
else
  work=$(mktemp -d /var/tmp/ks-tagsift.XXXXXX)
fi
cleanup() {
  if [ "${KS_BENCH_KEEP:-0}" != 1 ]; then
    rm -f "$work/players.txt" "$work/players-r.txt" "$work/tags.txt" "$work/TagSift" \
      "$work/help.time" "$work/run.time" "$work/run.out"
    [ -n "${KS_BENCH_DIR:-}" ] || rmdir "$work" 2> /dev/null || true
  fi
}
trap cleanup EXIT

echo "Generating $names names (seed $seed) in $work ..."
write_lists "$work"
cp "$bin/TagSift" "$work/"
cat "$work/players.txt" "$work/players-r.txt" > /dev/null

echo "Measuring ..."
# The help text alone: the memory any run of the program takes.
(cd "$work" && /usr/bin/time -f '%e %U %S %M' -o help.time ./TagSift -? > /dev/null)
(cd "$work" && /usr/bin/time -f '%e %U %S %M' -o run.time ./TagSift -w > run.out)

cpu_model=$(grep -m1 '^model name' /proc/cpuinfo 2> /dev/null | sed 's/^[^:]*: *//')
echo
echo "TagSift memory benchmark: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc 2> /dev/null || echo '?') cores (${cpu_model:-unknown})"
echo "lists: $names names of 50 characters, $(stat -c %s "$work/players.txt") bytes each"
sed -n 's/^Tags Found: /candidates found: /p; s/^Final Tag Count (Filtered): /tags written: /p' "$work/run.out"
awk -v names="$names" -v target="$target_bytes" -v help="$work/help.time" -v run="$work/run.time" '
  function load(file, field) { getline line < file; close(file); split(line, field, " ") }
  BEGIN {
    load(help, h); load(run, r)
    per_name = r[4] * 1024 / names
    printf "start-up (TagSift -?): peak %.1f MB\n", h[4] / 1024
    printf "run (-l 6 -m 4):       peak %.1f MB, %.2f s elapsed, %.2f s cpu\n", r[4] / 1024, r[1], r[2] + r[3]
    printf "peak memory per name:  %.0f bytes (target: at most %d)\n", per_name, target
    if (per_name > target) { print "FAIL: over the target"; exit 1 }
    print "ok"
  }'
