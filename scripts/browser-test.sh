#!/bin/sh
# Opens the report pages of kestrostats-c and the season site of
# kestrostats-site in headless Chromium and checks that they load completely,
# are styled and link up (tests/browser/). The season site's test needs
# MariaDB (mariadb-server, mariadb-client) and skips itself without it.
#
# Usage: scripts/browser-test.sh [BIN_DIR] [--screenshots [DIR]]
#   BIN_DIR        folder holding kestrostats-c (default: build/bin)
#   --screenshots  also store the screenshots the test takes in DIR
#                  (default: docs/screenshots)
#
# Installs what is missing: the Debian packages chromium and fonts-dejavu-core
# (as root) and the test's npm packages (npm ci in tests/browser/). When
# Chromium is not there and cannot be installed, prints "skipped" and exits 0;
# any other missing piece is an error.
set -eu
caller=$(pwd)
cd "$(dirname "$0")/.."
root=$(pwd)

bin_dir=$root/build/bin
shots=""
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshots)
      shots=$root/docs/screenshots
      if [ $# -gt 1 ] && [ "${2#-}" = "$2" ]; then shots=$2; shift; fi ;;
    -h | --help)
      sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'
      exit 0 ;;
    -*)
      echo "$0: unknown option $1" >&2
      exit 2 ;;
    *) bin_dir=$1 ;;
  esac
  shift
done

# Relative paths on the command line start at the caller's directory.
case "$bin_dir" in /*) ;; *) bin_dir="$caller/$bin_dir" ;; esac
if [ ! -x "$bin_dir/kestrostats-c" ]; then
  echo "$0: no kestrostats-c in $bin_dir" >&2
  exit 1
fi

find_chromium() {
  if [ -n "${KS_CHROMIUM:-}" ] && [ -x "$KS_CHROMIUM" ]; then
    echo "$KS_CHROMIUM"
    return 0
  fi
  for b in chromium chromium-browser; do
    if command -v "$b" >/dev/null 2>&1; then command -v "$b"; return 0; fi
  done
  return 1
}

if ! chromium=$(find_chromium); then
  sh scripts/ensure-packages.sh chromium fonts-dejavu-core >&2 || true
  if ! chromium=$(find_chromium); then
    echo "browser test skipped: Chromium is not installed and could not be installed"
    exit 0
  fi
fi
# Screenshots need a font; the pages ask for DejaVu Sans after Verdana.
sh scripts/ensure-packages.sh fonts-dejavu-core >&2 || true

# Node.js drives the browser; Debian's nodejs and npm serve when none is there.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  sh scripts/ensure-packages.sh nodejs npm >&2 || true
fi
node_major=$(node -p 'process.versions.node.split(".")[0]' 2>/dev/null || echo 0)
if [ "$node_major" -lt 18 ] || ! command -v npm >/dev/null 2>&1; then
  echo "browser test skipped: Node.js 18 or later with npm is needed"
  exit 0
fi

# npm ci when playwright-core is missing or not the version package.json pins.
cd tests/browser
want=$(node -p "require('./package.json').dependencies['playwright-core']")
have=$(node -p "require('./node_modules/playwright-core/package.json').version" 2>/dev/null || true)
if [ "$have" != "$want" ]; then
  npm ci --no-audit --no-fund >&2
fi

if [ -n "$shots" ]; then
  case "$shots" in /*) ;; *) shots="$caller/$shots" ;; esac
  export KS_SCREENSHOT_DIR="$shots"
fi
KS_BIN_DIR="$bin_dir" KS_CHROMIUM="$chromium" exec node --test report-pages.test.mjs season-site.test.mjs
