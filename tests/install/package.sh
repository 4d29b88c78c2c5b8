#!/usr/bin/env bash
# Builds the Debian package into a temporary folder and checks its control
# data and contents.   package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" > /dev/null || { echo "skipped: $tool is missing (scripts/dev.sh deps installs it)"; exit 77; }
done
work=$(mktemp -d /tmp/tuvanta-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT

start=$(date +%s)
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; fail "cpack"; }
echo "cpack took $(($(date +%s) - start)) s"
deb=$(ls "$work"/*.deb)
[ "$(echo "$deb" | wc -l)" -eq 1 ] || fail "expected one package, got: $deb"

dpkg-deb -I "$deb" > "$work/info"
grep -q '^ Package: tuvanta$' "$work/info" || fail "package name"
depends=$(sed -n 's/^ Depends: //p' "$work/info")
for dep in libqt6widgets6 libqt6core6 libgsf-1 libfftw3 qt6-qpa-plugins; do
  [[ $depends == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
grep -q '^ Recommends: .*fonts-noto-cjk' "$work/info" || fail "Recommends lacks the fonts"

dpkg-deb -c "$deb" > "$work/contents"
for path in ./usr/lib/tuvanta/Tuvanta ./usr/lib/tuvanta/tuvanta-cli ./usr/lib/tuvanta/Respana ./usr/lib/tuvanta/ampsim \
  ./usr/lib/tuvanta/Sample.ad0 ./usr/lib/tuvanta/Sample.ad3 ./usr/lib/tuvanta/Tuvanta.ENU ./usr/lib/tuvanta/Tuvanta.ini \
  ./usr/share/applications/tuvanta.desktop ./usr/share/icons/hicolor/scalable/apps/tuvanta.svg \
  ./usr/share/man/man1/tuvanta-cli.1.gz; do
  grep -q " $path\$" "$work/contents" || fail "$path is not in the package"
done
grep -q ' ./usr/bin/tuvanta -> ../lib/tuvanta/Tuvanta$' "$work/contents" || fail "the tuvanta link"
grep -q ' ./usr/bin/tuvanta-cli -> ../lib/tuvanta/tuvanta-cli$' "$work/contents" || fail "the tuvanta-cli link"
# Stripped programs keep the package small.
dpkg-deb -x "$deb" "$work/x"
file "$work/x/usr/lib/tuvanta/Tuvanta" | grep -q 'stripped' || fail "Tuvanta is not stripped"
file "$work/x/usr/lib/tuvanta/Tuvanta" | grep -q 'not stripped' && fail "Tuvanta is not stripped"
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
