#!/usr/bin/env bash
# A picture of every screen, rendered in a real X server (Xvfb) with the Japanese fonts.
# usage: tools/screenshots.sh [OUTDIR]   (default build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
make stage
cmake --build build/debug --target pikotel-screenshots
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1280x1024x24" build/debug/tools/screenshots/pikotel-screenshots "$out" \
  build/stage/share/pikotel
