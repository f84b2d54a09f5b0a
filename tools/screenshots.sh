#!/usr/bin/env bash
# A picture of every screen, rendered in a real X server (Xvfb) with the Japanese fonts, at
# 100 % and at 200 % scale (QT_SCALE_FACTOR=2, the pictures in OUTDIR/200).
# usage: tools/screenshots.sh [OUTDIR]   (default build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
make stage
cmake --build build/debug --target pikotel-screenshots
mkdir -p "$out" "$out/200"
shoot() {
  xvfb-run -a -s "-screen 0 1280x1024x24" build/debug/tools/screenshots/pikotel-screenshots "$1" \
    build/stage/share/pikotel
}
shoot "$out"
QT_SCALE_FACTOR=2 shoot "$out/200"
