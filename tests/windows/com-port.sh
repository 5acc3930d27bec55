#!/usr/bin/env bash
# The Windows serial control end to end: corvane-scenes.exe under Wine talks to corvane-sim on a
# Linux pseudo-terminal, mapped as COM9 in the test's own Wine prefix. Get and send move the whole
# show byte for byte; a second backup of a changed show keeps the first in its history; a dropped
# block and wrong check digits fail the transfer and leave the files as they were; a port that does
# not exist is a port error.
# Usage: com-port.sh WINDOWS_BUILD LINUX_BUILD   (CORVANE_WINEPREFIX: the prefix to use)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
scenes=$(realpath "$1/cli/corvane-scenes.exe")
sim=$(realpath "$2/sim/corvane-sim")
linux_scenes=$(realpath "$2/cli/corvane-scenes")
work=$(mktemp -d)
sim_pid=
finish() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

"$here/wine-run" cmd /c exit >/dev/null 2>&1  # makes the prefix once, outside every deadline
dosdevices=${CORVANE_WINEPREFIX:?}/dosdevices

# Starts corvane-sim with the given options and maps its device as COM9.
start_sim() {
  "$sim" --node 1 "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
  ln -sfn "$(head -n1 "$work/sim.out")" "$dosdevices/com9"
}
stop_sim() {
  kill "$sim_pid"
  wait "$sim_pid" || true
  sim_pid=
}
# Runs corvane-scenes.exe with a hard deadline; sets status and err. Each run writes into files of
# its own: Wine's services keep a program's output open after it ends, and write into it later.
runs=0
run() {
  runs=$((runs + 1))
  set +e
  (cd "$work" && timeout 120 "$here/wine-run" "$scenes" "$@" >"$work/out.$runs" 2>"$work/err.$runs")
  status=$?
  set -e
  err=$(tr -d '\r' <"$work/err.$runs")
}
expect_status() {
  [ "$status" = "$1" ] || fail "$2: exit status $status, expected $1; said: $err"
}

# The demo show as the Linux build reads it from its own simulator: what every get must give.
"$linux_scenes" get --port sim "$work/demo.SCN" 2>/dev/null

echo "get over COM9"
start_sim
run get --port COM9 got.SCN
expect_status 0 "get"
cmp -s "$work/demo.SCN" "$work/got.SCN" || fail "get: the file is not the controller's show"
case $err in *"Block: 64 Of 64"*) ;; *) fail "get: no progress to block 64: $err" ;; esac
stop_sim

echo "send over COM9"
# A show unlike the demo: level 7 x n mod 256 at the n-th place.
for n in $(seq 0 4095); do printf "\\x$(printf %02x $((n * 7 % 256)))\\x00"; done >"$work/show.SCN"
start_sim --save "$work/after.SCN"
run send --port com9 show.SCN
expect_status 0 "send"
stop_sim
cmp -s "$work/show.SCN" "$work/after.SCN" || fail "send: the controller does not hold the sent show"

echo "backup over COM9 keeps the older show in its history"
start_sim
run backup --port COM9 --nodes 1 kept
expect_status 0 "first backup"
stop_sim
start_sim --load "$work/show.SCN"
run backup --port COM9 --nodes 1 kept
expect_status 5 "second backup"
stop_sim
cmp -s "$work/show.SCN" "$work/kept/node-1.SCN" || fail "backup: node-1.SCN is not the new show"
old=$(find "$work/kept/history/node-1" -name '*.SCN' 2>/dev/null)
[ "$(echo "$old" | grep -c .)" = 1 ] && cmp -s "$work/demo.SCN" "$old" ||
  fail "backup: the history does not hold the older show once: $old"

echo "a block that is never answered"
cp "$work/demo.SCN" "$work/old.SCN"
start_sim --fault 5:drop:always
run get --port COM9 old.SCN
stop_sim
expect_status 1 "drop"
case $err in *"Upload Error. Node: 01 on COM9, Block: 06 Of 64 failed: no answer (3 attempts). old.SCN was not written."*) ;;
  *) fail "drop: said $err" ;; esac
cmp -s "$work/demo.SCN" "$work/old.SCN" || fail "drop: the older file changed"

echo "wrong check digits"
start_sim --fault 5:badsum:always --save "$work/after.SCN"
run send --port COM9 show.SCN
stop_sim
expect_status 1 "badsum"
case $err in *"Download Error. Node: 01 on COM9, Block: 06 Of 64 failed: wrong check digits (3 attempts). The controller may hold part of the show."*) ;;
  *) fail "badsum: said $err" ;; esac

echo "a port that does not exist"
rm -f "$dosdevices/com42"
run get --port COM42 none.SCN
expect_status 3 "missing port"
case $err in *"Could not use COM42: no such device"*) ;; *) fail "missing port: said $err" ;; esac
[ ! -e "$work/none.SCN" ] || fail "missing port: a file was written"

[ "$failures" -eq 0 ] || { echo "$failures COM-port checks failed" >&2; exit 1; }
echo "COM-port checks passed"
