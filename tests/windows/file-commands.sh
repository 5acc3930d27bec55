#!/usr/bin/env bash
# The command line's file commands on Windows say and write what they say and write on Linux:
# corvane-scenes.exe under Wine and the Linux corvane-scenes run in one folder on the same files,
# and their standard output (line ends aside), standard error, exit status and files must agree.
# Usage: file-commands.sh WINDOWS_BUILD LINUX_BUILD   (CORVANE_WINEPREFIX: the prefix to use)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
windows=$(realpath "$1/cli/corvane-scenes.exe")
linux=$(realpath "$2/cli/corvane-scenes")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
"$linux" get --port sim demo.SCN 2>/dev/null
"$linux" export demo.SCN >demo.csv
sed '3s/^2,[0-9]*/2,17/' demo.csv >edited.csv
"$linux" import edited.csv edited.SCN
printf 'Scene,Dimmer 01.1\n1,300\n' >bad.csv

# Runs one command on both systems; each writes its files into a folder of its own.
both() {
  local system program
  for system in linux windows; do
    rm -rf "$system" && mkdir "$system" && cp demo.SCN edited.SCN edited.csv bad.csv "$system/"
    program=$linux
    [ "$system" = windows ] && program="$here/wine-run $windows"
    set +e
    (cd "$system" && timeout 120 $program "$@" >out 2>err)
    echo $? >"$system/status"
    set -e
    sed -i 's/\r$//' "$system/out" "$system/err"
  done
  if ! diff -r linux windows >"$work/differences"; then
    echo "FAIL: corvane-scenes $* differs between Linux and Windows:" >&2
    cat "$work/differences" >&2
    failures=$((failures + 1))
  fi
}
both show demo.SCN --scene 1
both show demo.SCN --levels
both import edited.csv new.SCN
both diff demo.SCN edited.SCN
both export demo.SCN
both import bad.csv bad.SCN
# One file read and written is refused; two files are told apart (the C library's stat is not).
both import edited.SCN edited.SCN
both import edited.csv demo.SCN
[ "$failures" -eq 0 ] || { echo "$failures file commands differ" >&2; exit 1; }
echo "file commands agree on Linux and Windows"
