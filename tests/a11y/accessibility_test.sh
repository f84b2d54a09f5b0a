#!/usr/bin/env bash
# Walks every screen's accessibility tree over a private AT-SPI bus in a private X server.
# The session bus starts the accessibility bus and registry on demand; both end with it.
# usage: accessibility_test.sh BUILDDIR SCREENSHOTS-TOOL
set -euo pipefail
build=$1
tool=$2
here=$(dirname "$0")
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT INT TERM
cmake --install "$build" --prefix "$stage" >/dev/null
# The walker needs the system's Python with the distribution's AT-SPI bindings.
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export LANG=ja_JP.UTF-8 TZ=Asia/Tokyo XDG_RUNTIME_DIR=$stage/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
  /usr/bin/python3 "$here/atspi_walk.py" "$tool" "$stage/share/pikotel"
