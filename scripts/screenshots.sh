#!/usr/bin/env bash
# Takes screenshots of Tuvanta under Xvfb against the simulator, for checking
# the look (Japanese captions, nothing clipped):
#   build/screenshots/main-offline.png   main window after start
#   build/screenshots/axes-check.png     the axes check after a check pass
#   build/screenshots/main-online.png    main window online
#   build/screenshots/menu-comm.png      ... with the "通信" menu open
#   build/screenshots/menu-test.png      ... with the "試運転と調整" menu open
#   build/screenshots/comm-setting.png   the communication settings (offline)
#   build/screenshots/about.png          the About box
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build)
# Needs Xvfb, xwininfo (x11-utils), ImageMagick's import and the Noto CJK fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=$(cd "${1:-build}" && pwd)
BIN="$BUILD/bin"
OUT="$BUILD/screenshots"
mkdir -p "$OUT"
for f in Tuvanta ampsim defdb-tool Sample.ad0 Sample.ad1 Sample.ad2 Sample.ad3; do
  [ -e "$BIN/$f" ] || { echo "screenshots: $BIN/$f is missing (build first)" >&2; exit 1; }
done

# A folder of its own, so the settings file of the build stays untouched.
WORK=$(mktemp -d /tmp/tuvanta-shots.XXXXXX)
cp "$BIN/Tuvanta" "$BIN"/Sample.ad? "$WORK/"
python3 "$ROOT/scripts/make-online-avi.py" "$WORK/Online.avi"

PIDS=()
cleanup() {
  for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
    kill "${PIDS[i]}" 2>/dev/null || true
    wait "${PIDS[i]}" 2>/dev/null || true
  done
  rm -rf "$WORK"
}
trap cleanup EXIT

# A free display number.
N=90
while [ -e "/tmp/.X$N-lock" ] || [ -e "/tmp/.X11-unix/X$N" ]; do N=$((N + 1)); done
export DISPLAY=":$N"
Xvfb "$DISPLAY" -screen 0 1280x900x24 -nolisten tcp > "$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$N" ] && break; sleep 0.1; done

mapfile -t CODES < <("$BIN/defdb-tool" dump "$BIN/Sample.ad0" 0_AMPLIFIER.cds | awk -F, '
  NR == 1 { for (i = 1; i <= NF; i++) if ($i == "CODE") c = i; next }
  c && $c != "" { print $c }')
hex() { printf '%06X' "$1"; }
UNKNOWN=$((0xE999)) # the code data/README.md leaves unknown
while printf '%s\n' "${CODES[@]}" | grep -qx "$UNKNOWN"; do UNKNOWN=$((UNKNOWN + 1)); done
echo "fault 5 nak" > "$WORK/sim.conf"
"$BIN/ampsim" --link "$WORK/line" --control "$WORK/ctl" --baud 57600 --no-stdin \
  --axis "1=$(hex "${CODES[0]}")" --axis "2=$(hex "${CODES[1]:-${CODES[0]}}")" --axis "3=$(hex "$UNKNOWN")" \
  --axis "5=$(hex "${CODES[0]}")" --config "$WORK/sim.conf" > "$WORK/sim.log" 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do grep -q "ampsim: ready" "$WORK/sim.log" 2>/dev/null && break; sleep 0.1; done

cat > "$WORK/Tuvanta.ini" <<INI
[Window]
Maximized=0
Top=0
Left=0
[UseAxes]
Axis1=1
Axis2=1
Axis3=1
Axis4=1
Axis5=1
[Communication]
BaudRate=57600
CommPort=1
Device=$WORK/line
[Database]
Name=Sample.ad0
[Generic]
Language=Japanese
EditLevel=FieldServicer
INI

QT_QPA_PLATFORM=xcb "$WORK/Tuvanta" > "$WORK/tuvanta.log" 2>&1 &
PIDS+=($!)

keys() { python3 "$ROOT/scripts/xkeys.py" "$@"; }
# The id of the mapped window with this exact title, or nothing.
window() { xwininfo -root -tree | awk -v t="\"$1\":" '$2 == t { print $1; exit }'; }
wait_window() {
  for _ in $(seq 100); do
    local id
    id=$(window "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "screenshots: no window \"$1\"" >&2
  cat "$WORK/tuvanta.log" >&2
  return 1
}
shot() { import -window root -crop "$2" +repage "$OUT/$1"; echo "screenshots: $OUT/$1"; }
# Geometry of a window as WxH+X+Y, a margin around it.
geometry() {
  xwininfo -id "$1" | awk -v m="${2:-0}" '
    /Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width:/ { w = $2 } /Height:/ { h = $2 }
    END { x -= m; y -= m; if (x < 0) x = 0; if (y < 0) y = 0; printf "%dx%d+%d+%d", w + 2 * m, h + 2 * m, x, y }'
}

MAIN=$(wait_window TUVANTA)
sleep 2.5 # the splash closes after 2 s
keys move 500 400 focus "$MAIN"
shot main-offline.png "$(geometry "$MAIN")"

keys alt+c sleep 0.3 s
SET=$(wait_window "通信設定")
keys focus "$SET"
shot comm-setting.png "$(geometry "$SET" 8)"
keys Escape sleep 0.5 focus "$MAIN"

keys alt+c sleep 0.3 n
CHECK=$(wait_window "通信状態の確認")
keys focus "$CHECK" alt+c sleep 3
shot axes-check.png "$(geometry "$CHECK" 8)"
keys alt+x sleep 0.5 focus "$MAIN"

sleep 0.3
shot main-online.png "$(geometry "$MAIN")"
keys alt+c sleep 0.6
shot menu-comm.png "$(geometry "$MAIN")"
keys Escape sleep 0.3 alt+t sleep 0.6
shot menu-test.png "$(geometry "$MAIN")"
keys Escape sleep 0.3

keys alt+h sleep 0.3 a
ABOUT=$(wait_window "バージョン情報")
keys focus "$ABOUT"
shot about.png "$(geometry "$ABOUT" 8)"
keys Return sleep 0.3 focus "$MAIN"

keys alt+f sleep 0.3 x sleep 1
