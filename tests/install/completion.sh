#!/usr/bin/env bash
# The bash completion of tuvanta-cli: every command that --help lists is
# offered, and commands, options, axis digits and files complete.
#   completion.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d /tmp/tuvanta-completion.XXXXXX)
trap 'rm -rf "$work"' EXIT

source "$source_dir/packaging/tuvanta-cli.bash"
# COMPREPLY for the words of a command line, the last one being completed.
complete_line() {
  COMP_WORDS=(tuvanta-cli "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _tuvanta_cli
  echo "${COMPREPLY[*]}"
}
expect() {
  local want=$1
  shift
  local got
  got=$(complete_line "$@")
  # Files come in the folder's order.
  [ "$(tr ' ' '\n' <<< "$got" | sort)" = "$(tr ' ' '\n' <<< "$want" | sort)" ] || fail "tuvanta-cli $* <TAB>: got '$got', want '$want'"
}

# Every command of the help text, and nothing else.
help_commands=$("$build/bin/tuvanta-cli" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p; s/^  \([a-z][a-z-]*\)$/\1/p' | sort -u)
offered=$(complete_line '' | tr ' ' '\n' | sort -u)
[ -n "$help_commands" ] || fail "no commands read from tuvanta-cli --help"
[ "$help_commands" = "$offered" ] ||
  fail "the completion's commands differ from --help (add the command to packaging/tuvanta-cli.bash): $(diff <(echo "$help_commands") <(echo "$offered") | grep '^[<>]' | tr '\n' ' ')"

cd "$work"
touch axis1.ap0 OLD.AP0 list.pdf motor.mp0 notes.txt Sample.ad0
mkdir files
axes='1 2 3 4 5 6 7 8 9 A B C D E F 0'
expect 'alarms alarm-reset' al
expect "$axes" identify ''
expect "$axes" --device /dev/null --baud 57600 monitor ''
expect '' identify 1 ''
expect 'axis1.ap0 files OLD.AP0' load ''
expect "$axes" load axis1.ap0 ''
expect '--yes' load axis1.ap0 1 --y
expect '--kinds' load axis1.ap0 1 --k
expect 'general general,system,motor' load axis1.ap0 1 --kinds g
expect 'notch frequency' tune ''
expect "$axes" tune notch ''
expect "$axes axis1.ap0 files OLD.AP0" report ''
expect 'files list.pdf' report 1 -o ''
expect '0 1 2 3' report 1 --level ''
expect 'files motor.mp0' motor 3 ''
expect '1200 2400 4800 9600 19200 38400 57600' --baud ''
expect 'files Sample.ad0' --db ''
expect 'files Sample.ad0' --db=''
expect '--device --db' --d
expect '--ch1 --ch2 --ch3 --ch4 --ch5 --ch6 --ch7 --ch8 --csv' trace 1 --c
# A value taken by an option is no positional word.
expect "$axes" --db Sample.ad0 verify axis1.ap0 ''
echo "completion: $(echo "$help_commands" | wc -l) commands, options, axes and files"
