#!/usr/bin/env bash
# Starts the amplifier simulator and Tuvanta against it, from BIN (default
# build/bin). The simulator plays four axes: two models the sample database
# knows (#1, #2), one code it does not know (#3), and one axis that is
# selected but silent (#4, no amplifier). A settings file is written beside
# the program when there is none. The simulator stops when Tuvanta ends.
#
# In Tuvanta: 通信(C) > オフライン->オンライン(N), then 確認(C) in the window
# that opens: #1/#2 read "Connected", #3 "Not corresponding", #4 "Not connected".
set -euo pipefail
BIN=$(cd "${1:-build/bin}" && pwd)
cd "$BIN"

for f in Tuvanta ampsim defdb-tool Sample.ad0; do
  [ -e "$f" ] || { echo "run-demo: $BIN/$f is missing (build first)" >&2; exit 1; }
done

LINK="$BIN/ampsim-line"
CONTROL="${XDG_RUNTIME_DIR:-/tmp}/tuvanta-demo-$$.ctl"
BAUD=57600

# The models come from the sample database itself: the first two codes of
# its AMPLIFIER table, and a code that none of its rows has.
mapfile -t CODES < <(./defdb-tool dump Sample.ad0 0_AMPLIFIER.cds | awk -F, '
  NR == 1 { for (i = 1; i <= NF; i++) if ($i == "CODE") c = i; next }
  c && $c != "" { print $c }')
if [ "${#CODES[@]}" -lt 2 ]; then
  echo "run-demo: the sample database lists fewer than two models" >&2
  exit 1
fi
hex() { printf '%06X' "$1"; }
UNKNOWN=$((0xE999)) # the code data/README.md leaves unknown
while printf '%s\n' "${CODES[@]}" | grep -qx "$UNKNOWN"; do UNKNOWN=$((UNKNOWN + 1)); done

./ampsim --link "$LINK" --control "$CONTROL" --baud "$BAUD" --no-stdin \
  --axis "1=$(hex "${CODES[0]}")" --axis "2=$(hex "${CODES[1]}")" --axis "3=$(hex "$UNKNOWN")" \
  > "${CONTROL%.ctl}.log" 2>&1 &
SIM=$!
cleanup() {
  kill "$SIM" 2>/dev/null || true
  wait "$SIM" 2>/dev/null || true
  rm -f "${CONTROL%.ctl}.log"
}
trap cleanup EXIT
for _ in $(seq 50); do
  grep -q "ampsim: ready" "${CONTROL%.ctl}.log" 2>/dev/null && break
  kill -0 "$SIM" 2>/dev/null || { cat "${CONTROL%.ctl}.log" >&2; exit 1; }
  sleep 0.1
done
echo "run-demo: simulator on $LINK (#1 $(hex "${CODES[0]}"), #2 $(hex "${CODES[1]}"), #3 $(hex "$UNKNOWN") unknown)"

INI="$BIN/Tuvanta.ini"
if [ ! -e "$INI" ]; then
  cat > "$INI" <<INI
[Window]
Maximized=0
Top=40
Left=30
[UseAxes]
Axis1=1
Axis2=1
Axis3=1
Axis4=1
[Communication]
BaudRate=$BAUD
CommPort=1
Device=$LINK
[Database]
Name=Sample.ad0
[Generic]
Language=Japanese
EditLevel=Basic
INI
  echo "run-demo: wrote $INI"
elif ! grep -qi "^Device=$LINK\$" "$INI"; then
  echo "run-demo: $INI exists and does not name $LINK as [Communication] Device;" >&2
  echo "          set it there (or in 通信設定) to reach the simulator" >&2
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run-demo: no display: running under Xvfb" >&2
  xvfb-run -a -s "-screen 0 1280x1024x24" ./Tuvanta
else
  ./Tuvanta
fi
