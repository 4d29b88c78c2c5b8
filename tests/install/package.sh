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
for dep in libqt6widgets6 libqt6core6 libgsf-1 libfftw3 qt6-qpa-plugins fonts-ipafont-gothic fonts-ipafont-mincho; do
  [[ $depends == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
grep -q '^ Recommends: .*fonts-noto-cjk' "$work/info" || fail "Recommends lacks the fonts"

dpkg-deb -c "$deb" > "$work/contents"
for path in ./usr/lib/tuvanta/Tuvanta ./usr/lib/tuvanta/tuvanta-cli ./usr/lib/tuvanta/Respana ./usr/lib/tuvanta/ampsim \
  ./usr/lib/tuvanta/Sample.ad0 ./usr/lib/tuvanta/Sample.ad3 ./usr/lib/tuvanta/Tuvanta.ENU ./usr/lib/tuvanta/Tuvanta.ini \
  ./usr/share/applications/tuvanta.desktop ./usr/share/icons/hicolor/scalable/apps/tuvanta.svg \
  ./usr/share/man/man1/tuvanta-cli.1.gz ./usr/share/man/man1/tuvanta.1.gz ./usr/share/man/man1/ampsim.1.gz \
  ./usr/share/doc/tuvanta/copyright ./usr/share/doc/tuvanta/changelog.gz \
  ./usr/share/metainfo/example.halvex.tuvanta.metainfo.xml ./usr/share/bash-completion/completions/tuvanta-cli; do
  grep -q " $path\$" "$work/contents" || fail "$path is not in the package"
done
grep -q ' ./usr/bin/tuvanta -> ../lib/tuvanta/Tuvanta$' "$work/contents" || fail "the tuvanta link"
grep -q ' ./usr/bin/tuvanta-cli -> ../lib/tuvanta/tuvanta-cli$' "$work/contents" || fail "the tuvanta-cli link"
# Stripped programs keep the package small.
dpkg-deb -x "$deb" "$work/x"
file "$work/x/usr/lib/tuvanta/Tuvanta" | grep -q 'stripped' || fail "Tuvanta is not stripped"
file "$work/x/usr/lib/tuvanta/Tuvanta" | grep -q 'not stripped' && fail "Tuvanta is not stripped"
# The synopsis stands once, the long description below it.
description=$(sed -n '/^ Description: /,/^ [A-Z][a-z-]*: /p' "$work/info")
[ "$(grep -c 'set-up tool for Halvex servo amplifiers' <<< "$description")" -eq 1 ] || fail "the synopsis is repeated: $description"

# The distribution's own check: no error, no warning.
if command -v lintian > /dev/null; then
  lintian --fail-on error,warning --no-tag-display-limit "$deb" > "$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian"; }
  grep -E '^[EW]: ' "$work/lintian.log" && fail "lintian reports errors or warnings"
  echo "lintian: $(grep -c '^[IP]: ' "$work/lintian.log" || true) notes, no errors or warnings"
else
  echo "lintian is missing: the package is not checked against the distribution's rules (scripts/dev.sh deps installs it)"
fi
echo "package: $(basename "$deb"), $(du -k "$deb" | cut -f1) KiB"
