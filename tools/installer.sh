#!/usr/bin/env bash
# The installer's step: write the machine-wide installation record of an installation.
# usage: installer.sh PREFIX DICDRIVE UPDATEURL
# The record goes to $DESTDIR$PREFIX/share/pikotel (DESTDIR: a packager's staging root), never
# to the record of the system the step runs on. PIKOTEL_REG names the settings tool to write
# it with (the freshly built one); without it, the installed one.
set -euo pipefail
prefix=$1
dicdrive=$2
url=$3
root="${DESTDIR:-}$prefix"
key='SOFTWARE\(株)ザクロコボ\ぴ～こぴこ電話帳\18.0'
reg=${PIKOTEL_REG:-"$root/bin/pikotel-reg"}
store="$root/share/pikotel/HKLM.db"
# The tool must not create a per-user record in the home of whoever installs (root).
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
write() {
  "$reg" --machine-store "$store" --user-store "$scratch/HKCU.db" set HKLM "$key" "$1" "$2" >&2
}
write DICDRIVE "$dicdrive"
write UpdateURL "$url"
# What was written, for the list of installed files.
echo "$store"
