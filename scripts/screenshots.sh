#!/usr/bin/env bash
# Renders every wizard page, the open drive popup, the Add dialog, the secondary dialogs and
# the message boxes to PNG files.
#   bash scripts/screenshots.sh [outdir] [language]   (default: <build dir>/screenshots, English)
# Runs offscreen, so it needs no display. Builds the renderer first when needed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build}
OUT=${1:-$BUILD/screenshots}
bash scripts/install-deps.sh
if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$BUILD" --target portavo_screens
mkdir -p "$OUT"
QT_QPA_PLATFORM=offscreen "$BUILD/bin/portavo_screens" "$OUT" ${2:+"$2"}
echo "Screenshots written to $OUT/"
