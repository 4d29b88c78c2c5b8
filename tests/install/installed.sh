#!/usr/bin/env bash
# The installed program as a user meets it. Installs the build into a
# temporary root (DESTDIR), checks what lies where, and then, as a user who
# may not write the program's folder (nobody when run as root; otherwise the
# installed tree is made read-only):
#   - tuvanta-cli, started through its link in the command path, finds the
#     installed database and saves a parameter file from the installed
#     simulator, and names the device it could not open;
#   - Tuvanta, started through its link on the offscreen platform against
#     the simulator, runs until asked to end (SIGTERM, as when the session
#     ends), writes its settings into the XDG folder of the test's
#     environment, and leaves no file beside the program.
#   installed.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d /tmp/tuvanta-install.XXXXXX)
pids=()
cleanup() {
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2> /dev/null || true
    wait "${pids[i]}" 2> /dev/null || true
  done
  chmod -R u+w "$work" 2> /dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
chmod 755 "$work"

root=$work/root
prefix=/opt/tuvanta
DESTDIR=$root cmake --install "$build" --prefix "$prefix" > "$work/install.log"
top=$root$prefix
programs=$top/lib/tuvanta

# --- What lies where ---
for f in Tuvanta tuvanta-cli Respana ampsim; do
  [ -f "$programs/$f" ] && [ -x "$programs/$f" ] || fail "program $f is not in $programs"
done
for f in Sample.ad0 Sample.ad1 Sample.ad2 Sample.ad3 Tuvanta.ENU; do
  [ -f "$programs/$f" ] || fail "$f is not beside the programs"
done
cmp -s "$programs/Tuvanta.ini" "$source_dir/packaging/Tuvanta.ini" || fail "the defaults file is not the packaged one"
for d in MotorFiles Help; do
  if [ -d "$build/bin/$d" ]; then [ -d "$programs/$d" ] || fail "$d/ was not installed"; fi
done
[ "$(readlink "$top/bin/tuvanta")" = ../lib/tuvanta/Tuvanta ] || fail "bin/tuvanta does not point at the program"
[ "$(readlink "$top/bin/tuvanta-cli")" = ../lib/tuvanta/tuvanta-cli ] || fail "bin/tuvanta-cli does not point at the program"
desktop=$top/share/applications/tuvanta.desktop
grep -qx 'Exec=tuvanta' "$desktop" || fail "the desktop entry does not start tuvanta"
grep -qx 'Icon=tuvanta' "$desktop" || fail "the desktop entry has no icon"
[ -f "$top/share/icons/hicolor/scalable/apps/tuvanta.svg" ] || fail "the icon is missing"
if command -v desktop-file-validate > /dev/null; then desktop-file-validate "$desktop" || fail "desktop entry"; fi
man=$top/share/man/man1/tuvanta-cli.1.gz
[ -f "$man" ] || fail "the man page of tuvanta-cli is missing"
gzip -dc "$man" | grep -q 'identify' || fail "the man page does not describe the commands"
# Each page points at the other two programs, and man reads them without a warning.
for page in tuvanta tuvanta-cli ampsim; do
  file=$top/share/man/man1/$page.1.gz
  [ -f "$file" ] || fail "the man page of $page is missing"
  for other in tuvanta tuvanta-cli ampsim; do
    [ "$other" = "$page" ] && continue
    roff=${other//-/\\-}
    gzip -dc "$file" | sed -n '/^\.SH "*SEE ALSO/,$p' | grep -qF ".BR $roff (1)" || fail "the man page of $page does not name $other(1) in SEE ALSO"
  done
  if command -v man > /dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$file" 2>&1 > /dev/null || true)
    [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
  fi
done
[ -f "$top/share/bash-completion/completions/tuvanta-cli" ] || fail "the bash completion of tuvanta-cli is missing"
metainfo=$top/share/metainfo/example.halvex.tuvanta.metainfo.xml
[ -f "$metainfo" ] || fail "the AppStream metainfo is missing"
grep -q "<release version=\"$(sed -n '1s/^tuvanta (\([^)]*\)).*/\1/p' "$source_dir/packaging/changelog")\"" "$metainfo" || fail "the metainfo's release is not the changelog's"
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$metainfo" > "$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
fi
# Nothing of the developer's: settings, benchmarks, simulator links, exchange files.
stray=$(cd "$programs" && ls | grep -Ev '^(Tuvanta|tuvanta-cli|Respana|ampsim|Sample\.ad[0-3]|Tuvanta\.(ENU|EN|JPN|JP|ini)|MotorFiles|Help|Startup\.(bmp|jpg)|Online\.avi|.*\.(pdf|chm|htm|html))$' || true)
[ -z "$stray" ] || fail "files that do not belong in the program folder: $stray"

# --- The user ---
user_dir=$work/user
mkdir -p "$user_dir/home" "$user_dir/config" "$user_dir/run"
run_as=()
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv > /dev/null || { echo "skipped: setpriv is missing to run as a user who is not root"; exit 77; }
  chown -R nobody "$user_dir"
  run_as=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
else
  chmod -R a-w "$root"
fi
chmod 700 "$user_dir/run"
user_env=(env -i PATH=/usr/bin:/bin HOME="$user_dir/home" XDG_CONFIG_HOME="$user_dir/config"
  XDG_RUNTIME_DIR="$user_dir/run" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8)
# A function run with & would leave a subshell between $! and the program;
# exec makes $! the program itself, so that signals reach it.
as_user() { "${run_as[@]}" "${user_env[@]}" "$@"; }
as_user_bg() { exec "${run_as[@]}" "${user_env[@]}" "$@"; }
as_user test -w "$programs" && fail "the test user may write the program folder"

find "$top" -printf '%p %s %T@\n' | sort > "$work/before"

line=$user_dir/line
as_user_bg "$programs/ampsim" --link "$line" --control "$user_dir/ctl" --no-stdin > "$work/sim.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  grep -q 'ampsim: ready' "$work/sim.log" && break
  sleep 0.1
done
grep -q 'ampsim: ready' "$work/sim.log" || { cat "$work/sim.log" >&2; fail "the installed simulator did not start"; }

# tuvanta-cli: no settings of the user yet; the database comes from the
# defaults beside the program.
as_user "$top/bin/tuvanta-cli" --device "$line" save 1 "$user_dir/home/axis1.ap0" > "$work/cli.out" 2> "$work/cli.err" ||
  { cat "$work/cli.err" >&2; fail "tuvanta-cli save through the installed database failed"; }
[ -s "$user_dir/home/axis1.ap0" ] || fail "tuvanta-cli wrote no parameter file"
# A report drawn without a display or a runtime folder (a cron job): the
# error output holds only the program's own lines, and the PDF's text says
# what was drawn.
"${run_as[@]}" env -i PATH=/usr/bin:/bin HOME="$user_dir/home" XDG_CONFIG_HOME="$user_dir/config" LANG=C.UTF-8 \
  "$top/bin/tuvanta-cli" --device "$line" report 1 -o "$user_dir/home/list.pdf" > "$work/cli.out" 2> "$work/cli.err" ||
  { cat "$work/cli.err" >&2; fail "tuvanta-cli report failed"; }
noise=$(grep -Ev '^(tuvanta-cli: |wrote the parameter list )' "$work/cli.err" || true)
[ -z "$noise" ] || fail "tuvanta-cli report wrote lines of others on the error output: $noise"
if command -v pdftotext > /dev/null; then
  pdftotext "$user_dir/home/list.pdf" - | grep -q 'パラメータ一覧' || fail "the report's text layer lacks its title"
fi
status=0
as_user "$top/bin/tuvanta-cli" --device "$user_dir/gone" identify 1 > /dev/null 2> "$work/cli.err" || status=$?
[ "$status" -eq 69 ] || fail "a missing device gave exit $status, not 69"
grep -q "cannot open $user_dir/gone: there is no such device" "$work/cli.err" || { cat "$work/cli.err" >&2; fail "the exit-69 message"; }

# Tuvanta: the user's settings name the simulator; the rest comes from the
# defaults beside the program.
settings=$user_dir/config/Tuvanta/Tuvanta.ini
as_user mkdir -p "$user_dir/config/Tuvanta"
as_user sh -c "printf '[Window]\nMaximized=0\n[UseAxes]\nAxis1=1\n[Communication]\nDevice=%s\n' '$line' > '$settings'"
as_user_bg "$top/bin/tuvanta" > "$work/tuvanta.log" 2>&1 &
tuvanta=$!
pids+=("$tuvanta")
sleep 4
kill -0 "$tuvanta" 2> /dev/null || { cat "$work/tuvanta.log" >&2; fail "the installed Tuvanta ended by itself"; }
kill -TERM "$tuvanta"
for _ in $(seq 100); do
  kill -0 "$tuvanta" 2> /dev/null || break
  sleep 0.1
done
# Still running: a message box holds it (the database did not open, say).
kill -0 "$tuvanta" 2> /dev/null && { cat "$work/tuvanta.log" >&2; fail "Tuvanta did not end on SIGTERM"; }
status=0
wait "$tuvanta" || status=$?
[ "$status" -eq 0 ] || { cat "$work/tuvanta.log" >&2; fail "Tuvanta ended with $status after SIGTERM"; }

grep -qx "Device=$line" "$settings" || fail "the user's settings lost the device"
grep -qx 'Name=Sample.ad0' "$settings" || fail "the database name from the defaults did not reach the user's settings"
grep -qx 'Maximized=0' "$settings" || fail "the window placement was not stored"
grep -qx 'BaudRate=9600' "$settings" || fail "the settings were not written whole"

find "$top" -printf '%p %s %T@\n' | sort > "$work/after"
diff "$work/before" "$work/after" || fail "files beside the program changed"
echo "installed copy: programs, links, desktop entry, man page; settings in the XDG folder; nothing written beside"
