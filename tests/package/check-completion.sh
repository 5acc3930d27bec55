#!/usr/bin/env bash
# The bash completion as a technician meets it at the prompt: the scripts parse, and asking for
# completions gives the commands, options, ports and files the programs take. The options offered
# are held against what each program's --help lists.
# Usage: check-completion.sh COMPLETIONS PROGRAM...   (COMPLETIONS: one script for all, or a folder
# holding one under each program's name)
set -eo pipefail
completions=$1
shift
declare -A programs
for program in "$@"; do programs[$(basename "$program")]=$program; done
source "$(dirname "$0")/problems.sh"

scripts=()
if [ -d "$completions" ]; then
  for name in "${!programs[@]}"; do scripts+=("$completions/$name"); done
else
  scripts=("$completions")
fi
for script in "${scripts[@]}"; do
  [ -f "$script" ] || { fail "no completion script $script"; continue; }
  bash -n "$script" || fail "$script does not parse"
done
[ "$failures" -eq 0 ] || exit 1

source /usr/share/bash-completion/bash_completion
for script in "${scripts[@]}"; do source "$script"; done

# What Tab Tab offers for LINE (the cursor at its end), one candidate a line, sorted.
offers() {
  local line=$1 function
  COMP_LINE=$line
  COMP_POINT=${#line}
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *' ' ]] && COMP_WORDS+=('')
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  function=$(complete -p "${COMP_WORDS[0]}" | sed -E 's/.* -F ([^ ]+) .*/\1/')
  "$function" "${COMP_WORDS[0]}" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  [ ${#COMPREPLY[@]} -eq 0 ] || printf '%s\n' "${COMPREPLY[@]}" | sort
}

expect() {
  local line=$1 want
  want=$(printf '%s\n' "${@:2}" | sed '/^$/d' | sort)
  local got
  got=$(offers "$line")
  [ "$got" = "$want" ] || fail "\"$line\" offers [$(echo $got)], not [$(echo $want)]"
}

# Every long option OPTIONS_OF_HELP lists is among what LINE offers.
offers_all() {
  local line=$1 help=$2 option got
  got=$(offers "$line")
  for option in $(grep -oE '^  (-[a-zA-Z], )?--[a-z0-9-]+' <<<"$help" | grep -oE -- '--[a-z0-9-]+'); do
    grep -qx -- "$option" <<<"$got" || fail "\"$line\" does not offer $option"
  done
}

cd "$work"
mkdir shows
touch show.SCN old.scn Mixed.Scn notes.txt levels.csv LEVELS.CSV
devices=$(printf '%s\n' /dev/ttyUSB* /dev/ttyACM* /dev/ttyS* | grep -v '\*$' || true)

scenes=${programs[corvane-scenes]}
if [ -n "$scenes" ]; then
  mapfile -t commands < <("$scenes" --help | sed -n '/^Commands:/,/^$/p' | grep -oE '^  [a-z]+' | tr -d ' ')
  expect "corvane-scenes " "${commands[@]}" help
  expect "corvane-scenes g" get
  expect "corvane-scenes get --p" --port
  expect "corvane-scenes get --port /dev/tty" $devices
  expect "corvane-scenes send --port=/dev/tty" $devices
  expect "corvane-scenes get --port CO" COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8
  expect "corvane-scenes get --port s" sim
  expect "corvane-scenes show " Mixed.Scn old.scn show.SCN shows
  expect "corvane-scenes get --port sim --node 3 " Mixed.Scn old.scn show.SCN shows
  expect "corvane-scenes import " LEVELS.CSV levels.csv shows
  expect "corvane-scenes import levels.csv " Mixed.Scn old.scn show.SCN shows
  for command in "${commands[@]}"; do
    offers_all "corvane-scenes $command --" "$("$scenes" "$command" --help)"
  done
fi

sim=${programs[corvane-sim]}
if [ -n "$sim" ]; then
  offers_all "corvane-sim --" "$("$sim" --help)"
  expect "corvane-sim --load " Mixed.Scn old.scn show.SCN shows
  expect "corvane-sim --fault 5:d" drop
  expect "corvane-sim --fault 5:drop:" always read write
fi

tool=${programs[corvane-scene-tool]}
if [ -n "$tool" ]; then
  offers_all "corvane-scene-tool --" "$("$tool" --help 2>/dev/null)"
  expect "corvane-scene-tool --port CO" COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8
  expect "corvane-scene-tool " Mixed.Scn old.scn show.SCN shows
fi

[ "$failures" -eq 0 ] || { echo "$failures problems in the completion"; exit 1; }
echo "completion: parses; offers the commands, options, ports and files (${!programs[*]})"
