#!/usr/bin/env bash
# Golden outputs: every file the command-line programs write for a fixed set
# of inputs, as SHA-256 lines. A redesign proves that it changed nothing by
# matching the recorded list byte for byte.
#
#   scripts/golden-outputs.sh [--record | --check] [BIN_DIR]
#     --check   (default) compare with tests/golden/outputs.sha256
#     --record  write tests/golden/outputs.sha256 (only when the outputs are
#               meant to change; a redesign must never need this)
#     BIN_DIR   folder with the built programs (default build/bin)
#
# Inputs: the sample logs, the real logs of ../shared/reallogs when present
# (their lines are checked only then), ks-loggen logs of several seeds, and
# the seed corpora of the log fuzz targets. Each input runs, in a scratch
# directory of its own, through kestrostats-c, ks-preparse (normal and
# carry-over mode) and kestrostats-s against a throwaway MariaDB server, with
# SOURCE_DATE_EPOCH fixed. Hashed: standard output (less the lines with
# clock readings), pages, rotation statements, SQL scripts, converted logs,
# carry-over files, tag lists and the database rows (less their time stamps).
set -euo pipefail

mode=check
bin=""
for arg in "$@"; do
  case $arg in
    --check) mode=check ;;
    --record) mode=record ;;
    -*) echo "usage: $0 [--record | --check] [BIN_DIR]" >&2; exit 2 ;;
    *) bin=$arg ;;
  esac
done
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${bin:-$top/build/bin}
bin=$(cd "$bin" && pwd)
expected=$top/tests/golden/outputs.sha256
reallogs=$top/../shared/reallogs

for program in kestrostats-c kestrostats-s ks-preparse TagSift ks-loggen; do
  [ -x "$bin/$program" ] || { echo "error: $bin/$program not found" >&2; exit 1; }
