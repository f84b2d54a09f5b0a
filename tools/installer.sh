#!/usr/bin/env bash
# The installer's step: write the machine-wide installation record of an installation.
# usage: installer.sh PREFIX DICDRIVE UPDATEURL
set -euo pipefail
prefix=$1
dicdrive=$2
url=$3
key='SOFTWARE\(株)ザクロコボ\ぴ～こぴこ電話帳\18.0'
reg="$prefix/bin/pikotel-reg"
"$reg" set HKLM "$key" DICDRIVE "$dicdrive"
"$reg" set HKLM "$key" UpdateURL "$url"
