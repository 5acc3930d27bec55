#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed programs as a newcomer would.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/corvane-scene-tool bin/corvane-scenes bin/corvane-sim \
         share/applications/com.ostrel.CorvaneSceneTool.desktop \
         share/metainfo/com.ostrel.CorvaneSceneTool.metainfo.xml \
         share/mime/packages/com.ostrel.CorvaneSceneTool.xml \
         share/icons/hicolor/48x48/apps/corvane-scene-tool.png \
         share/icons/hicolor/32x32/apps/corvane-scene-tool.png \
         share/icons/hicolor/256x256/apps/corvane-scene-tool.png \
         share/icons/hicolor/scalable/apps/corvane-scene-tool.svg \
         share/man/man1/corvane-scene-tool.1.gz share/man/man1/corvane-scenes.1.gz share/man/man1/corvane-sim.1.gz \
         share/bash-completion/completions/corvane-scenes share/bash-completion/completions/corvane-sim; do
  [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
file "$prefix/share/icons/hicolor/48x48/apps/corvane-scene-tool.png" 2>/dev/null | grep -q '48 x 48' ||
  { command -v file >/dev/null && { echo "the 48x48 icon is not 48 x 48"; exit 1; }; }

cd "$work"
"$prefix/bin/corvane-scenes" get --port sim demo.SCN 2>progress.txt
[ "$(stat -c %s demo.SCN)" -eq 8192 ] || { echo "demo.SCN is not 8192 bytes"; exit 1; }
[ "$(grep -c 'Of 64' progress.txt)" -eq 64 ] || { echo "progress lines missing"; exit 1; }
"$prefix/bin/corvane-scenes" show demo.SCN --scene 1 > scene1.txt
head -1 scene1.txt | grep -qx 'Scene: 01' || { echo "show printed:"; cat scene1.txt; exit 1; }
[ "$(wc -l < scene1.txt)" -eq 17 ] || { echo "show printed $(wc -l < scene1.txt) lines"; exit 1; }
"$prefix/bin/corvane-sim" --help | grep -q 'pseudo-terminal'
QT_QPA_PLATFORM=offscreen "$prefix/bin/corvane-scene-tool" --help | grep -q -- '--simulator'
echo "installed into a fresh prefix: get, show, corvane-sim and the tool all run"
