#!/usr/bin/env bash
# The project's two everyday commands:
#   ./run.sh demo   install what is missing, build, render the gallery into out/
#   ./run.sh test   install what is missing, build, run every test (plus the sanitizer
#                   build when CI is set)
#   ./run.sh valgrind  build, run the library's unit tests under valgrind (leak proof)
#   ./run.sh windows  build for Windows (MinGW-w64), run the runtime's tests and render the
#                   gallery under Wine into out-windows/, compare it with the Linux one
#                   (docs/windows.md)
#   ./run.sh mutate [--seed N] [--sample N] [--full] ...  mutation score of the test suite
#                   (tools/mutate/mutate.py --help; docs/testing.md)
set -euo pipefail
cd "$(dirname "$0")"

# zlib1g-dev: the runtime's PNG writer; libpng-dev: the tests' independent PNG reader.
PACKAGES=(cmake g++ make pkg-config libfreetype-dev libfontconfig-dev fontconfig fonts-dejavu-core fonts-dejavu-extra
          zlib1g-dev libpng-dev libgtest-dev libbenchmark-dev libsdl2-dev xvfb xdotool)
JOBS=$(nproc 2>/dev/null || echo 2)

# Installs those of the Debian packages named that are not installed yet.
install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
}

setup() {
  install_missing "${PACKAGES[@]}"
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

# The runtime's Windows-API tests (tests/CMakeLists.txt: the areas built for Windows) under
# Wine, in the prefix the windows command made. Counts tests, not programs: Q is every test
# the programs list, P those that passed, S those skipped for Wine (SKIP_UNDER_WINE, each
# listed in docs/windows.md); a test of a program that crashed or ran out of time counts as
# failed. Prints "runtime tests P/Q pass under Wine (S skipped for Wine)"; the logs are
# build/windows/tests/wine-*.log. Returns non-zero when a test failed.
windows_runtime_tests() {
  local wine=$1
  cmake --build build/windows -j "$JOBS" --target test_gdi test_text test_afx test_user test_menu_runtime >/dev/null
  local passed=0 total=0 skipped=0 exe name log n
  for exe in build/windows/tests/test_*.exe; do
    name=$(basename "$exe" .exe)
    log="build/windows/tests/wine-$name.log"
    n=$(timeout 60 "$wine" "$exe" --gtest_list_tests 2>/dev/null | grep -c '^  ' || true)
    total=$((total + n))
    timeout 120 "$wine" "$exe" --gtest_color=no 2>&1 | tr -d '\r' >"$log" || true
    passed=$((passed + $(grep -c '^\[       OK \] ' "$log" || true)))
    skipped=$((skipped + $(grep -c '^\[  SKIPPED \] .*([0-9]* ms)$' "$log" || true)))
    if ! grep -q '^\[==========\] .* ran\.' "$log"; then
      echo "windows: $name did not finish under Wine: $(grep -m1 '^crash: ' "$log" || echo "no end within 120 s, last: $(grep '^\[ RUN' "$log" | tail -n 1)")" >&2
    fi
    grep '^\[  FAILED  \] .*([0-9]* ms)$' "$log" | sed "s|^|$name: |" >&2 || true
  done
  wineserver -w
  echo "runtime tests $passed/$total pass under Wine ($skipped skipped for Wine)"
  [ "$total" -gt 0 ] && [ $((passed + skipped)) -eq "$total" ]
}

# Every checked-in scenario (tests/scenarios/*.kel) run by the Windows kelem under Wine into
# out-windows/scenarios/, its transcript composed as the Linux test composes it (standard
# output, then "exit N: " and the error output when N is not 0; Windows' CRLF line ends read
# as LF) and compared with the checked-in one, leaving out on both sides the lines that
# docs/windows.md lists for it ("Scenarios under Wine"). Prints "scenarios X/Y identical"
# and the differences; returns non-zero when a scenario differs.
windows_scenarios() {
  local wine=$1 dir=out-windows/scenarios same=0 total=0 kel name code skip
  rm -rf "$dir" && mkdir -p "$dir"
  for kel in tests/scenarios/*.kel; do
    name=$(basename "$kel" .kel)
    code=0
    timeout 120 "$wine" build/windows/tools/kelem/kelem.exe run "$kel" --skin skins/default --out "$dir" \
      >"$dir/$name.stdout" 2>"$dir/$name.stderr" || code=$?
    { tr -d '\r' <"$dir/$name.stdout"
      if [ "$code" -ne 0 ]; then printf 'exit %s: ' "$code"; tr -d '\r' <"$dir/$name.stderr"; fi
    } >"$dir/$name.out"
    # The listed lines: rows "| `NAME` | LINE | why |" of the section, as sed's "LINEd;".
    skip=$(sed -n '/^## Scenarios under Wine/,/^## /p' docs/windows.md |
           sed -n "s/^| \`$name\` | \([0-9][0-9]*\) |.*/\1d;/p" | tr -d '\n')
    total=$((total + 1))
    if diff -u --label "${kel%.kel}.out (Linux)" --label "$dir/$name.out (Wine)" <(sed "${skip}" "${kel%.kel}.out") \
         <(sed "${skip}" "$dir/$name.out") >"$dir/$name.diff"; then
      same=$((same + 1))
      rm -f "$dir/$name.diff"
    else
      echo "windows: scenario $name differs under Wine:" >&2
      cat "$dir/$name.diff" >&2
    fi
  done
  wineserver -w
  echo "scenarios $same/$total identical"
  [ "$same" -eq "$total" ]
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
    # ---- reliability, CI only (see docs/reliability.md) -----------------------------------
    # A short soak (20,000 events per element kind, release build) and a short fuzz pass of
    # every libFuzzer target (15 s each, 8 targets): about 2.5 minutes, plus building the
    # `fuzz` preset with clang.
    if [ -n "${CI:-}" ]; then
      echo "== soak (20,000 events per kind)"
      ./build/default/tests/kelem_soak --events 20000
      install_missing clang libclang-rt-14-dev
      cmake --preset fuzz >/dev/null
      cmake --build --preset fuzz -j "$JOBS"
      for target in bmp palette rc script button vscroll hscroll tabs; do
        work=$(mktemp -d)
        log="$work/fuzz.log"
        # A fixed seed: the CI pass replays one exploration from the seeds and fails on a
        # change, not on the luck of the draw. Open-ended fuzzing: docs/reliability.md.
        if ! ./build/fuzz/fuzz/fuzz_$target "$work" "fuzz/corpus/$target" -max_total_time=15 -seed=1 \
            -print_final_stats=1 >"$log" 2>&1; then
          tail -n 60 "$log"
          echo "== fuzz_$target FAILED" >&2
          exit 1
        fi
        echo "== fuzz_$target: $(grep -m1 '^Done' "$log")"
        rm -rf "$work"
      done
    fi
    ;;
  valgrind)
    # Leak proof: the library's unit tests under valgrind. Suppressed: one-time and
    # still-reachable allocations of fontconfig/FreeType/libpng only (the file says which).
    setup
    install_missing valgrind
    build default
    for t in frame button scrollbar tabcontrol host reliability; do
      [ -x "./build/default/tests/test_$t" ] || continue
      echo "== valgrind test_$t"
      # glibc's AVX2 wmemcmp reads whole vectors past a string's end, which valgrind
      # reports as invalid reads; the tunable selects the plain version instead.
      GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX2 valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect,possible \
        --suppressions=tests/unit/reliability/valgrind.supp -q "./build/default/tests/test_$t" --gtest_brief=1
    done
    ;;
  mutate)
    # One small fault at a time in a copy of the tree under build/mutate: rebuild, run the
    # suite to its first failure. About a minute a mutant on 2 cores.
    setup
    shift
    exec python3 tools/mutate/mutate.py "$@"
    ;;
  bench)
    # Performance suite (docs/performance.md): element paints and GDI primitives against
    # cairo and pixman, the memory floor, scaling runs. Rewrites the results section of
    # docs/performance.md and the plots in docs/performance/. About 2 minutes on 2 cores.
    setup
    install_missing libcairo2-dev libpixman-1-dev libbenchmark-dev
    cmake --preset bench >/dev/null
    cmake --build --preset bench -j "$JOBS"
    mkdir -p docs/performance build/bench/pictures
    # Repetitions in random interleaved order: a pair's two sides meet the machine in the
    # same states, so that a neighbour's load shifts both rather than the ratio.
    ./build/bench/bench/kelem_bench --benchmark_repetitions=7 --benchmark_min_time=0.05 \
      --benchmark_enable_random_interleaving=true \
      --benchmark_report_aggregates_only=true --kelem_command="./run.sh bench" \
      --kelem_report=docs/performance.md --kelem_plots=docs/performance --kelem_plot_link=performance \
      --kelem_out=build/bench/pictures
    ;;
  windows)
    # The same sources against the real Windows headers, the gallery under Wine without a
    # display, compared picture by picture with the Linux build's (docs/windows.md).
    setup
    windows_packages=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64 python3)
    if ! install_missing "${windows_packages[@]}"; then
      for p in "${windows_packages[@]}"; do
        install_missing "$p" || true  # one at a time: a package the release lacks does not stop the rest
      done
    fi
    wine=$(command -v wine || true)
    [ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
    if [ -z "$wine" ]; then
      echo "windows: Wine is not installed (packages wine, wine64); no comparison made" >&2
      exit 1
    fi
    build default
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j "$JOBS"
    # A private prefix: no display (the null driver), the classic system colours.
    export WINEPREFIX="$PWD/build/windows/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset DISPLAY WAYLAND_DISPLAY
    # Made again when tools/windows/prefix.reg changes (the marker holds its checksum).
    reg_sum=$(sha256sum < tools/windows/prefix.reg)
    if [ "$(cat "$WINEPREFIX/.kelem-ready" 2>/dev/null)" != "$reg_sum" ]; then
      rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
      if ! timeout 300 "$wine" wineboot -i >"$WINEPREFIX.log" 2>&1 || ! wineserver -w ||
         ! timeout 120 "$wine" regedit /S tools/windows/prefix.reg >>"$WINEPREFIX.log" 2>&1 || ! wineserver -w ||
         ! grep -q '"Graphics"="null"' "$WINEPREFIX/user.reg" 2>/dev/null; then
        tail -n 20 "$WINEPREFIX.log" >&2
        echo "windows: cannot create the Wine prefix $WINEPREFIX; no comparison made" >&2
        exit 1
      fi
      echo "$reg_sum" > "$WINEPREFIX/.kelem-ready"
    fi
    rm -rf out out-windows
    ./build/default/tools/kelem/kelem gallery --out out >/dev/null
    # A gallery that reports problems (printed) fails the command, after the comparison.
    gallery_ok=0
    timeout 600 "$wine" build/windows/tools/kelem/kelem.exe gallery --skin skins/default --out out-windows || gallery_ok=$?
    if [ ! -f out-windows/index.html ]; then
      echo "windows: the gallery did not run under Wine; no comparison made" >&2
      exit 1
    fi
    wineserver -w
    tests_ok=0 scenarios_ok=0 compare_ok=0
    tests_line=$(windows_runtime_tests "$wine") || tests_ok=$?
    scenarios_line=$(windows_scenarios "$wine") || scenarios_ok=$?
    gallery=$(python3 tools/windows/compare.py out out-windows) || compare_ok=$?
    # One summary line: the gallery's last line, then the tests and the scenarios.
    printf '%s\n' "$gallery" | sed '$d'
    echo "$(printf '%s\n' "$gallery" | tail -n 1), $tests_line, $scenarios_line"
    [ "$gallery_ok" -eq 0 ] && [ "$compare_ok" -eq 0 ] && [ "$tests_ok" -eq 0 ] && [ "$scenarios_ok" -eq 0 ]
    ;;
  *)
    echo "usage: $0 demo|test|valgrind|mutate|bench|windows" >&2
    exit 2
    ;;
esac
