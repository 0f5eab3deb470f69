#!/usr/bin/env bash
# Every test: the native suites (plain and under AddressSanitizer/UndefinedBehaviorSanitizer), the
# main job, the fuzzers, and the product's 32-bit Windows build with its tests under 32-bit wine.
# Each step prints its time.
set -uo pipefail
cd "$(dirname "$0")/.."
echo "=== deps"
scripts/deps.sh all || { echo "=== deps: FAILED"; exit 1; }
echo "=== deps: ok ($SECONDS s)"

jobs=$(nproc)
failed=0
passed=0
step() {
  local name=$1; shift
  echo "=== $name"
  local t0=$SECONDS
  if "$@"; then passed=$((passed + 1)); echo "=== $name: ok ($((SECONDS - t0)) s)"
  else failed=$((failed + 1)); echo "=== $name: FAILED ($((SECONDS - t0)) s)"; fi
}
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"; }

step "native build" build native
step "native tests" ctest --preset native -j "$jobs" --timeout 120
step "sanitizer build" build asan
step "sanitizer tests" env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset asan -j "$jobs" --timeout 300
step "main job" scripts/main.sh
# Five fuzzers at 18 s each keep the step near the minute and a half it has always taken.
step "fuzzers" bash scripts/fuzz.sh 18
step "win32 build" build win32
step "wine tests" bash tests/wine/run.sh build/win32
step "wine windows" bash tests/wine/ui_windows.sh build/win32
step "wine stand-in host" bash tests/wine/standin.sh build/win32

echo "test.sh: took $SECONDS s"
echo "steps: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
