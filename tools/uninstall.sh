#!/usr/bin/env bash
# Removes an installation made by install.sh: the files on its list, then the folders it
# created, deepest first, when they are empty.
# usage: uninstall.sh PREFIX      (DESTDIR from the environment)
set -euo pipefail
prefix=$1
destdir=${DESTDIR:-}
list="$destdir$prefix/share/pikotel/installed.list"
if [ ! -f "$list" ]; then
  echo "Nothing to uninstall: $list does not exist" >&2
  exit 1
fi
entries=$(cat "$list")
while IFS= read -r line; do
  case $line in
  "f "*) rm -f -- "$destdir${line#f }" ;;
  esac
done <<<"$entries"
grep '^d ' <<<"$entries" | cut -c3- | sort -r | while IFS= read -r dir; do
  rmdir -- "$destdir$dir" 2>/dev/null || true
done
echo "Uninstalled from $destdir$prefix"
