#!/usr/bin/env bash
# usage: install_test.sh SOURCEDIR BUILDDIR
set -euo pipefail
src=$1
build=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
prefix=/opt/pikotel-test
root="$dest$prefix"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

make -s -C "$src" install BUILD_DIR="$build" DESTDIR="$dest" PREFIX="$prefix" \
  UPDATE_URL=https://www.example.jp/pikotel/download/ >/dev/null

# Nothing was written outside DESTDIR.
[ ! -e "$prefix" ] || fail "$prefix exists outside DESTDIR"

entry="$root/share/applications/jp.example.pikotel.desktop"
metainfo="$root/share/metainfo/jp.example.pikotel.metainfo.xml"
[ -f "$entry" ] || fail "no desktop entry"
desktop-file-validate "$entry" || fail "desktop entry does not validate"
appstreamcli validate --no-net "$metainfo" || fail "metainfo does not validate"
grep -qx "Exec=$prefix/bin/pikotel" "$entry" || fail "Exec is not the installed program"
grep -qx 'Name\[ja\]=ぴ～こぴこ電話帳１８' "$entry" || fail "no Japanese name"
grep -q '^Categories=.*Office;' "$entry" || fail "not in Office"
[ -x "$root/bin/pikotel" ] || fail "program not installed"

for size in 16 22 24 32 48 64 128 256; do
  png="$root/share/icons/hicolor/${size}x${size}/apps/pikotel.png"
  [ -f "$png" ] || fail "no ${size}px icon"
  got=$(identify -format '%wx%h' "$png")
  [ "$got" = "${size}x${size}" ] || fail "${size}px icon is $got"
done
[ -f "$root/share/icons/hicolor/scalable/apps/pikotel.svg" ] || fail "no scalable icon"
[ -f "$root/share/pikotel/help/index.html" ] || fail "no help"

# The installation record was written inside DESTDIR, by the freshly built tool.
store="$root/share/pikotel/HKLM.db"
[ -f "$store" ] || fail "no installation record in DESTDIR"
# Every user of the machine reads it.
[[ $(stat -c %A "$store") == ???????r* ]] || fail "record not readable by all: $(stat -c %A "$store")"
key='SOFTWARE\(株)ザクロコボ\ぴ～こぴこ電話帳\18.0'
scratch="$dest/scratch"
mkdir "$scratch"
got=$("$build/tools/pikotel-reg/pikotel-reg" --machine-store "$store" \
  --user-store "$scratch/HKCU.db" query HKLM "$key" UpdateURL)
[[ $got == *https://www.example.jp/pikotel/download/* ]] || fail "record holds: $got"
rm -rf "$scratch"

make -s -C "$src" uninstall DESTDIR="$dest" PREFIX="$prefix" >/dev/null
left=$(find "$dest" -mindepth 1)
[ -z "$left" ] || fail "left after uninstall: $left"
echo "install and uninstall: ok"
