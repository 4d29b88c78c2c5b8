#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine (as root):
#   scripts/dev.sh run    install what is missing, build, start the simulator and Tuvanta
#   scripts/dev.sh test   install what is missing, build, run the whole test suite
#   scripts/dev.sh deps   only install what is missing
#   scripts/dev.sh build  install and build
# BUILD_DIR (default: build) names the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-translations-l10n libgl-dev
  libgsf-1-dev libfftw3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-noto-cjk fonts-ipafont-gothic fonts-ipafont-mincho x11-utils imagemagick poppler-utils
  help2man dpkg-dev file desktop-file-utils lintian appstream man-db
)

deps() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build() {
  deps
  [ -f "$BUILD_DIR/build.ninja" ] || cmake -S . -B "$BUILD_DIR" -G Ninja
  # Qt's moc step keeps its own record of scanned headers and misses a
  # Q_OBJECT header that appeared since the last build; make it rescan.
  find "$BUILD_DIR" -path '*_autogen/timestamp' -delete 2>/dev/null || true
  cmake --build "$BUILD_DIR"
}

case "${1:-}" in
  deps) deps ;;
  build) build ;;
  test)
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)"
    ;;
  run)
    build
    exec scripts/run-demo.sh "$BUILD_DIR/bin"
    ;;
  *)
    sed -n '2,8p' "$0"
    exit 64
    ;;
esac
