#!/bin/sh
# Installs what the tests need, builds everything twice (a normal build and
# one with AddressSanitizer + UndefinedBehaviorSanitizer) and runs every test
# in both builds; builds and checks the Debian packages.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
# shellcheck disable=SC2086
sh scripts/ensure-packages.sh $TEST_PACKAGES

jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")
# The Debian packages of the normal build: built, checked, and used for a season.
timeout 900 sh scripts/package-test.sh build

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKS_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
   ctest --output-on-failure -j "$jobs")

# Every fuzz target for a bounded time under the sanitizers.
sh scripts/fuzz.sh 60
