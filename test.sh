#!/usr/bin/env bash
# Builds everything and runs every test: unit tests (also under ASan + UBSan), render and
# end-to-end tests under a private Xvfb, and the fuzz targets when clang is there.
# The last line is the summary "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")"
root=$(pwd)
jobs=$(nproc)
passed=0
failed=0

scripts/setup.sh || { echo "setup failed"; echo "0 passed, 1 failed"; exit 1; }

# Each section's heading; the one before it says how long it took, and the summary the whole.
section_start=$SECONDS
log() {
  [ "${section:-}" ] && printf '(%s: %d s)\n' "$section" $((SECONDS - section_start))
  section=$*
  section_start=$SECONDS
  printf '\n== %s\n' "$*"
}

# Compiles go through ccache: the end-to-end test of the README builds the game again in a fresh
# copy of the tree, and finds there every object this build made (paths below the tree are hashed
# relative to the compiler's folder, alike in both).
export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}

# ctest_count DIR ARGS...: runs ctest and adds its counts to the totals.
ctest_count() {
  local dir=$1; shift
  local out
  out=$(cd "$dir" && ctest --output-on-failure --timeout 300 "$@" 2>&1)
  echo "$out" | grep -v -E '^\s+(Start|[0-9]+/[0-9]+ Test)' | tail -n 60
  local line total fail
  line=$(echo "$out" | grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' | tail -n 1)
  if [ -z "$line" ]; then
    if echo "$out" | grep -q 'No tests were found'; then return 0; fi
    failed=$((failed + 1)); return 0
  fi
  fail=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  total=$(echo "$line" | sed -E 's/.* failed out of ([0-9]+).*/\1/')
  passed=$((passed + total - fail))
  failed=$((failed + fail))
}

build() {  # build DIR CMAKE-ARGS...   (TARGET=name builds one target only)
  local dir=$1; shift
  cmake -S . -B "$dir" "$@" >/dev/null || return 1
  cmake --build "$dir" -j"$jobs" ${TARGET:+--target "$TARGET"} > "$dir/build.log" 2>&1
  local rc=$?
  grep -E 'warning|error' "$dir/build.log" | head -n 40
  return $rc
}

log "Layers (no source file includes a layer above its own)"
if python3 scripts/check-layers.py; then passed=$((passed + 1)); else failed=$((failed + 1)); fi

log "Release build"
if ! build build -DCMAKE_BUILD_TYPE=Release; then
  echo "release build failed"; echo "$passed passed, $((failed + 1)) failed"; exit 1
fi

log "Sanitizer build (ASan + UBSan)"
if ! TARGET=unit_tests build build-asan -DCMAKE_BUILD_TYPE=Debug -DKORVELIN_SANITIZE=ON -DKORVELIN_BENCH=OFF; then
  echo "sanitizer build failed"; echo "$passed passed, $((failed + 1)) failed"; exit 1
fi

# A private virtual display for the render and end-to-end tests. -noreset: by default an X server
# resets when its last client leaves, and a game started during the reset cannot connect.
display=""
for n in $(seq 90 140); do
  if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then display=":$n"; break; fi
done
Xvfb "$display" -screen 0 1280x720x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null' EXIT
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
# Sound goes nowhere in tests unless a test asks otherwise.
export ALSOFT_DRIVERS=${ALSOFT_DRIVERS:-null}

log "Unit tests"
ctest_count build -L unit -j"$jobs"
log "Unit tests under ASan + UBSan"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0 \
  ctest_count build-asan -L unit -j"$jobs"
log "Render tests (Xvfb, llvmpipe)"
ctest_count build -L render
log "End-to-end tests (the real program under Xvfb)"
ctest_count build -L e2e
log "Damaged input (courses, scripts and traces, generated and seeded)"
ctest_count build -L damage

if command -v clang++ >/dev/null 2>&1 && [ -f tests/fuzz/CMakeLists.txt ]; then
  log "Fuzzing (libFuzzer)"
  if CC=clang CXX=clang++ TARGET=fuzz_targets build build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELIN_FUZZ=ON \
       -DKORVELIN_BENCH=OFF; then
    ctest_count build-fuzz -L fuzz -j"$jobs"
  else
    echo "fuzz build failed"; failed=$((failed + 1))
  fi
fi

log "Summary ($SECONDS s in all)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
