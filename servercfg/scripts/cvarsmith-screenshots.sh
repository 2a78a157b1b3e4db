#!/bin/sh
# Writes a PNG of the Cvarsmith window for each of its eight tabs, on Qt's
# offscreen platform (no display needed).
# Usage: servercfg/scripts/cvarsmith-screenshots.sh [BUILD_DIR] [OUT_DIR]
# BUILD_DIR defaults to build (configured with the dialog, KS_BUILD_GUI=ON);
# OUT_DIR to BUILD_DIR/cvarsmith-screenshots.
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build}
out=${2:-$build/cvarsmith-screenshots}
cmake --build "$build" --target cvarsmith_screenshots
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bin/cvarsmith_screenshots" "$out"
