#!/usr/bin/env bash
# Runs the 32-bit benchmarks under 32-bit wine, on a private X server and a throw-away wine prefix
# with wine's own fonts, and prints their figures: the hall view painted with GDI beside a bare
# BitBlt of its area, and the host's method lookup as the product's compiler builds it. Not part of
# the tests: timings say nothing about right or wrong.
# Usage: bench/wine_bench.sh [BUILD_DIR] [benchmark options...]   (default build/win32; build it with
#        cmake --build --preset win32 --target hall_view_bench lookup_bench)
set -u -o pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
NAME=wine_bench
# shellcheck source=tests/wine/lib.sh
source "$HERE/../tests/wine/lib.sh"

BUILD=$(cd "${1:-$HERE/../build/win32}" 2>/dev/null && pwd) || {
    echo "$NAME: no build directory '${1:-build/win32}'" >&2
    exit 2
}
[[ $# -gt 0 ]] && shift
programs=("$BUILD/bench/hall_view_bench.exe" "$BUILD/bench/lookup_bench.exe")
for f in "${programs[@]}"; do
    [[ -f $f ]] || fail "missing $f"
done
for tool in wine wineboot wineserver Xvfb; do
    command -v "$tool" >/dev/null || fail "missing tool $tool"
done
[[ $failed -eq 0 ]] || finish

wine_start
for program in "${programs[@]}"; do
    echo "=== $(basename "$program")"
    if run_wine "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@" 2>&1 |
        tr -d '\r'; then
        pass "$(basename "$program")"
    else
        fail "$(basename "$program")"
    fi
done
finish
