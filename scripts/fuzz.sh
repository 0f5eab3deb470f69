#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60]
# Fails when a target crashes, leaks or trips a sanitizer. The seed corpora in fuzz/corpus/ are
# read only; what the runs find is kept in build/fuzz/corpus/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
case $seconds in ''|*[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;; esac

for tool in clang++ cmake ninja; do
  command -v "$tool" >/dev/null || { echo "fuzz: $tool is missing (clang, libclang-rt-14-dev)" >&2; exit 1; }
done

CXX=clang++ cmake -S fuzz -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j "$(nproc)"

failed=0
for target in plan_reader order_marker reservation_marker bmp user_list; do
  work=build/fuzz/corpus/$target
  mkdir -p "$work" build/fuzz/artifacts
  echo "=== fuzz $target for ${seconds}s"
  if ! build/fuzz/${target}_fuzz -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix=build/fuzz/artifacts/${target}- -print_final_stats=1 "$work" "fuzz/corpus/$target" \
      >build/fuzz/$target.log 2>&1; then
    tail -n 40 build/fuzz/$target.log
    echo "=== fuzz $target: FAILED (input kept in build/fuzz/artifacts/)"
    failed=1
  else
    grep -E "^stat::number_of_executed_units|^Done" build/fuzz/$target.log || true
    echo "=== fuzz $target: ok"
  fi
done
exit $failed
