#!/bin/sh
# Takes a screenshot of an HTML page with headless Chromium.
# Usage: scripts/screenshot.sh PAGE.html OUT.png [WIDTH,HEIGHT]
# The window is 1280x1600 unless a size is given. Installs the Debian
# package chromium when it is missing (as root). Works offline: every
# network feature that Chromium would start on its own is switched off.
set -eu

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 PAGE.html OUT.png [WIDTH,HEIGHT]" >&2
  exit 2
fi
page=$1
out=$2
size=${3:-1280,1600}

if [ ! -f "$page" ]; then
  echo "$0: no such page: $page" >&2
  exit 2
fi

browser=""
for b in chromium chromium-browser; do
  if command -v "$b" >/dev/null 2>&1; then browser=$b; break; fi
done
if [ -z "$browser" ]; then
  echo "Installing: chromium"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends chromium fonts-dejavu-core
  browser=chromium
fi

# Absolute paths: Chromium wants a file:// URL and writes the shot relative
# to its own working directory otherwise.
case "$page" in /*) ;; *) page="$(pwd)/$page" ;; esac
case "$out" in /*) ;; *) out="$(pwd)/$out" ;; esac

profile=$(mktemp -d "${TMPDIR:-/tmp}/ks-shot.XXXXXX")
trap 'rm -rf "$profile"' EXIT INT TERM
rm -f "$out"

# --no-sandbox: Chromium refuses to run as root with its sandbox.
"$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync \
  --hide-scrollbars --user-data-dir="$profile" \
  --screenshot="$out" --window-size="$size" "file://$page" >"$profile/log" 2>&1 || true

if [ ! -s "$out" ]; then
  echo "$0: Chromium wrote no screenshot; its output:" >&2
  cat "$profile/log" >&2
  exit 1
fi
echo "$out"
