#!/usr/bin/env bash
# The README's sanitizer and fuzz builds configure as written: each of its
# "cmake -S . -B build-..." commands runs (environment prefix included) in
# a temporary folder, the rest of its line names the same folder, and the
# fuzz build offers a target for every fuzz/*.cpp. Building them is left
# to whoever needs them; a compiler that cannot do it fails here already.
#   configurations.sh SOURCE_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d /tmp/tuvanta-configurations.XXXXXX)
trap 'rm -rf "$work"' EXIT

mapfile -t lines < <(grep -E '^ {4}.*cmake -S \. -B build-[a-z]+ ' "$source_dir/README.md" | sed 's/^ *//')
[ "${#lines[@]}" -ge 3 ] || fail "expected the asan, tsan and fuzz commands in README.md, found ${#lines[@]}"
for line in "${lines[@]}"; do
  folder=$(sed -n 's/.*cmake -S \. -B \(build-[a-z]*\) .*/\1/p' <<< "$line")
  configure=${line%% && *}
  # The build and the tests go to the folder the configuration made.
  others=$(grep -o 'build-[a-z]*' <<< "${line#"$configure"}" | sort -u || true)
  [ -z "$others" ] || [ "$others" = "$folder" ] || fail "$folder: the rest of the line uses $others"
  start=$(date +%s)
  (cd "$source_dir" && bash -c "${configure/ -B $folder / -B $work/$folder }") > "$work/$folder.log" 2>&1 ||
    { cat "$work/$folder.log" >&2; fail "$configure"; }
  echo "$folder: configured in $(($(date +%s) - start)) s"
done

if [ -d "$work/build-fuzz" ]; then
  grep -q "cmake --build build-fuzz && build-fuzz/bin/fuzz_<name>" "$source_dir/README.md" || fail "the README's fuzz run line changed"
  ninja -C "$work/build-fuzz" -t targets all > "$work/fuzz-targets"
  for src in "$source_dir"/fuzz/*.cpp; do
    target=fuzz_$(basename "$src" .cpp)
    grep -q "^bin/$target:" "$work/fuzz-targets" || fail "the fuzz build has no bin/$target"
  done
fi
