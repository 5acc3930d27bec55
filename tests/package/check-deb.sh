#!/usr/bin/env bash
# The Debian package as apt would install it, checked without installing it: its files against
# package-files.txt, its control fields, lintian (no errors, no warnings without an override), and
# the unpacked tree: manual pages, completion, desktop entry, AppStream data, icons, versions and
# the systemd units.
# Usage: check-deb.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source "$(dirname "$0")/problems.sh"

echo "== contents"
dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\.||' | sort >"$work/files"
grep -v '^#' "$here/package-files.txt" | sort | diff -u - "$work/files" ||
  fail "the package's files differ from package-files.txt (- missing, + not listed)"
dpkg-deb -c "$deb" | awk '$2 != "root/root" {print "not owned by root: " $6}' | grep . && fail "files not owned by root"

echo "== control"
version=$(dpkg-deb -f "$deb" Version)
for field in Package Version Architecture Maintainer Section Priority Depends Description; do
  [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "the control file has no $field"
done
for library in libc6 libqt6core6 libqt6widgets6 libqt6serialport6 libcsv3 qt6-qpa-plugins; do
  dpkg-deb -f "$deb" Depends | grep -qw "$library" || fail "Depends does not name $library"
done
[ "$(basename "$deb")" = "corvane-scene-tool_${version}_$(dpkg-deb -f "$deb" Architecture).deb" ] ||
  fail "the file is not named corvane-scene-tool_VERSION_ARCH.deb"

echo "== lintian"
lintian --fail-on error,warning --display-info --show-overrides "$deb" >"$work/lintian" 2>&1 || fail "lintian reports errors or warnings"
grep -v 'running with root privileges' "$work/lintian" || true

echo "== unpacked"
tree=$work/tree
dpkg-deb -x "$deb" "$tree"
programs=("$tree/usr/bin/corvane-scene-tool" "$tree/usr/bin/corvane-scenes" "$tree/usr/bin/corvane-sim")
"$here/check-manpages.sh" "$tree/usr/share/man/man1" "${programs[@]}" || fail "manual pages"
"$here/check-completion.sh" "$tree/usr/share/bash-completion/completions" "${programs[@]}" || fail "completion"
"$here/check-versions.sh" "$version" "$tree/usr/share/doc/corvane-scene-tool/changelog.gz" \
  "$tree/usr/share/metainfo/com.ostrel.CorvaneSceneTool.metainfo.xml" "${programs[@]}" || fail "versions"
desktop-file-validate "$tree/usr/share/applications/com.ostrel.CorvaneSceneTool.desktop" || fail "desktop entry"
appstreamcli validate-tree --strict --no-net "$tree" >"$work/appstream" 2>&1 || { cat "$work/appstream"; fail "AppStream data"; }
# The units against systemd's own targets, in a copy of the tree with them beside it: the
# command each runs must be the package's, and any warning (an unknown key) counts.
units=$work/units
cp -a "$tree" "$units"
cp -n /usr/lib/systemd/system/*.target /usr/lib/systemd/system/*.slice "$units/usr/lib/systemd/system/"
MANPATH=$units/usr/share/man systemd-analyze verify --root="$units" \
  "$units/usr/lib/systemd/system/corvane-backup@stage.service" \
  "$units/usr/lib/systemd/system/corvane-backup@stage.timer" >"$work/units.txt" 2>&1 || fail "systemd-analyze verify"
[ ! -s "$work/units.txt" ] || { cat "$work/units.txt"; fail "systemd-analyze verify warns about the units"; }
for size in 32 48 64 128 256; do
  file "$tree/usr/share/icons/hicolor/${size}x$size/apps/corvane-scene-tool.png" | grep -q "$size x $size" ||
    fail "the ${size}x$size icon is not $size x $size pixels"
done

[ "$failures" -eq 0 ] || { echo "$failures problems in $(basename "$deb")"; exit 1; }
echo "$(basename "$deb") ($(stat -c %s "$deb") bytes): its files, lintian and the unpacked tree are as they should be"
