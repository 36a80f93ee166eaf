#!/usr/bin/env bash
# The project's two everyday commands:
#   ./run.sh demo   install what is missing, build, render the gallery into out/
#   ./run.sh test   install what is missing, build, run every test (plus the sanitizer
#                   build when CI is set)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake g++ make pkg-config libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core fonts-dejavu-extra
          libpng-dev libinih-dev libgtest-dev libbenchmark-dev)
JOBS=$(nproc 2>/dev/null || echo 2)

setup() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

build() {
  local preset=$1
  local extra=()
  [ -n "${CI:-}" ] && extra+=(-DKELEM_WERROR=ON)
  cmake --preset "$preset" "${extra[@]}" >/dev/null
  cmake --build --preset "$preset" -j "$JOBS"
}

run_tests() {
  local preset=$1
  echo "== tests ($preset)"
  ctest --preset "$preset" -j "$JOBS"
}

case "${1:-}" in
  demo)
    setup
    build default
    ./build/default/tools/kelem/kelem gallery --out out
    ;;
  test)
    setup
    build default
    run_tests default
    if [ -n "${CI:-}" ]; then
      export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
      export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
      build asan
      run_tests asan
    fi
    ;;
  *)
    echo "usage: $0 demo|test" >&2
    exit 2
    ;;
esac
