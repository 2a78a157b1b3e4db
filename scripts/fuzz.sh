#!/bin/sh
# Builds the fuzz targets (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each one for SECONDS seconds (default 60) on its seed
# corpus. Exits non-zero when any target finds a crash, a leak, a timeout or
# runs out of memory, and prints the command that reproduces the finding.
#
# Usage: scripts/fuzz.sh [SECONDS]
# Environment: KS_FUZZ_TARGETS="analyser_log preparse ..." runs only those
# targets; KS_FUZZ_JOBS sets the build's parallel jobs (default 1).
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}
case $seconds in
  ''|*[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;;
esac

. scripts/packages.sh
# shellcheck disable=SC2086
sh scripts/ensure-packages.sh $BUILD_PACKAGES clang
# libFuzzer and the sanitizer runtimes come with the clang version's runtime package.
clang_major=$(clang++ --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)
sh scripts/ensure-packages.sh "libclang-rt-${clang_major}-dev"

build=$root/build-fuzz
mkdir -p "$build"
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DKS_FUZZ=ON >"$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j "${KS_FUZZ_JOBS:-1}"

# Real logs from outside the project, read in place when they are there.
reallogs=$root/../shared/reallogs
[ -d "$reallogs" ] || reallogs=""

targets=${KS_FUZZ_TARGETS:-"analyser_log season_log season_sql preparse cfg_loader tagsift config_readers"}
passed=0
failed=0
for target in $targets; do
  # Extra seed folders, per-input size cap and dictionary of each target.
  case $target in
    analyser_log|season_log) extra="$root/samples $reallogs"; max_len=16384; dict=console_log ;;
    preparse) extra="$reallogs"; max_len=16384; dict=server_log ;;
    cfg_loader) extra="$root/servercfg/tests/data"; max_len=16384; dict=cfg ;;
    tagsift) extra=""; max_len=8192; dict="" ;;
    season_sql) extra=""; max_len=2048; dict=sql ;;
    config_readers) extra=""; max_len=4096; dict=config ;;
    *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
  esac
  # New inputs found go to a working corpus in the build tree; the committed
  # seeds and the extra folders are only read.
  work=$build/corpus/$target
  artifacts=$build/artifacts/$target
  rm -rf "$artifacts"
  mkdir -p "$work" "$artifacts"
  set -- -max_total_time="$seconds" -max_len="$max_len" -timeout=25 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/"
  [ -n "$dict" ] && set -- "$@" -dict="$root/fuzz/dict/$dict.dict"
  log=$build/fuzz_$target.log
  echo "fuzz: $target for ${seconds}s"
  status=0
  # The outer limit only guards against a hang of libFuzzer itself.
  # shellcheck disable=SC2086
  timeout -k 10 $((seconds + 300)) "$build/fuzz_$target" "$@" "$work" "$root/fuzz/corpus/$target" $extra \
    >"$log" 2>&1 || status=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" | sed 's/^/  /' || true
  if [ "$status" -ne 0 ]; then
    failed=$((failed + 1))
    echo "fuzz: $target FOUND A PROBLEM (exit status $status); last lines of $log:"
    tail -n 40 "$log"
    for artifact in "$artifacts"/*; do
      [ -e "$artifact" ] || continue
      echo "fuzz: reproduce with: $build/fuzz_$target $artifact"
    done
  else
    passed=$((passed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
