#!/usr/bin/env bash
# Installs what was built, then writes the installation record, and keeps the list of what
# it put there (files and the folders it created) inside the installation, for uninstall.sh.
# usage: install.sh BUILDDIR PREFIX UPDATEURL      (DESTDIR from the environment)
set -euo pipefail
build=$1
prefix=$2
url=$3
destdir=${DESTDIR:-}
root="$destdir$prefix"
list="$prefix/share/pikotel/installed.list"

before=$(mktemp)
trap 'rm -f "$before"' EXIT
find "$root" -type d 2>/dev/null | sort >"$before" || true
# The folders above the prefix that installing creates.
above=()
dir=$(dirname "$root")
while [ ! -d "$dir" ]; do
  above+=("$dir")
  dir=$(dirname "$dir")
done

cmake --install "$build" --prefix "$prefix"
store=$(PIKOTEL_REG="$build/tools/pikotel-reg/pikotel-reg" "$(dirname "$0")/installer.sh" \
  "$prefix" 0 "$url")

# Paths are kept as the installed system sees them (without DESTDIR).
{
  # CMake's list does not end its last line.
  awk '{ print "f " $0 }' "$build/install_manifest.txt" | sed "s|^f $destdir|f |"
  echo "f ${store#"$destdir"}"
  echo "f $list"
  {
    find "$root" -type d | sort | comm -13 "$before" -
    for dir in "${above[@]}"; do echo "$dir"; done
  } | sed "s|^$destdir||" | sed 's/^/d /'
} >"$destdir$list"
# CMake's own list stays out of the build tree: written by root under sudo, it would keep the
# next install by the user from writing it.
rm -f "$build/install_manifest.txt"
echo "Installed into $root (list of files: $destdir$list)"