done
if ! command -v mariadbd > /dev/null || ! command -v mysql > /dev/null; then
  echo "golden outputs skipped: MariaDB is not installed"
  exit 0
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ks-golden.XXXXXX")
cleanup() {
  sh "$top/scripts/throwaway-db.sh" stop "$work/db" > /dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
port=$(sh "$top/scripts/throwaway-db.sh" start "$work/db")
export MYSQL_TCP_PORT=$port SOURCE_DATE_EPOCH=1733616000 TZ=UTC LC_ALL=C
unset KS_KILL_AT

# The inputs, as "group/name path" lines.
inputs=$work/inputs
mkdir -p "$work/generated"
{
  for f in "$top"/samples/*.log; do echo "samples/$(basename "$f") $f"; done
  if [ -d "$reallogs" ]; then
    for f in "$reallogs"/*.log; do echo "reallogs/$(basename "$f") $f"; done
  else
    # Without the real logs, their places are kept: each input's season
    # database is numbered in input order, and the number is in its SQL.
    grep -o '  reallogs/[^/]*' "$expected" | sort -u | while read -r key; do echo "$key -"; done
  fi
  for seed in 1 2 3; do
    for form in console server; do
      f=$work/generated/$form-$seed.log
      "$bin/ks-loggen" "$form" 0.25 "$seed" "$f"
      echo "generated/$form-$seed.log $f"
    done
  done
  for target in analyser_log season_log preparse; do
    for f in "$top"/fuzz/corpus/$target/*; do echo "corpus/$target-$(basename "$f") $f"; done
  done
} > "$inputs"

manifest=$work/manifest
: > "$manifest"
# hash KEY DIR FILE...: adds a line per file (path relative to DIR).
hash() {
  local key=$1 dir=$2
  shift 2
  local file
  for file in "$@"; do
    [ -f "$dir/$file" ] || continue
    printf '%s  %s/%s\n' "$(sha256sum < "$dir/$file" | cut -d' ' -f1)" "$key" "$file" >> "$manifest"
  done
}
# Left out of standard output: the run summary's clock readings, which
# differ from run to run, and its count of scratch texts, which measures how
# the program keeps its texts, not what it reads or writes.
steady() { grep -v -E '^ +(cpu time|start time|end time|elapsed time|max mallocs): ' "$1" > "$1.steady" || true; }
listing() { (cd "$1" && find . -type f -path "./$2*" | sed 's|^\./||' | sort); }

run_analyser() {  # KEY LOG
  local d=$work/c/$1
  mkdir -p "$d/html"
  cp "$bin/kestrostats-c" "$bin/ks-preparse" "$d/"
  cp "$2" "$d/game.log"
  : > "$d/c-default.cfg"
  (cd "$d" && ./kestrostats-c game.log > stdout 2> stderr) || echo "exit $?" >> "$d/stdout"
  steady "$d/stdout"
  # shellcheck disable=SC2046
  hash "$1/kestrostats-c" "$d" stdout.steady stderr db_sql_gamestats.txt $(listing "$d" html/)
}

run_preparse() {  # KEY LOG
  local d=$work/p/$1
  mkdir -p "$d"
  cp "$2" "$d/game.log"
  (cd "$d" && "$bin/ks-preparse" game.log normal.log > stdout-normal 2>&1) || echo "exit $?" >> "$d/stdout-normal"
  (cd "$d" && "$bin/ks-preparse" game.log carried.log 1 > stdout-carried 2>&1) || echo "exit $?" >> "$d/stdout-carried"
  # shellcheck disable=SC2046
  hash "$1/ks-preparse" "$d" normal.log stdout-normal carried.log stdout-carried $(listing "$d" kestro_lastgame)
}

database=0
run_season() {  # KEY LOG
  local d=$work/s/$1
  database=$((database + 1))
  mkdir -p "$d/html"
  cp "$bin/kestrostats-s" "$bin/kestrostats-c" "$bin/ks-preparse" "$bin/TagSift" "$d/"
  cp "$2" "$d/game.log"
  : > "$d/c-default.cfg"
  printf 'db_host:\n127.0.0.1\ndb_name:\ngolden%s\ndb_user:\nroot\nno_of_game_stats:\n3\ndetect_clan_tag:\nyes\nmake_season_site:\nno\n' \
    "$database" > "$d/s-default.cfg"
  (cd "$d" && KS_KEEP_TEMP_FILES=1 ./kestrostats-s game.log > stdout 2> stderr) || echo "exit $?" >> "$d/stdout"
  steady "$d/stdout"
  mysql -h 127.0.0.1 -u root -B -e "use golden$database;
    select * from playerstats order by raw_name;
    select * from clanstats order by tag;
    select * from gamestats order by slot;
    select fingerprint, log, server, pages from countedgames order by fingerprint;
    select id, fingerprint, server, log, played, map, type, duration, ended, red_score, blue_score, players,
      winner_team, winner, page, weapon_page from games order by id;
    select * from game_players order by game_id, slot;
    select * from game_kills order by game_id, killer, victim;" > "$d/rows" 2>&1 || true
  # shellcheck disable=SC2046
  hash "$1/kestrostats-s" "$d" stdout.steady stderr rows db_sql.txt db_sql_schema.txt db_sql_gamestats.txt \
    db_sql_rotation.txt db_sql_clanstats.txt db_sql_updatetags.txt db_cleanhtml.txt db_delhtml.txt kestro-s.log \
    kestro-s-pages.log tags.txt players.txt \
    players-r.txt $(listing "$d" html/)
}

while read -r key path; do
  if [ "$path" = - ]; then
    database=$((database + 1))
    continue
  fi
  run_analyser "$key" "$path"
  run_preparse "$key" "$path"
  run_season "$key" "$path"
done < "$inputs"
sort -k2 "$manifest" -o "$manifest"

if [ "$mode" = record ]; then
  cp "$manifest" "$expected"
  echo "recorded $(wc -l < "$expected") outputs in $expected"
  exit 0
fi

# Lines of real logs count only where the real logs are.
wanted=$work/wanted
if [ -d "$reallogs" ]; then cp "$expected" "$wanted"; else grep -v '  reallogs/' "$expected" > "$wanted" || true; fi
if diff -u "$wanted" "$manifest" > "$work/diff"; then
  echo "golden outputs: all $(wc -l < "$manifest") outputs match"
  exit 0
fi
echo "golden outputs DIFFER from $expected:"
cat "$work/diff"
exit 1
