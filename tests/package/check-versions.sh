#!/usr/bin/env bash
# One version everywhere: each program's --version, the newest changelog entry and the newest
# AppStream release all name VERSION (the project's, or the package's).
# Usage: check-versions.sh VERSION CHANGELOG[.gz] METAINFO PROGRAM...
set -euo pipefail
version=$1 changelog=$2 metainfo=$3
shift 3
source "$(dirname "$0")/problems.sh"

for program in "$@"; do
  said=$("$program" --version 2>/dev/null) || true
  [ "$said" = "$(basename "$program") $version" ] || fail "$program --version says \"$said\", not $version"
done
entry=$(zcat -f "$changelog" | head -1)
[[ $entry == "corvane-scene-tool ($version) "* ]] || fail "the newest changelog entry is \"$entry\", not $version"
release=$(grep -m1 -o '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the newest release in $metainfo is $release, not $version"

[ "$failures" -eq 0 ] || exit 1
echo "version $version: the programs, the changelog and the AppStream release agree"
