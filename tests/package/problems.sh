# Sourced by the package checks: a scratch folder removed on exit, and a count of the problems
# found, each said on its own line so that one run lists them all.
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}
