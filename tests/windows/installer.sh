#!/usr/bin/env bash
# The installer under Wine: a silent install puts the programs, the Start-menu entry, the .SCN
# file type and the uninstaller in place; a silent uninstall takes every file and key away again.
# Usage: installer.sh SETUP.EXE   (CORVANE_WINEPREFIX: the prefix to use)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
setup=$(realpath "$1")
prefix=${CORVANE_WINEPREFIX:?}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
wine_run() { timeout 120 "$here/wine-run" "$@"; }
settle() { WINEPREFIX=$prefix timeout 120 wineserver -w; }
"$here/wine-run" cmd /c exit >/dev/null 2>&1  # makes the prefix once

folder="$prefix/drive_c/Program Files/Ostrel/Corvane Scene Tool"
menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Corvane Scene Tool"
snapshot() { find "$prefix/drive_c" -path "$prefix/drive_c/users" -prune -o -path "$prefix/drive_c/windows" -prune -o -print | sort; }
before=$(snapshot)

echo "silent install"
wine_run "$setup" /S
settle
for f in corvane-scene-tool.exe corvane-scenes.exe Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll \
  styles/qwindowsvistastyle.dll uninstall.exe; do
  [ -f "$folder/$f" ] || fail "install: $f is missing"
done
[ -f "$menu/Corvane Scene Tool.lnk" ] || fail "install: no Start-menu entry"
scn=$(wine_run reg query 'HKLM\Software\Classes\Ostrel.CorvaneScene\shell\open\command' /ve 2>/dev/null | tr -d '\r')
case $scn in *'corvane-scene-tool.exe" "%1"'*) ;; *) fail "install: .SCN does not open with the tool: $scn" ;; esac
type=$(wine_run reg query 'HKLM\Software\Classes\.SCN' /ve 2>/dev/null | tr -d '\r')
case $type in *Ostrel.CorvaneScene*) ;; *) fail "install: .SCN is not the tool's file type: $type" ;; esac

echo "silent uninstall"
wine_run "C:\\Program Files\\Ostrel\\Corvane Scene Tool\\uninstall.exe" /S
settle
# The uninstaller runs from a copy in the temporary folder, which Windows clears later.
left=$(comm -13 <(echo "$before") <(snapshot) | grep -v '/temp\(/\|$\)' || true)
[ -z "$left" ] || fail "uninstall left files behind: $left"
wine_run reg query 'HKLM\Software\Classes\.SCN' >/dev/null 2>&1 && fail "uninstall: .SCN is still registered"
wine_run reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\CorvaneSceneTool' >/dev/null 2>&1 &&
  fail "uninstall: still listed among the installed programs"

[ "$failures" -eq 0 ] || { echo "$failures installer checks failed" >&2; exit 1; }
echo "installer checks passed"
