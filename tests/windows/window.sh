#!/usr/bin/env bash
# The window under Wine on Xvfb: it opens with its caption and its 345-pixel width, on its
# built-in simulated controller. With OUT.png, the window's picture is saved there.
# Usage: window.sh PROGRAM.EXE [OUT.png]   (CORVANE_WINEPREFIX: the prefix to use)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${CORVANE_WINDOW_ON_XVFB:-}" ]; then
  CORVANE_WINDOW_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 800x600x24" "$0" "$@"
fi
program=$1
out=${2:-}
"$here/wine-run" cmd /c exit >/dev/null 2>&1  # makes the prefix once
caption="Ostrel Corvane Scene Tool R01"
unset QT_QPA_PLATFORM
"$here/wine-run" "$program" --simulator >/dev/null 2>&1 &
tool=$!
finish() { kill "$tool" 2>/dev/null || true; WINEPREFIX=$CORVANE_WINEPREFIX wineserver -k 2>/dev/null || true; }
trap finish EXIT
window=
for _ in $(seq 600); do
  window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no window captioned \"$caption\" within 60 s" >&2; exit 1; }
sleep 1  # let it paint
name=$(xdotool getwindowname "$window")
width=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^WIDTH=//p')
status=0
[ "$name" = "$caption" ] || { echo "FAIL: caption \"$name\"" >&2; status=1; }
[ "$width" = 345 ] || { echo "FAIL: the window is $width pixels wide, not 345" >&2; status=1; }
[ -z "$out" ] || import -window "$window" "$out"
[ "$status" -eq 0 ] && echo "window checks passed: \"$name\", $width pixels wide"
exit "$status"
