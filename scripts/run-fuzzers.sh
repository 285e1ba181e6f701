#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds,
# starting from its seed corpus in fuzz/corpus/<target>/ (left unchanged: new inputs go to a
# scratch folder). Exits 1 when any target finds a crash, a broken property, a leak, a time-out
# or an out-of-memory input; the input is kept as <work>/<target>/crash-* (or leak-, timeout-,
# oom-) and replays with `<build>/fuzz/<target> <file>`.
#   scripts/run-fuzzers.sh SECONDS [TARGET...]
# Environment: ORDALVEX_FUZZ_BUILD_DIR (default build-fuzz), ORDALVEX_FUZZ_WORK_DIR (default a
# new temporary folder), ORDALVEX_FUZZ_JOBS (parallel build jobs, default nproc).
set -euo pipefail
if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: $0 SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ORDALVEX_FUZZ_BUILD_DIR:-$top/build-fuzz}
work=${ORDALVEX_FUZZ_WORK_DIR:-$(mktemp -d -t ordalvex-fuzz.XXXXXX)}

command -v clang++ >/dev/null || { echo "clang++ is missing: run scripts/setup.sh first" >&2; exit 1; }
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DORDALVEX_FUZZ=ON -DORDALVEX_BUILD_TESTS=OFF -DORDALVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzzers -j"${ORDALVEX_FUZZ_JOBS:-$(nproc)}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for seeds in "$top"/fuzz/corpus/*/; do
    targets+=("$(basename "$seeds")")
  done
fi

failed=0
for target in "${targets[@]}"; do
  binary=$build/fuzz/$target
  [ -x "$binary" ] || { echo "$target: no such fuzz target" >&2; failed=1; continue; }
  mkdir -p "$work/$target/corpus"
  log=$work/$target/log
  set +e
  (cd "$work/$target" && "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 corpus "$top/fuzz/corpus/$target" >"$log" 2>&1)
  status=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $status -eq 0 ]; then
    echo "$target: ${runs:-?} runs in ${seconds} s, no finding"
  else
    failed=1
    echo "$target: FINDING after ${runs:-?} runs (exit $status); log $log"
    grep -E '^property violated|^==[0-9]+==ERROR|^SUMMARY' "$log" | head -3 | sed 's/^/  /'
    ls "$work/$target" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' | sed "s|^|  $work/$target/|" || true
  fi
done
echo "fuzz work folder: $work"
exit $failed
