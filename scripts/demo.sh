#!/bin/sh
# Builds every program and runs kestrostats-c on the bundled sample logs.
# The reports land in demo/html/ of the repository.
set -eu
cd "$(dirname "$0")/.."
. scripts/packages.sh
# shellcheck disable=SC2086
sh scripts/ensure-packages.sh $BUILD_PACKAGES

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

# The programs run in one working directory beside their configuration,
# the site files and an html/ folder for the pages.
rm -rf demo
mkdir -p demo/html
cp build/bin/* demo/
cp site/c-default.cfg site/c-header.html site/c-footer.html demo/
cp -r site/html/. demo/html/
for log in samples/*.log; do
  cp "$log" demo/
  (cd demo && ./kestrostats-c "$(basename "$log")")
done
echo
echo "Reports written to $(pwd)/demo/html/"
ls demo/html
