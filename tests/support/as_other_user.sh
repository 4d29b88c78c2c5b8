#!/usr/bin/env bash
# Runs tests that need a user who is not root (root opens every file), as
# nobody. Also makes a device file of mode 600 owned by root and the group
# dialout and names it in TUVANTA_DENIED_DEVICE (TUVANTA_DENIED_GROUP: its
# group). Needs root and setpriv; says why and exits 77 (skipped) otherwise.
#   as_other_user.sh TEST_PROGRAM GTEST_FILTER
set -euo pipefail
program=$1
filter=$2
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: making files of another user needs root; this suite runs as $(id -un)"
  exit 77
fi
command -v setpriv > /dev/null || { echo "skipped: setpriv (util-linux) is missing"; exit 77; }
getent passwd nobody > /dev/null || { echo "skipped: there is no user nobody"; exit 77; }
as_nobody=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
if ! "${as_nobody[@]}" test -x "$program"; then
  echo "skipped: nobody cannot reach $program (a folder on the way is closed to other users)"
  exit 77
fi

work=$(mktemp -d /tmp/tuvanta-other-user.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
device=$work/ttyUSB0
: > "$device"
group=root
getent group dialout > /dev/null && group=dialout
chgrp "$group" "$device"
chmod 600 "$device"

# A home of its own: the tests must not depend on root's.
mkdir "$work/home" && chown nobody "$work/home"
HOME=$work/home TMPDIR=$work/home TUVANTA_DENIED_DEVICE=$device TUVANTA_DENIED_GROUP=$group \
  "${as_nobody[@]}" "$program" --gtest_filter="$filter" --gtest_brief=1
