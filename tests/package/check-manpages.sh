#!/usr/bin/env bash
# The manual pages as man shows them: no warnings from man, the sections a reader looks for, the
# programs' own version, and every command and option each program's --help lists.
# Usage: check-manpages.sh MAN1_DIR PROGRAM...   (the pages are MAN1_DIR/NAME.1.gz)
set -euo pipefail
mandir=$1
shift
source "$(dirname "$0")/problems.sh"

# The long and short options a --help text lists (Qt's layout: "  -h, --help   ...").
options_of() {
  { grep -oE '^  (-[a-zA-Z], )?--[a-z0-9-]+' || true; } | { grep -oE -- '--?[a-zA-Z0-9-]+' || true; }
}

# Whether the page's text holds WORD as a whole word ("--help" is not found in "--help-all").
names() {
  grep -qE -- "(^|[^a-zA-Z0-9-])$2([^a-zA-Z0-9-]|\$)" "$1"
}

for program in "$@"; do
  name=$(basename "$program")
  page=$mandir/$name.1.gz
  [ -f "$page" ] || { fail "$name: no manual page $page"; continue; }
  text=$work/$name.txt
  LC_ALL=C.UTF-8 man --warnings -l "$page" >/dev/null 2>"$work/warnings"
  [ -s "$work/warnings" ] && fail "$name: man warns: $(cat "$work/warnings")"
  # Wide and unhyphenated, so that every name stands whole on one line.
  LC_ALL=C MANWIDTH=1000 MANROFFOPT=-rHY=0 man -l "$page" 2>/dev/null | col -b >"$text"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES "SEE ALSO"; do
    grep -qx "$section" "$text" || fail "$name(1) has no $section section"
  done
  version=$("$program" --version 2>/dev/null | awk '{print $2}')
  grep -q "corvane-scene-tool $version" "$text" || fail "$name(1) does not carry the version $version"

  # Qt's own --help-all is refused by every program, so no page may offer it.
  if names "$text" "--help-all" && ! "$program" --help-all >/dev/null 2>&1; then
    fail "$name(1) offers --help-all, which $name refuses"
  fi
  "$program" --help >"$work/help" 2>/dev/null
  if grep -q '^Commands:' "$work/help"; then
    # A program of commands: each command in the synopsis and under its own heading, the options
    # its command list shows, and each command's own --help.
    mapfile -t commands < <(sed -n '/^Commands:/,/^$/p' "$work/help" | grep -oE '^  [a-z]+' | tr -d ' ')
    [ ${#commands[@]} -gt 0 ] || fail "$name --help lists no commands"
    grep -oE -- '--[a-z][a-z0-9-]*' "$work/help" >>"$work/options" || true
    for command in "${commands[@]}"; do
      grep -q "$name $command" "$text" || fail "$name(1) has no synopsis for the command $command"
      grep -qxE "   $command" "$text" || fail "$name(1) has no subsection for the command $command"
      "$program" "$command" --help 2>/dev/null | options_of >>"$work/options"
    done
  fi
  options_of <"$work/help" >>"$work/options"
  for option in $(sort -u "$work/options"); do
    names "$text" "$option" || fail "$name(1) does not name the option $option"
  done
  rm -f "$work/options"
done

[ "$failures" -eq 0 ] || { echo "$failures problems in the manual pages"; exit 1; }
echo "manual pages: no warnings; every command and option named ($(for p in "$@"; do basename "$p"; done | xargs))"
